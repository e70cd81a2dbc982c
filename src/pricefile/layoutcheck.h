#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "common/dates.h"
#include "import/recognition.h"

namespace aurelant {

// Signs that a file Open is reading is in another layout, looked for in the lines as Open
// keeps them and the prediction splits them. Cheap enough for every line of the largest file:
// a line of plain prices costs one look at each byte. A sign is only a suspicion; the
// recognition of the whole file confirms it or not.
class LayoutCheck {
  public:
    void header(std::string_view line);
    void record(std::string_view line);
    // Ends the check; the signs seen.
    std::set<import::Difference> signs();

  private:
    void firstRecord(std::string_view line);
    void pricesOf(std::string_view line, std::string_view afterDate);
    void dateOf(std::string_view date);

    std::optional<char> separator_;
    bool headerSeen_ = false;
    std::set<import::Difference> signs_;
    std::optional<CalendarDate> firstDate_;
    std::optional<CalendarDate> secondDate_;
    std::string lastDate_;
    std::size_t lastDayLength_ = 0;  // of lastDate_ without its time
    std::size_t records_ = 0;
    std::size_t repeats_ = 0;
};

}  // namespace aurelant
