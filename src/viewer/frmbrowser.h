#pragma once

#include <string>
#include <vector>

namespace aurelant {

class BrowserEngine;

// The HTML viewer: its caption, the address box with the list of recent addresses, the timer
// that watches a load, and the handlers of its toolbar, address box and page display. The Qt
// window draws it and forwards its events here.
class FrmBrowser {
  public:
    static constexpr int kEnterKey = 13;
    static constexpr const char* kWorking = "Working...";
    // The toolbar buttons' keys, which they also show, in their order.
    static constexpr const char* kToolbarKeys[] = {"Back",    "Forward", "Stop",
                                                   "Refresh", "Home",    "Search"};

    explicit FrmBrowser(BrowserEngine& engine);

    // Opens on `vieweraddress`, which becomes the home page's address when empty.
    void load(std::string& vieweraddress);
    // A further request while the viewer is open: it shows the new address.
    void showAddress(const std::string& address);

    void tbToolBar_ButtonClick(const std::string& key);
    void cboAddress_Click();
    void cboAddress_KeyPress(int keyAscii);
    void timTimer_Timer();
    void brwWebBrowser_NavigateComplete(const std::string& address);
    void brwWebBrowser_DownloadComplete();

    std::string caption;
    std::string StartingAddress;
    std::string addressText;               // the address box's text, as typed or chosen
    std::vector<std::string> addressList;  // each address once, the most recent first
    bool suppressnavigation = false;
    bool timerEnabled = false;

  private:
    void navigateToAddressText();

    BrowserEngine& engine_;
};

}  // namespace aurelant
