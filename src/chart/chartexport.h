#pragma once

#include <functional>
#include <string>

#include "platform/platform.h"

namespace aurelant {

class AppState;

enum class PictureFormat { Png, Svg };

// A name for a file made from the history file: its name with `ending` instead of its extension.
std::string namedAfter(const std::string& historyFile, const std::string& ending);

// The name proposed for the chart's picture: the history file's, ending in ".png" instead.
std::string pictureName(const std::string& historyFile);

// Asks where to save with `request`, has `make` form the file's bytes for the chosen path and
// writes them safely: a failure is reported and leaves any file of that name as it was. Bytes
// that could not be made (empty) are reported with `unmade`.
void saveMadeFile(AppState& window, const FileRequest& request,
                  const std::function<std::string(const std::string& path)>& make,
                  const std::string& unmade = {});

// Asks where to save a window's picture (PNG, or SVG for a name ending in .svg) under `title`,
// proposing the history file's name with `ending`, and has `draw` make it.
void exportPicture(AppState& window, const std::string& title, const std::string& ending,
                   const std::function<std::string(PictureFormat)>& draw);

// The price chart as a picture.
void exportChart(AppState& window, const std::function<std::string(PictureFormat)>& draw);

// Prints the chart, a PNG picture, across a landscape page of the printer that prints the main
// screen.
void printChart(AppState& window, std::string png);

}  // namespace aurelant
