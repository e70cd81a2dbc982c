#pragma once

#include <string>
#include <string_view>

#include "common/textfile.h"

namespace aurelant {

// The prediction data file's lines as a run forms them, each ended by CR LF; a run whose data
// file nobody reads keeps none.
class DataLines {
  public:
    explicit DataLines(bool kept) : kept_(kept) {}

    void write(std::string_view piece) {
        if (kept_) {
            text_.append(piece);
        }
    }
    void writeLine(std::string_view line) {
        if (kept_) {
            text_.append(line).append(kLineEnd);
        }
    }
    bool kept() const { return kept_; }
    std::string& text() { return text_; }

  private:
    bool kept_;
    std::string text_;
};

// Where a prediction run writes: the text it appends to the main screen, and the prediction data
// file.
struct RunOutput {
    std::string& screen;
    DataLines& dataFile;
    std::string crlf;
    bool directionOnly = true;
    long displayfrom = 0;
    bool screenShown = true;  // false: nobody sees the screen, so nothing is written to it

    // Only the records after `displayfrom` (about the last 120) are commented on the screen.
    bool shows(long recordNumber) const { return screenShown && recordNumber > displayfrom; }

    // Whether the back-test comments on a record: in direction-only mode only. Callers build
    // a comment only when it is shown, as most records of a long file are not.
    bool comments(long recordNumber) const { return directionOnly && shows(recordNumber); }
};

}  // namespace aurelant
