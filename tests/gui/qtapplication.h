#pragma once

#include <QApplication>

namespace aurelant {

// The one QApplication that the offscreen widget tests share.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "smoke";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

}  // namespace aurelant
