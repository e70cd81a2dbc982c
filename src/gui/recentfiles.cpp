#include "recentfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace aurelant {

RecentFiles::RecentFiles(const QStringList& remembered) {
    for (const QString& path : remembered) {
        if (QDir::isAbsolutePath(path) && !paths_.contains(path) && paths_.size() < kKept) {
            paths_ << path;
        }
    }
}

void RecentFiles::add(const QString& path) {
    paths_.removeAll(path);
    paths_.prepend(path);
    paths_ = paths_.mid(0, kKept);
}

void RecentFiles::fillMenu(QMenu& menu, const std::function<void(const QString&)>& open) const {
    menu.clear();
    for (qsizetype i = 0; i < paths_.size(); ++i) {
        const QString path = paths_[i];
        // "&1 /path": the number chooses the file from the keyboard; a "&" of the path stays.
        QAction* action =
            menu.addAction(QString("&%1 %2").arg(i + 1).arg(QString(path).replace('&', "&&")));
        action->setEnabled(QFileInfo::exists(path));
        QObject::connect(action, &QAction::triggered, &menu, [open, path] { open(path); });
    }
}

}  // namespace aurelant
