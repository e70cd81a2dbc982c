#pragma once

#include <string>
#include <vector>

#include "common/calibration.h"
#include "common/outlook.h"

namespace aurelant {

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
