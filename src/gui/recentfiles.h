#pragma once

#include <QStringList>
#include <functional>

class QMenu;

namespace aurelant {

// The history files opened last, newest first, as the settings keep them.
class RecentFiles {
  public:
    static constexpr qsizetype kKept = 8;

    // Takes a list read from the settings; entries that are not absolute paths are dropped.
    explicit RecentFiles(const QStringList& remembered);

    // Puts the path at the top, once only.
    void add(const QString& path);
    const QStringList& paths() const { return paths_; }

    // One menu item a file, greyed out while the file is missing; choosing one calls `open`.
    // Called just before the menu shows, never from one of its own items.
    void fillMenu(QMenu& menu, const std::function<void(const QString&)>& open) const;

  private:
    QStringList paths_;
};

}  // namespace aurelant
