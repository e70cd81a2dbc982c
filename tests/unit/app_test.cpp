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

// A pasted text of 10 MB, with NUL bytes, a stray byte and LF line ends, reaches the screen whole
// with CR LF line ends, in the paste's own style.
TEST(MainWindowModel, PasteKeepsEveryByteOfALargeTextInItsOwnStyle) {
    Globals globals;
    ScriptedPlatform platform;
    Aurelant window(globals, platform);
    window.load();
    using namespace std::string_literals;
    const std::string line = "01/02/03 12.5\0 \xff 13\n"s;
    std::string pasted;
    while (pasted.size() < 10 * 1024 * 1024) {
        pasted += line;
    }
    platform.clipboard = pasted;
    platform.answers = {Answer::No};
    window.click("screenpaste");
    EXPECT_EQ(window.maintext.style, (TextStyle{8, false, false, {128, 64, 64}}));
    EXPECT_EQ(window.maintext.text.size(), pasted.size() / line.size() * (line.size() + 1));
    EXPECT_EQ(window.maintext.text.substr(0, line.size() + 1), line.substr(0, 19) + "\r\n");
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
