#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace aurelant {

// The one QApplication that the offscreen widget tests share. It is never destroyed: after an
// event loop has run, Qt's own statics may be gone before it when the process exits. The tests'
// settings live in a temporary folder, never in the user's.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "smoke";
    static char* argv[] = {name, nullptr};
    [[maybe_unused]] static auto* application = new QApplication(argc, argv);
    static QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
}

}  // namespace aurelant
