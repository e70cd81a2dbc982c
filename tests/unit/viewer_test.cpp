// The viewer's rules, with a page display that loads when told: the address list keeps each
// address once, the most recent first; Enter in the address box and the toolbar navigate. (The
// caption while a page loads and after is checked on the real window.)
#include <gtest/gtest.h>

#include "viewer/browserengine.h"
#include "viewer/frmbrowser.h"
#include "viewer/pagesource.h"

namespace aurelant {
namespace {

class ScriptedEngine : public BrowserEngine {
  public:
    void navigate(const std::string& address) override {
        calls += "navigate " + address + ";";
        loading = address;
        isBusy = true;
    }
    void goBack() override { calls += "back;"; }
    void goForward() override { calls += "forward;"; }
    void goHome() override { calls += "home;"; }
    void goSearch() override { calls += "search;"; }
    void refresh() override { calls += "refresh;"; }
    void stop() override {
        calls += "stop;";
        isBusy = false;
    }
    bool busy() const override { return isBusy; }
    std::string title() const override { return pageTitle; }
    std::string address() const override { return current; }

    // The page being loaded arrives with its title.
    void arrive(FrmBrowser& viewer, const std::string& title) {
        current = loading;
        pageTitle = title;
        isBusy = false;
        viewer.brwWebBrowser_NavigateComplete(current);
        viewer.brwWebBrowser_DownloadComplete();
    }

    std::string calls;
    std::string loading;
    std::string current;
    std::string pageTitle;
    bool isBusy = false;
};

TEST(Viewer, OpensOnTheRequestedAddressOrTheHomePage) {
    for (const std::string requested : {"", "/data/saved.htm"}) {
        ScriptedEngine engine;
        FrmBrowser viewer(engine);
        std::string vieweraddress = requested;
        viewer.load(vieweraddress);
        const std::string expected = requested.empty() ? kHomePageAddress : requested;
        EXPECT_EQ(vieweraddress, expected);
        EXPECT_EQ(viewer.StartingAddress, expected);
        EXPECT_EQ(viewer.addressText, expected);
        EXPECT_EQ(viewer.addressList, std::vector<std::string>{expected});
        EXPECT_TRUE(viewer.timerEnabled);
        EXPECT_EQ(engine.calls, "navigate " + expected + ";");
    }
}

TEST(Viewer, TheListKeepsEachAddressOnceTheMostRecentFirst) {
    ScriptedEngine engine;
    FrmBrowser viewer(engine);
    std::string vieweraddress = "a.htm";
    viewer.load(vieweraddress);
    engine.arrive(viewer, "A");
    viewer.timTimer_Timer();  // the page is done: the timer stops
    EXPECT_FALSE(viewer.timerEnabled);
    viewer.addressText = "b.htm";
    viewer.cboAddress_KeyPress('x');
    EXPECT_EQ(engine.calls, "navigate a.htm;");
    viewer.cboAddress_KeyPress(FrmBrowser::kEnterKey);
    engine.arrive(viewer, "B");
    viewer.showAddress("a.htm");
    engine.arrive(viewer, "A");
    EXPECT_EQ(viewer.addressList, (std::vector<std::string>{"a.htm", "b.htm"}));
    EXPECT_EQ(viewer.addressText, "a.htm");
    EXPECT_EQ(viewer.caption, "A");

    viewer.suppressnavigation = true;  // the viewer itself rearranging the list
    viewer.addressText = "b.htm";
    viewer.cboAddress_Click();
    viewer.suppressnavigation = false;
    viewer.cboAddress_Click();
    EXPECT_EQ(engine.calls, "navigate a.htm;navigate b.htm;navigate a.htm;navigate b.htm;");
}

TEST(Viewer, ToolbarKeysReachTheDisplay) {
    ScriptedEngine engine;
    FrmBrowser viewer(engine);
    for (const char* key : FrmBrowser::kToolbarKeys) {
        viewer.timerEnabled = false;
        viewer.tbToolBar_ButtonClick(key);
        EXPECT_EQ(viewer.timerEnabled, std::string(key) != "Stop") << key;
    }
    EXPECT_EQ(engine.calls, "back;forward;stop;refresh;home;search;");
}

TEST(ViewerPages, AddressKindsAndTheMessagePageEscapesItsText) {
    EXPECT_EQ(addressKind("HTTPS://example.invalid"), AddressKind::Web);
    EXPECT_EQ(addressKind("http://example.invalid"), AddressKind::Web);
    EXPECT_EQ(addressKind(kHomePageAddress), AddressKind::Resource);
    EXPECT_EQ(addressKind("/tmp/a<b>.htm"), AddressKind::LocalFile);
    EXPECT_EQ(localPath("file:///tmp/x.htm"), "/tmp/x.htm");
    EXPECT_EQ(messagePage("T&", "/tmp/<b>.htm"),
              "<html><head><title>T&amp;</title></head><body><h3>T&amp;</h3><p>/tmp/&lt;b&gt;.htm"
              "</p></body></html>");
}

}  // namespace
}  // namespace aurelant
