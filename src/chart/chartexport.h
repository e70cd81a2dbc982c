#pragma once

#include <functional>
#include <string>

namespace aurelant {

class AppState;

enum class PictureFormat { Png, Svg };

// Asks where to save the price chart as a picture (PNG, or SVG for a name ending in .svg), has
// `draw` make the picture's bytes and writes them safely: a failure is reported and leaves any
// file of that name as it was.
void exportChart(AppState& window, const std::function<std::string(PictureFormat)>& draw);

// Prints the chart, a PNG picture, on the printer that prints the main screen.
void printChart(AppState& window, std::string png);

}  // namespace aurelant
