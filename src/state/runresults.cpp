#include "state/runresults.h"

namespace aurelant {

void RunResults::clear() {
    file_.clear();
    lastRecord_ = 0;
    judged_.clear();
    calibration_ = Calibration();
    outlook_ = {};
    ++revision_;
}

void RunResults::complete(std::string file, long lastRecord, std::vector<JudgedPrediction> judged,
                          Calibration calibration, Outlook outlook) {
    file_ = std::move(file);
    lastRecord_ = lastRecord;
    judged_ = std::move(judged);
    calibration_ = std::move(calibration);
    outlook_ = std::move(outlook);
    ++revision_;
}

void RunResults::repredict(Outlook outlook) {
    outlook.repredicted = true;
    outlook_ = std::move(outlook);
    ++revision_;
}

}  // namespace aurelant
