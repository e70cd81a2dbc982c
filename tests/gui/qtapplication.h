#pragma once

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

namespace aurelant {

// The one QApplication that the offscreen widget tests share; their settings live in a
// temporary folder, never in the user's.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "smoke";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    static QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
}

}  // namespace aurelant
