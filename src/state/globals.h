#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace aurelant {

// The program-wide state through which the commands co-operate. One instance lives as long as
// the program; the members start with the values they have before start-up.
struct Globals {
    // The five-day grid: rows 1..5 (5 = latest), fields 0 = date number, 1..4 = Open, High,
    // Low, Close. Row 0 is not used.
    std::array<std::array<double, 5>, 6> fivedays{};
    bool fileopen = false;
    bool predictiondone = false;
    bool directionup = false;
    std::string currentfile;
    std::int16_t patterncode = 0;
    std::array<float, 33> upprobtable{};
    bool addlatestmode = false;
    bool viewdatamode = false;
    bool movementmode = false;
    bool repredictready = false;
    std::string reporttext;
    std::string crlf;
    double nextopen = 0;
    std::string programtitle;
    std::string vieweraddress;
    std::array<std::string, 1001> reverselines{};
    std::string strategytext;
    std::string level75text;
    std::string probabilitytext;
    std::string separator;
    bool noconfidence = false;
    float rangevolatility = 0;
    float probability = 0;
    std::int16_t displayfrom = 0;
    std::string savechoice;
    double upfraction = 0;
    std::string bannertext;
    std::string lastdialogfile;
    std::string suggestedfile;
    std::string datapaneltext;
    std::string lastfile;
    // The decimals to which the last run cut its price levels, for the re-prediction's.
    std::int16_t pricedecimals = 2;
};

}  // namespace aurelant
