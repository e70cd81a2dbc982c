#pragma once

#include <functional>
#include <string>

namespace aurelant {

class AppState;

enum class PictureFormat { Png, Svg };

// The name proposed for the chart's picture: the history file's, ending in ".png" instead.
std::string pictureName(const std::string& historyFile);

// Asks where to save the price chart as a picture (PNG, or SVG for a name ending in .svg), has
// `draw` make the picture's bytes and writes them safely: a failure is reported and leaves any
// file of that name as it was.
void exportChart(AppState& window, const std::function<std::string(PictureFormat)>& draw);

// Prints the chart, a PNG picture, across a landscape page of the printer that prints the main
// screen.
void printChart(AppState& window, std::string png);

}  // namespace aurelant
