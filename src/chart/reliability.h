#pragma once

#include <string>
#include <vector>

#include "common/calibration.h"
#include "state/runresults.h"

namespace aurelant {

class AppState;

// One probability that the back-test stated: how often it came true, in percent.
struct ReliabilityPoint {
    double probability = 0;
    double percentRight = 0;
    Interval interval;  // in percent
    int predictions = 0;
};

// The share right over the last judged predictions up to one of them, against the mean of their
// stated probabilities, both in percent.
struct RecentShare {
    std::size_t judged = 0;  // how many predictions were judged up to this one, it included
    std::string date;        // of the day this one was made on
    double percentRight = 0;
    double meanProbability = 0;
};

// How many judged predictions the recent share looks back over.
constexpr std::size_t kRecentWindow = 250;

// The share right over each run of kRecentWindow judged predictions, in their order; nothing for
// fewer.
std::vector<RecentShare> recentShares(const std::vector<JudgedPrediction>& judged);

// The verdict in one sentence: whether the confident predictions (57 % or more, else all) came
// true more often than betting every day on the file's usual direction would.
std::string reliabilityVerdict(const Calibration& calibration);

// The model of the reliability window: how far the last prediction's stated probabilities
// deserve belief on its file, from the figures its back-test gathered.
class ReliabilityReport {
  public:
    // Takes the last prediction run of the open file; true when that changed what is shown.
    bool follow(const AppState& window);

    // Whether a prediction of the open file stands; when not, the window only says so.
    bool ready() const { return !file_.empty(); }
    const std::string& file() const { return file_; }
    std::string title() const;
    // What stands instead of the figures before a prediction.
    static const char* predictFirst();

    const std::vector<ReliabilityPoint>& points() const { return points_; }
    const std::vector<RecentShare>& recent() const { return recent_; }
    // How often betting every day on the file's usual direction came true, in percent.
    double usualPercent() const { return 100 * calibration_.usualShare(); }
    // The table per year: one row of texts per year, below the column headings.
    static const std::vector<std::string>& tableHeadings();
    std::vector<std::vector<std::string>> tableRows() const;
    // The Brier scores, the skill and the count of judged predictions.
    std::string summary() const;
    const std::string& verdict() const { return verdict_; }
    // The table per year as CSV lines ended by CR LF, numbers without their % signs.
    std::string tableCsv() const;

  private:
    void take(const RunResults& results);

    unsigned revision_ = ~0u;
    std::string file_;
    Calibration calibration_;
    std::vector<ReliabilityPoint> points_;
    std::vector<RecentShare> recent_;
    std::string verdict_;
};

// The name proposed for a saved table: the history file's, ending in "-reliability.csv".
std::string reliabilityTableName(const std::string& historyFile);

// Asks where to save the table per year as CSV and writes it safely.
void saveReliabilityTable(AppState& window, const ReliabilityReport& report);

}  // namespace aurelant
