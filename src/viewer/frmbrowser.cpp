#include "viewer/frmbrowser.h"

#include <algorithm>

#include "viewer/browserengine.h"

namespace aurelant {

FrmBrowser::FrmBrowser(BrowserEngine& engine) : engine_(engine) {}

void FrmBrowser::load(std::string& vieweraddress) {
    if (vieweraddress.empty()) {
        vieweraddress = kHomePageAddress;
    }
    StartingAddress = vieweraddress;
    if (!StartingAddress.empty()) {
        addressText = StartingAddress;
        addressList.push_back(StartingAddress);
        timerEnabled = true;
        engine_.navigate(StartingAddress);
    }
}

void FrmBrowser::showAddress(const std::string& address) {
    addressText = address;
    navigateToAddressText();
}

void FrmBrowser::navigateToAddressText() {
    timerEnabled = true;
    engine_.navigate(addressText);
}

void FrmBrowser::tbToolBar_ButtonClick(const std::string& key) {
    timerEnabled = true;
    if (key == "Back") {
        engine_.goBack();
    } else if (key == "Forward") {
        engine_.goForward();
    } else if (key == "Refresh") {
        engine_.refresh();
    } else if (key == "Home") {
        engine_.goHome();
    } else if (key == "Search") {
        engine_.goSearch();
    } else if (key == "Stop") {
        timerEnabled = false;
        engine_.stop();
        caption = engine_.title();
    }
}

void FrmBrowser::cboAddress_Click() {
    if (!suppressnavigation) {
        navigateToAddressText();
    }
}

void FrmBrowser::cboAddress_KeyPress(int keyAscii) {
    if (keyAscii == kEnterKey) {
        cboAddress_Click();
    }
}

void FrmBrowser::timTimer_Timer() {
    if (engine_.busy()) {
        caption = kWorking;
        return;
    }
    timerEnabled = false;
    caption = engine_.title();
}

// The address reached moves to the top of the list, once.
void FrmBrowser::brwWebBrowser_NavigateComplete(const std::string& /*address*/) {
    caption = engine_.title();
    const std::string current = engine_.address();
    suppressnavigation = true;
    const auto found = std::find(addressList.begin(), addressList.end(), current);
    if (found != addressList.end()) {
        addressList.erase(found);
    }
    addressList.insert(addressList.begin(), current);
    addressText = addressList.front();
    suppressnavigation = false;
}

void FrmBrowser::brwWebBrowser_DownloadComplete() {
    caption = engine_.title();
}

}  // namespace aurelant
