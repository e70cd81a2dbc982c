#include "predict/backtest.h"

#include <cmath>
#include <utility>

#include "common/dates.h"
#include "common/numtext.h"
#include "predict/checkedmath.h"
#include "predict/runoutput.h"

namespace aurelant {
namespace {

// A prediction is made from the day on which more than this many days have been processed.
constexpr int kWindowDays = 5;
constexpr double kInvestment = 1000;

const char* checkText(bool right) {
    return right ? "TRUE" : "FALSE";
}

const char* resultText(bool reached) {
    return reached ? "REACHED" : "NOT REACHED";
}

const char* directionText(bool up) {
    return up ? "Up   " : "Down ";
}

}  // namespace

BackTest::BackTest(const UpProbabilityTable& table, ModelState& model, RunOutput& output,
                   int levelDecimals, bool keepJudged)
    : table_(table),
      model_(model),
      output_(output),
      levelDecimals_(levelDecimals),
      keepJudged_(keepJudged) {
    for (std::size_t code = 0; code < predictionTails_.size(); ++code) {
        const Direction direction = directionOf(table[code]);
        predictionTails_[code] =
            std::string("\t") + directionText(direction.up) + "\t" +
            probabilityText(direction.probability) + "%\t" +
            (direction.probability >= kPredictionThreshold ? "Yes" : "No\t \t \t \t ");
    }
}

void BackTest::processDay(long recordNumber, std::string_view date, const DayPrices& day) {
    const float volatilityBefore = model_.rangevolatility;
    model_.rangevolatility = volatility_.update(day.high, day.low);
    ++processedDays_;
    model_.shiftIn(day);
    if (predictionExists_) {
        completePending(recordNumber, date, day, volatilityBefore);
    }
    if (processedDays_ > kWindowDays) {
        predictNext(recordNumber, date, day.open);
    }
}

void BackTest::skipDay(long recordNumber, std::string_view date) {
    if (!output_.directionOnly || !output_.dataFile.kept()) {
        return;
    }
    output_.dataFile.write(date);
    output_.dataFile.writeLine("\t     \t50%\tNo\t     \t     \t     \t     ");
    if (output_.comments(recordNumber)) {
        output_.screen.append(std::string(date) +
                              " Insufficient history of days with movement. No prediction" +
                              output_.crlf);
    }
}

BackTest::Outcome BackTest::judge(const DayPrices& day, float volatilityBefore, bool shown) const {
    const bool up = pendingDirection_ > 0;
    Outcome outcome;
    // The level is judged as shown, cut; its text is written only where a line shows it.
    const double level75 = levelPrice(day.open, volatilityBefore, kLevel75, up);
    outcome.predicted = shown ? trimmedCutNumber(level75, levelDecimals_)
                              : CutNumber{{}, trimmedCutValue(level75, levelDecimals_)};
    const double level = outcome.predicted.value;
    outcome.actual = up ? day.high : day.low;
    outcome.reached = up ? day.high >= level : day.low <= level;
    if (outcome.reached) {
        outcome.gain = finiteValue(up ? level - day.low : day.high - level);
    }
    const bool closedThatWay = up ? day.close > day.open : day.close < day.open;
    outcome.right = outcome.reached || closedThatWay;
    return outcome;
}

void BackTest::count(const Outcome& outcome) {
    if (outcome.reached) {
        ++tally_.reached;
        (pendingDirection_ > 0 ? tally_.upGain : tally_.downGain) += outcome.gain;
        tally_.totalGain += outcome.gain;
    }
    if (outcome.right) {
        ++tally_.right;
    }
    if (pendingProbability_ >= kHighConfidence) {
        ++tally_.highConfidence;
        if (outcome.right) {
            ++tally_.highConfidenceRight;
        }
    }
}

void BackTest::completePending(long recordNumber, std::string_view date, const DayPrices& day,
                               float volatilityBefore) {
    if (pendingDirection_ != 0) {
        const bool commented = output_.comments(recordNumber);
        const Outcome outcome = judge(day, volatilityBefore, output_.dataFile.kept() || commented);
        count(outcome);
        if (output_.dataFile.kept()) {
            pendingLine_.append("\t").append(checkText(outcome.right)).append("\t");
            pendingLine_.append(outcome.predicted.text).append("\t");
            pendingLine_.append(trimmedNumberText(outcome.actual)).append("\t");
            pendingLine_.append(resultText(outcome.reached));
        }
        pendingMade_.right = outcome.right;
        if (keepJudged_) {
            judged_.push_back(pendingMade_);
        }
        calibration_.add(pendingProbability_, pendingMade_.up, outcome.right, pendingYear_);
        if (commented) {
            output_.screen.append(outcomeComment(date, day, outcome));
        }
    }
    if (!pendingLine_.empty()) {
        output_.dataFile.writeLine(pendingLine_);
        pendingLine_.clear();
    }
}

std::string BackTest::outcomeComment(std::string_view date, const DayPrices& day,
                                     const Outcome& outcome) const {
    const std::string gain = trimmedCutText(finiteValue(units_ * outcome.gain));
    return std::string(date) + " Prediction of direction for today was " +
           checkText(outcome.right) + ". Open was " + trimmedNumberText(day.open) +
           " and price went to " + trimmedNumberText(outcome.actual) + output_.crlf +
           "     Predicted price was " + outcome.predicted.text + ", which was " +
           resultText(outcome.reached) + " so gain was " + gain +
           " on an initial investment of 1,000 (" + plainText(units_) + " units)" + output_.crlf;
}

void BackTest::predictNext(long recordNumber, std::string_view date, double open) {
    if (!predictionExists_) {
        units_ = std::trunc(checkedDivide(kInvestment, open));
    }
    const float tableValue = model_.lookUpPattern(table_);
    model_.upfraction = static_cast<double>(tableValue) / 100;
    const Direction direction = model_.decide(tableValue);
    pendingProbability_ = direction.probability;
    predictionExists_ = true;
    if (output_.dataFile.kept()) {
        pendingLine_.assign(date).append(predictionTails_[model_.patterncode]);
    }
    if (direction.probability >= kPredictionThreshold) {
        makePrediction(recordNumber, date, direction);
    } else {
        declinePrediction(recordNumber, date, direction);
    }
}

void BackTest::makePrediction(long recordNumber, std::string_view date,
                              const Direction& direction) {
    ++tally_.predictionsMade;
    tally_.probabilitySum += direction.probability;
    pendingDirection_ = direction.up ? 1 : -1;
    pendingMade_ = {recordNumber, keepJudged_ ? std::string(date) : std::string(), direction.up,
                    direction.probability, false};
    pendingYear_ = yearOfDate(date);
    if (output_.comments(recordNumber)) {
        output_.screen.append(std::string(date) + " Predicting " +
                              probabilityText(direction.probability) + "% " +
                              directionName(direction.up) + " for next trading day" + output_.crlf);
    }
}

void BackTest::declinePrediction(long recordNumber, std::string_view date,
                                 const Direction& direction) {
    pendingDirection_ = 0;
    if (output_.comments(recordNumber)) {
        output_.screen.append(std::string(date) + " No Prediction for next trading day (only " +
                              probabilityText(direction.probability) + "% probability of " +
                              trimmed(directionText(direction.up)) + ")" + output_.crlf);
    }
}

}  // namespace aurelant
