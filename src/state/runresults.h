#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "state/calibration.h"

namespace aurelant {

// A back-test prediction that the following day judged: the record it was made on, which way it
// pointed at what probability and whether the direction came true (the data file's "Yes" and
// TRUE or FALSE).
struct JudgedPrediction {
    long recordNumber = 0;
    std::string date;  // as the data file writes it
    bool up = true;
    float probability = 0;  // in percent
    bool right = false;
};

// The day after the file: its Open, the levels that its High (UP) or Low (DOWN) passes with 75 %,
// 50 % and 25 % probability as the report writes them, without their leading blanks.
struct PredictedLevels {
    std::string open;
    std::array<std::string, 3> levels;
};

// Where the day after the file is expected to go.
struct Outlook {
    bool up = true;
    std::string probability;  // percent, as the report writes it
    std::optional<PredictedLevels> levels;
    bool repredicted = false;
};

// What the last prediction run found beside the shared results, kept for the price chart. A run
// that ends early leaves nothing: its results are cleared when it starts.
class RunResults {
  public:
    void clear();
    void complete(std::string file, long lastRecord, std::vector<JudgedPrediction> judged,
                  Calibration calibration, Outlook outlook);
    // A re-prediction's direction and levels replace the run's.
    void repredict(Outlook outlook);

    // The history file of the completed run; empty when no run stands.
    const std::string& file() const { return file_; }
    // The number of the file's last line as the run read it.
    long lastRecord() const { return lastRecord_; }
    const std::vector<JudgedPrediction>& judged() const { return judged_; }
    const Calibration& calibration() const { return calibration_; }
    const Outlook& outlook() const { return outlook_; }
    // Grows with every change, so that a view notices one.
    unsigned revision() const { return revision_; }

  private:
    std::string file_;
    long lastRecord_ = 0;
    std::vector<JudgedPrediction> judged_;
    Calibration calibration_;
    Outlook outlook_;
    unsigned revision_ = 0;
};

}  // namespace aurelant
