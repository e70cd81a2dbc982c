// The window's text styles, which scenario transcripts do not show, the answer to a control
// name the window does not have, and a command that runs out of memory.
#include <gtest/gtest.h>

#include "app/aurelant.h"
#include "scenario/scripted_platform.h"

namespace aurelant {
namespace {

TEST(MainWindowModel, StylesOfStartupAndOfAResetWindow) {
    Globals globals;
    ScriptedPlatform platform;
    Aurelant window(globals, platform);
    window.load();
    EXPECT_EQ(window.infolabel.style, (TextStyle{24, false, true, {0, 0, 139}}));
    EXPECT_EQ(window.maintext.style.colour, (Rgb{128, 64, 64}));
    EXPECT_TRUE(window.click("closeimage"));
    EXPECT_EQ(window.maintext.style, (TextStyle{8, false, false, {128, 0, 128}}));
    EXPECT_FALSE(window.click("nosuchthing"));
}

TEST(MainWindowModel, RunningOutOfMemoryIsAnErrorNotACrash) {
    class StarvedPlatform : public ScriptedPlatform {
        std::optional<std::string> askFile(const FileRequest& /*request*/) override {
            throw std::bad_alloc();
        }
    };
    Globals globals;
    StarvedPlatform platform;
    Aurelant window(globals, platform);
    EXPECT_TRUE(window.click("reverse"));
    EXPECT_EQ(platform.transcript.back(),
              "message caption=\"Aurelant\" buttons=ok icon=none default=1 text=\"Error Number: 7  "
              "Error is: Out of memory\" -> ok");
}

}  // namespace
}  // namespace aurelant
