#pragma once

#include <QApplication>

namespace aurelant {

// The one QApplication that the offscreen widget tests share. It is never destroyed: after an
// event loop has run, Qt's own statics may be gone before it when the process exits.
inline void ensureQtApplication() {
    static int argc = 1;
    static char name[] = "smoke";
    static char* argv[] = {name, nullptr};
    [[maybe_unused]] static auto* application = new QApplication(argc, argv);
}

}  // namespace aurelant
