#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/dates.h"
#include "common/historylimits.h"
#include "import/cells.h"
#include "import/columns.h"
#include "import/dailybars.h"
#include "import/pricecolumns.h"
#include "import/textdecoding.h"

// Recognition of daily price tables by what they hold: the text decoded, the table found among
// title lines and footers, the dates found by their cells and the prices by how they behave, the
// header's words only as evidence. Pure: text in, daily records and the evidence for them out.
// Open, the import, the command-line prediction and the watchlist all read through here.
namespace aurelant::import {

// What the user decides where the file leaves a choice.
struct Overrides {
    Overrides() = default;
    Overrides(std::optional<bool> dayFirstChoice, bool dayFirstLocale,
              std::optional<OpenClose> openCloseChoice = std::nullopt)
        : dayFirst(dayFirstChoice), localeDayFirst(dayFirstLocale), openClose(openCloseChoice) {}

    std::optional<bool> dayFirst;  // nothing: the file decides, else the user's locale
    bool localeDayFirst = false;
    std::optional<OpenClose> openClose;  // which columns are Open and Close
    std::optional<char> decimalMark;     // '.' or ',' where the file leaves the mark open
};

enum class OrderSource { File, Locale, User };

// What each source column became.
enum class ColumnUse { Date, Time, Open, High, Low, Close, Volume, LeftOut, Unread };

struct Evidence : BarCounts {
    Encoding encoding = Encoding::Utf8;
    char separator = ',';
    NumberMarks marks;
    bool marksAmbiguous = false;  // the file leaves the decimal mark open
    bool marksChosen = false;     // and the user chose it
    bool header = false;
    std::vector<std::string> columnNames;  // each column's heading, unquoted; empty without one
    std::vector<ColumnUse> uses;           // each column's use
    Columns columns;
    std::vector<OpenClose> openCloseChoices;  // where content leaves Open and Close to choose
    std::vector<std::size_t> misnamed;        // columns whose heading content contradicts
    DateWriting dateWriting = DateWriting::YearFirst;
    std::string dateExample;
    bool numericDates = false;  // dates such as 07/02/2024, where the order matters
    bool dayFirst = false;
    OrderSource orderSource = OrderSource::Locale;
    std::string orderProof;            // the date that decided the order
    std::size_t linesAbove = 0;        // title lines and the like above the header and body
    std::size_t linesBelow = 0;        // footers
    std::size_t longLinesSkipped = 0;  // of those, the lines longer than a note or a ticker
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
    Encoding,
    OtherLines,
    Count
};

struct Recognition {
    std::string problem;  // what keeps the file from being imported; empty when recognised
    Evidence evidence;
    std::vector<DailyBar> days;  // oldest first

    bool recognised() const { return problem.empty(); }
    std::vector<Difference> differences() const;
};

Recognition recognise(std::string_view text, const Overrides& overrides = {});
// The same, of a text decoded before, so that a reader that reads it again need keep only its
// decoded form.
Recognition recognise(const DecodedText& decoded, const Overrides& overrides = {});

// What Open and the other readers ask first: whether a content is a table of daily prices at all,
// and whether it is already in the program's own layout (the date first, then Open, High, Low and
// Close in that order, the dates ascending, nothing to convert). `problem` says why a content is
// not a price table; `differences` how a price table differs from the layout.
struct PriceTableCheck {
    bool priceTable = false;
    bool ownLayout = false;
    std::string problem;
    std::vector<Difference> differences;
};
PriceTableCheck checkPriceTable(std::string_view text, bool localeDayFirst);

// The differences from the program's layout that a recognised file shows among `signs`, or all
// of them when `signs` is empty; none for a file that is not recognised.
std::vector<Difference> confirmedDifferences(const Recognition& recognition,
                                             const std::set<Difference>& signs);

// The daily records of a recognised file as lines in this program's layout, oldest first.
std::vector<std::string> dailyLines(const Recognition& recognition);

}  // namespace aurelant::import
