#include "chart/reliability.h"

#include <cstdio>
#include <filesystem>

#include "chart/chartexport.h"
#include "common/textfile.h"
#include "platform/filerequests.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

// The probability from which a prediction counts as confident, as the back-test's summary says.
constexpr double kConfident = 57;

// "58.2", from a share of 0..1.
std::string percentNumber(double share) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 100 * share);
    return text;
}

std::string percentText(double share) {
    return percentNumber(share) + " %";
}

std::string intervalText(const Interval& interval) {
    return percentNumber(interval.low) + "\u2013" + percentText(interval.high);
}

std::string yearText(int year) {
    return year > 0 ? std::to_string(year) : "date unread";
}

}  // namespace

std::vector<RecentShare> recentShares(const std::vector<JudgedPrediction>& judged) {
    std::vector<RecentShare> shares;
    double probabilitySum = 0;
    int right = 0;
    for (std::size_t index = 0; index < judged.size(); ++index) {
        probabilitySum += judged[index].probability;
        right += judged[index].right ? 1 : 0;
        if (index >= kRecentWindow) {
            const JudgedPrediction& leaving = judged[index - kRecentWindow];
            probabilitySum -= leaving.probability;
            right -= leaving.right ? 1 : 0;
        }
        if (index + 1 >= kRecentWindow) {
            shares.push_back({index + 1, judged[index].date, 100.0 * right / kRecentWindow,
                              probabilitySum / kRecentWindow});
        }
    }
    return shares;
}

std::string reliabilityVerdict(const Calibration& calibration) {
    if (calibration.judged() == 0) {
        return "On this file the back-test has not yet judged a prediction, so there is nothing "
               "to weigh its probabilities against.";
    }
    Share share = calibration.shareFrom(kConfident);
    std::string which = "the predictions of 57 % or more";
    if (share.predictions == 0) {
        share = calibration.total();
        which = "the predictions (none reached 57 %)";
    }
    const Interval interval = wilsonInterval(share);
    const double usual = calibration.usualShare();
    const char* comparison = interval.low > usual    ? "better than the usual share."
                             : interval.high < usual ? "worse than the usual share."
                                                     : "no better than the usual share.";
    return "On this file " + which + " came true " + percentText(share.value()) +
           " of the time (95 %: " + intervalText(interval) + "), against " + percentText(usual) +
           " for always betting on the file's usual direction: " + comparison;
}

bool ReliabilityReport::follow(const AppState& window) {
    if (revision_ == window.runresults.revision()) {
        return false;
    }
    revision_ = window.runresults.revision();
    take(window.runresults);
    return true;
}

void ReliabilityReport::take(const RunResults& results) {
    file_ = results.file();
    calibration_ = results.calibration();
    points_.clear();
    for (const ProbabilityShare& stated : calibration_.byProbability()) {
        const Interval interval = wilsonInterval(stated.share);
        points_.push_back({stated.probability,
                           100 * stated.share.value(),
                           {100 * interval.low, 100 * interval.high},
                           stated.share.predictions});
    }
    recent_ = recentShares(results.judged());
    verdict_ = ready() ? reliabilityVerdict(calibration_) : std::string();
}

std::string ReliabilityReport::title() const {
    return ready() ? "How reliable are the predictions for " +
                         std::filesystem::path(file_).filename().string() + "?"
                   : "How Reliable Is It?";
}

const char* ReliabilityReport::predictFirst() {
    return "Predict first (Predict > Predict Direction): how far the stated probabilities can be "
           "trusted comes from the back-test that each prediction runs over the file.";
}

const std::vector<std::string>& ReliabilityReport::tableHeadings() {
    static const std::vector<std::string> headings = {
        "Year", "Predictions", "Right", "Share right", "95 % interval", "Mean stated"};
    return headings;
}

std::vector<std::vector<std::string>> ReliabilityReport::tableRows() const {
    std::vector<std::vector<std::string>> rows;
    for (const YearShare& year : calibration_.byYear()) {
        rows.push_back({yearText(year.year), std::to_string(year.share.predictions),
                        std::to_string(year.share.right), percentText(year.share.value()),
                        intervalText(wilsonInterval(year.share)),
                        percentText(year.meanProbability() / 100)});
    }
    return rows;
}

std::string ReliabilityReport::summary() const {
    if (calibration_.judged() == 0) {
        return {};
    }
    char scores[160];
    std::snprintf(scores, sizeof scores,
                  "Brier score %.4f, against %.4f for always stating the usual share of up days",
                  calibration_.brier(), calibration_.brierBaseRate());
    const std::optional<double> skill = calibration_.skill();
    return std::to_string(calibration_.judged()) + " predictions judged. " + scores +
           (skill ? " (skill " + percentText(*skill) + ")." : ".");
}

std::string ReliabilityReport::tableCsv() const {
    std::string csv = "year,predictions,right,share_right,low_95,high_95,mean_stated";
    csv += kLineEnd;
    for (const YearShare& year : calibration_.byYear()) {
        const Interval interval = wilsonInterval(year.share);
        csv += (year.year > 0 ? std::to_string(year.year) : std::string()) + "," +
               std::to_string(year.share.predictions) + "," + std::to_string(year.share.right) +
               "," + percentNumber(year.share.value()) + "," + percentNumber(interval.low) + "," +
               percentNumber(interval.high) + "," + percentNumber(year.meanProbability() / 100) +
               kLineEnd;
    }
    return csv;
}

std::string reliabilityTableName(const std::string& historyFile) {
    return namedAfter(historyFile, "-reliability.csv");
}

void saveReliabilityTable(AppState& window, const ReliabilityReport& report) {
    saveMadeFile(window,
                 saveModeRequest("Save the Table as CSV", "CSV Files (*.csv)|*.csv",
                                 reliabilityTableName(report.file()), "csv"),
                 [&report](const std::string&) { return report.tableCsv(); });
}

}  // namespace aurelant
