// The save-as dialog in the mode that the re-prediction opens it in, which no menu command of
// the main window reaches.
#include <gtest/gtest.h>

#include "app/globals.h"
#include "output/saveasform.h"

namespace aurelant {
namespace {

TEST(SaveAsForm, RepredictionModeOffersOnlyHtmlAndTheDocument) {
    Globals globals;
    globals.savechoice = "repredict";
    SaveAsForm form(globals);
    form.load();
    EXPECT_EQ(globals.savechoice, "");
    std::string enabled;
    for (const ControlState& control : form.controls()) {
        enabled += control.enabled ? "1" : "0";
    }
    EXPECT_EQ(enabled, "0101101");  // text html csv proceed cancel screen doc
    form.choose("textoption");
    form.press("proceedcommand");
    EXPECT_EQ(globals.savechoice, "");
    form.show();
    form.choose("docoption");
    form.press("proceedcommand");
    EXPECT_EQ(globals.savechoice, "doc");
    EXPECT_FALSE(form.visible());
}

}  // namespace
}  // namespace aurelant
