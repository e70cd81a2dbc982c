#pragma once

#include <optional>
#include <vector>

namespace aurelant {

// A share of predictions that came true.
struct Share {
    int predictions = 0;
    int right = 0;

    double value() const { return predictions > 0 ? static_cast<double>(right) / predictions : 0; }
};

// A 95 % interval of a share, both ends between 0 and 1.
struct Interval {
    double low = 0;
    double high = 1;
};

// Wilson's score interval: unlike the plain one it stays within 0 and 1 and is honest for small
// counts and for shares of 0 or 1. With no prediction it spans everything.
Interval wilsonInterval(const Share& share);

// The predictions that the back-test stated at one probability.
struct ProbabilityShare {
    double probability = 0;  // in percent, as the data file writes it: 56.5
    Share share;
};

// The predictions made in one year; year 0 holds those whose date could not be read.
struct YearShare {
    int year = 0;
    Share share;
    double probabilitySum = 0;  // of the stated probabilities, in percent

    double meanProbability() const {
        return share.predictions > 0 ? probabilitySum / share.predictions : 0;
    }
};

// How far the back-test's stated probabilities deserve belief: gathered one judged prediction at
// a time while the back-test runs, so that no second pass over the file is needed. A judged
// prediction is one of 54 % or more whose following day said whether it came true.
class Calibration {
  public:
    // One judged prediction: its stated probability in percent, its direction, whether it came
    // true and the year of the day it was made on (0 when unknown).
    void add(float probability, bool up, bool right, int year);

    int judged() const { return total_.predictions; }
    const Share& total() const { return total_; }
    // The mean of (p/100 - r)^2: 0 is perfect, 0.25 is what always saying 50 % scores.
    double brier() const;
    // The share of judged predictions whose day closed up, and the Brier score of always saying
    // "up" with that probability: u * (1 - u).
    double baseRate() const;
    double brierBaseRate() const;
    // 1 - brier / brierBaseRate; none when every judged day went the same way.
    std::optional<double> skill() const;
    // The share that betting every day on the file's more usual direction gets right.
    double usualShare() const;

    // Ascending by probability, and by year in the order the predictions came.
    const std::vector<ProbabilityShare>& byProbability() const { return byProbability_; }
    const std::vector<YearShare>& byYear() const { return byYear_; }
    // The predictions of at least `percent`.
    Share shareFrom(double percent) const;

  private:
    ProbabilityShare& bucket(float probability);
    YearShare& yearBucket(int year);

    Share total_;
    int closedUp_ = 0;
    std::vector<ProbabilityShare> byProbability_;
    std::vector<YearShare> byYear_;
};

}  // namespace aurelant
