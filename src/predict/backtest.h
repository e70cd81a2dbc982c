#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "common/calibration.h"
#include "common/numtext.h"
#include "common/outlook.h"
#include "predict/direction.h"
#include "predict/pricelevels.h"
#include "predict/statistics.h"

namespace aurelant {

struct RunOutput;

// The historic back-test: replays the direction model day by day, predicting each following
// day and judging that prediction when the day comes, and writes the day-by-day table.
class BackTest {
  public:
    // Predicted prices are cut to `levelDecimals` decimals; `model` follows the days. The judged
    // predictions are kept when `keepJudged`.
    BackTest(const UpProbabilityTable& table, ModelState& model, RunOutput& output,
             int levelDecimals, bool keepJudged);

    // A day with movement that the movement gate lets through.
    void processDay(long recordNumber, std::string_view date, const DayPrices& day);
    // A day without movement, or one of the days the gate skips after it.
    void skipDay(long recordNumber, std::string_view date);

    const BackTestTally& tally() const { return tally_; }
    // Units bought for about 1,000 at the Open of the first predicting day.
    double units() const { return units_; }
    // Hands over the predictions judged so far, in the order of their judging days.
    std::vector<JudgedPrediction> takeJudged() { return std::move(judged_); }
    // Hands over how the judged predictions compare with their stated probabilities.
    Calibration takeCalibration() { return std::move(calibration_); }

  private:
    struct Outcome {
        CutNumber predicted;  // the 75 % level as shown, cut
        double actual = 0;    // the day's High (UP) or Low (DOWN)
        bool reached = false;
        bool right = false;
        double gain = 0;  // per unit
    };

    // `shown`: a line shows the level, so its text is made too.
    Outcome judge(const DayPrices& day, float volatilityBefore, bool shown) const;
    void completePending(long recordNumber, std::string_view date, const DayPrices& day,
                         float volatilityBefore);
    std::string outcomeComment(std::string_view date, const DayPrices& day,
                               const Outcome& outcome) const;
    void count(const Outcome& outcome);
    void predictNext(long recordNumber, std::string_view date, double open);
    // At 54 % or more the prediction is made and judged the next day; below, it is only shown.
    void makePrediction(long recordNumber, std::string_view date, const Direction& direction);
    void declinePrediction(long recordNumber, std::string_view date, const Direction& direction);

    const UpProbabilityTable& table_;
    ModelState& model_;
    RunOutput& output_;
    int levelDecimals_;
    bool keepJudged_;
    RangeVolatility volatility_;
    BackTestTally tally_;
    int processedDays_ = 0;
    bool predictionExists_ = false;
    int pendingDirection_ = 0;  // +1 UP, -1 DOWN, 0 below the threshold
    float pendingProbability_ = 0;
    // What the data-file line of a prediction says after its date, by pattern code, formed once
    // per run: "\tUp   \t57%\tYes", "\tDown \t52%\tNo\t \t \t \t ".
    std::array<std::string, 32> predictionTails_;
    std::string pendingLine_;       // the data-file line that waits for its day's outcome
    JudgedPrediction pendingMade_;  // the prediction of 54 % or more that waits
    int pendingYear_ = 0;           // of the day it was made on
    std::vector<JudgedPrediction> judged_;
    Calibration calibration_;
    double units_ = 0;
};

}  // namespace aurelant
