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

std::string namedAfter(const std::string& historyFile, const std::string& ending) {
    return historyFile.empty()
               ? std::string()
               : std::filesystem::path(historyFile).replace_extension().string() + ending;
}

std::string pictureName(const std::string& historyFile) {
    return namedAfter(historyFile, ".png");
}

void saveMadeFile(AppState& window, const FileRequest& request,
                  const std::function<std::string(const std::string& path)>& make,
                  const std::string& unmade) {
    const std::optional<std::string> path = window.askSaveTarget(request);
    if (!path) {
        return;
    }
    const std::string bytes = make(*path);
    if (bytes.empty()) {
        window.showMessage(unmade);
        return;
    }
    try {
        writeUserFile(*path, [&bytes](LineWriter& writer) { writer.write(bytes); });
    } catch (const AppError& error) {
        window.showMessage(errorMessage(ErrorWording::Plain, error));
    }
}

void exportPicture(AppState& window, const std::string& title, const std::string& ending,
                   const std::function<std::string(PictureFormat)>& draw) {
    saveMadeFile(
        window,
        saveModeRequest(title, "PNG Pictures (*.png)|*.png|SVG Pictures (*.svg)|*.svg",
                        namedAfter(window.globals.currentfile, ending), "png"),
        [&draw](const std::string& path) { return draw(formatOf(path)); },
        "The picture could not be drawn.");
}

void exportChart(AppState& window, const std::function<std::string(PictureFormat)>& draw) {
    exportPicture(window, "Save the Chart as a Picture", ".png", draw);
}

void printChart(AppState& window, std::string png) {
    PrintJob job;
    job.picture = std::move(png);
    job.landscape = true;
    printJob(window, job);
}

}  // namespace aurelant
