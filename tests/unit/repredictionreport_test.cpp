// The files a saved re-prediction leaves, byte for byte: the working file, the document and the
// HTML page, whose text and file name are escaped.
#include "repredict/repredictionreport.h"

#include "app/aurelant.h"
#include "common/utf8.h"
#include "scenario/scripted_platform.h"
#include "tempfolder.h"

namespace aurelant {
namespace {

class RepredictionSave : public TempFolderTest {
  protected:
    RepredictionSave() {
        platform.folder = folder.string();
        globals.crlf = "\r\n";
        globals.currentfile = "/data/prices.csv";
    }

    // Answers No to printing and Yes to saving, and picks `option` in the save-as dialog.
    void save(const std::string& text, const std::string& option, const std::string& target) {
        platform.answers = {Answer::No, Answer::Yes};
        platform.formActions["saveasform"] = {{FormAction::Kind::Choose, option, ""},
                                              {FormAction::Kind::Press, "proceedcommand", ""}};
        platform.fileAnswers = {target};
        presentReprediction(window, text);
    }

    Globals globals;
    ScriptedPlatform platform;
    Aurelant window{globals, platform};
};

// A two-price text ends with an empty line.
TEST_F(RepredictionSave, WorkingFileDocumentAndPage) {
    const std::string text = "Up <1> & down\r\n\r\n";
    const std::string document = (folder / "r.doc").string();
    save(text, "docoption", document);
    EXPECT_EQ(read((folder / "repredict.tmp").string()), text + "\r\n");
    EXPECT_EQ(read(document), "RE-PREDICTION: /DATA/PRICES.CSV\r\n\r\nUp <1> & down\r\n\r\n\r\n");

    const std::string page = (folder / "a&b.htm").string();
    save(text, "htmloption", page);
    const std::string name = upperCase(folder.string()) + "/A&amp;B.HTM";
    EXPECT_EQ(
        read(page),
        "<!doctype html public '-//w3c//dtd html 3.2//en'>\r\n<html>\r\n<head>\r\n"
        "<title>Aurelant's Prices: Re-Prediction</title>\r\n</head>\r\n"
        "<body bgcolor='#ffffff' text='#000000'>\r\n"
        "<center><h2>Aurelant's Prices: Re-Prediction</h2><br>" +
            name +
            "</center><br>\r\n"
            "Up &lt;1&gt; &amp; down\r\n<br>\r\n\r\n<br>\r\n\r\n<br>\r\n</body>\r\n</html>\r\n");
    EXPECT_EQ(globals.lastfile, page);
    EXPECT_EQ(globals.savechoice, "");
}

}  // namespace
}  // namespace aurelant
