#pragma once

#include <array>
#include <optional>
#include <string>

// What a prediction says: the days of the back-test it judged, and the day after the file.
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

// The text of a direction: "UP", "DOWN", or "NONE" when no prediction was made.
inline const char* directionName(std::optional<bool> up) {
    if (!up) {
        return "NONE";
    }
    return *up ? "UP" : "DOWN";
}

}  // namespace aurelant
