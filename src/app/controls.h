#pragma once

#include <string>
#include <vector>

// The main window's menu tree and toolbar pictures, as data that the window draws.
namespace aurelant {

struct MenuEntry {
    std::string name;     // the control's name, also the command it clicks
    std::string caption;  // "&" marks the access key
    std::vector<MenuEntry> items;
};

struct PictureEntry {
    std::string name;
    int left = 0;  // twips, relative to the toolbar strip
    int width = 0;
    int height = 0;
    std::string tooltip;
    std::string icon;  // file name of the project's own artwork
    bool stretched = true;
};

const std::vector<MenuEntry>& mainMenus();
const std::vector<PictureEntry>& toolbarPictures();

}  // namespace aurelant
