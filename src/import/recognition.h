#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/dates.h"
#include "import/cells.h"
#include "import/columns.h"

// Recognition of price files in the layouts that quote services, brokers and spreadsheets
// write: separators, number marks, columns, date forms and their day/month order, rows without
// prices, newest-first files and bars within the day. Pure: text in, daily records and the
// evidence for them out. The import writes the records; the command-line prediction reads them.
namespace aurelant::import {

// The most daily records a file may give: as many as Open accepts.
inline constexpr std::size_t kMostDailyRecords = 32887;
inline constexpr std::size_t kFewestDailyRecords = 5;

// What the user decides: the order of dates that the file leaves open.
struct Overrides {
    std::optional<bool> dayFirst;  // nothing: the file decides, else the user's locale
    bool localeDayFirst = false;
};

enum class OrderSource { File, Locale, User };

struct Evidence {
    char separator = ',';
    NumberMarks marks;
    bool marksAmbiguous = false;
    Decorations decorations;
    bool header = false;
    std::vector<std::string> columnNames;  // the header's cells, unquoted
    Columns columns;
    std::string dateExample;
    bool numericDates = false;  // dates such as 07/02/2024, where the order matters
    bool dayFirst = false;
    OrderSource orderSource = OrderSource::Locale;
    std::string orderProof;  // the date that decided the order
    bool reversed = false;
    std::size_t rowsWithoutPrices = 0;
    std::size_t rowsUnreadable = 0;
    std::size_t barsJoined = 0;  // bars within the day, joined into
    std::size_t joinedDays = 0;  // this many days
    std::size_t repeatedDates = 0;
};

// How a file differs from the program's own layout, in the order Open names them.
enum class Difference {
    Semicolons,
    Blanks,
    DecimalCommas,
    Decorations,
    Placeholders,
    Columns,
    DayFirst,
    Intraday,
    Repeats,
    NewestFirst,
    Count
};

struct DailyBar {
    CalendarDate date;
    // "2024-02-07,10.5,11,10.25,10.75[,1200]": the date, Open, High, Low and Close as the source
    // writes them, and the volume when the file has one.
    std::string line;
};

struct Recognition {
    std::string problem;  // what keeps the file from being imported; empty when recognised
    Evidence evidence;
    std::vector<DailyBar> days;  // oldest first

    bool recognised() const { return problem.empty(); }
    std::vector<Difference> differences() const;
};

Recognition recognise(std::string_view text, const Overrides& overrides = {});

// The differences from the program's layout that a recognised file shows among `signs`, or all
// of them when `signs` is empty; none for a file that is not recognised.
std::vector<Difference> confirmedDifferences(const Recognition& recognition,
                                             const std::set<Difference>& signs);

// The daily records of a recognised file as lines in this program's layout, oldest first.
std::vector<std::string> dailyLines(const Recognition& recognition);

}  // namespace aurelant::import
