#include "predict/report.h"

#include "common/numtext.h"
#include "common/utf8.h"
#include "predict/direction.h"

namespace aurelant {
namespace {

constexpr const char* kNoChangeSentence =
    "A change in price is NOT predicted, so trading is NOT recommended";
constexpr const char* kDisclaimer =
    "The producers of this program accept no responsibilty for actual performance of these "
    "statistics or for any financial losses";

// The line breaks of the report, which differ between UP at 54 % or more, UP below, and DOWN.
struct Layout {
    bool blankBeforeApostrophe = false;
    int headingToProbability = 3;
    int probabilityToOpen = 2;
    int probabilityToDisclaimer = 2;
    int before = 2;
};

Layout layoutOf(const FinalPrediction& prediction) {
    if (!prediction.up) {
        return {};
    }
    if (prediction.probability < kPredictionThreshold) {
        return {true, 2, 2, 2, 2};
    }
    return {false, 3, 1, 1, 0};
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

std::string probabilityWords(bool up) {
    return up ? "The probability of an UPWARDS movement is "
              : "The probability of a DOWNWARDS movement is ";
}

std::string levelWords(bool up, const char* percent) {
    return std::string("A ") + percent +
           (up ? "% probability that the High will be greater than "
               : "% probability that the Low will be lower than ");
}

std::string levelLines(const FinalPrediction& prediction, const std::string& crlf) {
    return levelWords(prediction.up, "75") + prediction.levels.level75 + crlf +
           levelWords(prediction.up, "50") + prediction.levels.level50 + crlf +
           levelWords(prediction.up, "25") + prediction.levels.level25;
}

}  // namespace

std::string reportBlock(const FinalPrediction& prediction, const std::string& crlf) {
    const Layout layout = layoutOf(prediction);
    std::string block = layout.blankBeforeApostrophe ? "Aurelant 's Prices" : "Aurelant's Prices";
    block += " - Prediction Report for File:" + shownFileName(prediction.file) +
             repeated(crlf, layout.headingToProbability) + probabilityWords(prediction.up) +
             probabilityText(prediction.probability) + "%";
    if (prediction.withLevels) {
        block += repeated(crlf, layout.probabilityToOpen) +
                 "If the movement does occur then the following probabilities would exist, "
                 "with an Open of: " +
                 numberText(prediction.nextopen) + repeated(crlf, 2) +
                 levelLines(prediction, crlf) + repeated(crlf, 4);
    } else {
        block += repeated(crlf, layout.probabilityToDisclaimer);
    }
    return block + kDisclaimer;
}

std::string breaksBeforeReport(const FinalPrediction& prediction, const std::string& crlf) {
    return repeated(crlf, layoutOf(prediction).before);
}

std::string noChangeNotice(const std::string& crlf) {
    return crlf + kNoChangeSentence + repeated(crlf, 4) + kDisclaimer;
}

std::string noChangeDataLine() {
    return kNoChangeSentence;
}

std::vector<std::string> finalDataLines(const FinalPrediction& prediction) {
    const bool confident = prediction.probability >= kPredictionThreshold;
    // A doubtful DOWN prediction is written as a printed number, with a blank on either side.
    const std::string probability = !prediction.up && !confident
                                        ? printedNumber(prediction.probability)
                                        : probabilityText(prediction.probability);
    std::vector<std::string> lines = {"Aurelant's Prices - Prediction Report for File: " +
                                          trimmed(shownFileName(prediction.file)),
                                      probabilityWords(prediction.up) + probability + "%"};
    if (prediction.withLevels && confident) {
        lines.push_back(
            "If the movement does occur, then the following probability would exist (with an "
            "Open of " +
            trimmedNumberText(prediction.nextopen) + "):");
        lines.push_back(levelWords(prediction.up, "75") + trimmed(prediction.levels.level75));
    }
    return lines;
}

}  // namespace aurelant
