#pragma once

#include <string>

#include "app/startup.h"
#include "state/appstate.h"

namespace aurelant {

// The model of the main window: the state of its controls (AppState) and the commands of its
// menus and toolbar pictures. The Qt window draws it and forwards its events here.
class Aurelant : public AppState {
  public:
    Aurelant(Globals& globals, Platform& platform);

    // Start-up: runs once, before the window is first shown.
    void load(Welcome welcome = Welcome::Show);

    // Clicks a menu item or toolbar picture by its name; false for an unknown name.
    bool click(const std::string& name);

    // Menu items.
    void new_click() { newFile(); }
    void open_click();
    void importfile_click();
    void updatefromweb_click();
    void screensave_click();
    void textsave_click();
    void htmlsave_click();
    void csvsave_click();
    void print_click();
    void close_click() { newFile(); }
    void Exit_click() { exitRequested = true; }
    void screencopy_click();
    void screencut_click();
    void screenpaste_click();
    void AddData_click();
    void addlatest_click();
    void cls_click() { cls(); }
    void predictchange_click() { PredictImage_click(); }
    void predictmove_click();
    void recalc_click();
    void chart_click() { platform.showChart(); }
    void reliable_click();
    void watchlist_click() { platform.showWatchlist(); }
    void web_click() { tphomeimage_click(); }
    void reverse_click();
    void fixup_click();
    void redisplay_click();
    void displayhtml_click();
    void strategy_click();
    void about_click() { HelpImage_click(); }

    // Toolbar pictures.
    void OpenImage_click() { open_click(); }
    void saveimage_click();
    void closeimage_click() { newFile(); }
    void EditingImage_click();
    void EditAddImage_click() { addlatest_click(); }
    void clsimage_click() { cls(); }
    void PredictImage_click();
    void predictpricesimage_click() { predictmove_click(); }
    void repredimage_click();
    void tphomeimage_click();
    void reverseimage_click() { reverse_click(); }
    void fiximage_click() { fixup_click(); }
    void viewhtmimg_click() { displayhtml_click(); }
    void strategyimage_click();
    void printimage_click() { print_click(); }
    void HelpImage_click();
};

}  // namespace aurelant
