#include "chart/chartexport.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "common/errors.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "output/printscreen.h"
#include "platform/filerequests.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

PictureFormat formatOf(const std::string& path) {
    std::string ending = path.substr(path.size() - std::min<std::size_t>(path.size(), 4));
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == ".svg" ? PictureFormat::Svg : PictureFormat::Png;
}

}  // namespace

std::string pictureName(const std::string& historyFile) {
    return historyFile.empty()
               ? std::string()
               : std::filesystem::path(historyFile).replace_extension(".png").string();
}

void exportChart(AppState& window, const std::function<std::string(PictureFormat)>& draw) {
    const std::optional<std::string> path = window.askSaveTarget(saveModeRequest(
        "Save the Chart as a Picture", "PNG Pictures (*.png)|*.png|SVG Pictures (*.svg)|*.svg",
        pictureName(window.globals.currentfile), "png"));
    if (!path) {
        return;
    }
    const std::string picture = draw(formatOf(*path));
    if (picture.empty()) {
        window.showMessage("The chart could not be drawn as a picture.");
        return;
    }
    try {
        writeUserFile(*path, [&picture](LineWriter& writer) { writer.write(picture); });
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::Plain, error));
    }
}

void printChart(AppState& window, std::string png) {
    PrintJob job;
    job.picture = std::move(png);
    job.landscape = true;
    printJob(window, job);
}

}  // namespace aurelant
