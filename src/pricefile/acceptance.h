#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/errors.h"
#include "import/recognition.h"

// The one acceptance of a history file: Open, the command-line prediction and the watchlist take
// and refuse the same files, for the same reasons.
namespace aurelant {

enum class Verdict {
    Own,      // in the program's own layout: its records are read as they stand
    Import,   // a table of daily prices in another layout, which the import reads
    Refused,  // for the reason in `refusal`
};

enum class Refusal {
    None,
    NoData,
    NotPriceData,  // the fourth line does not look like a record, and no table was recognised
    LongLine,      // a line longer than any record
    TooFew,
    TooMany,
    NotATable,    // the recognition says why
    BadRecord,    // a record the prediction would refuse
    NoSeparator,  // the first record holds neither four commas nor four TABs
};

struct Acceptance {
    Verdict verdict = Verdict::Refused;
    Refusal refusal = Refusal::None;
    bool formatPasses = false;              // the fourth line (or the last) looks like a record
    bool layoutConfirmed = false;           // the lines alone confirm the program's own layout
    std::vector<std::string_view> records;  // the record lines as they stand, into the text
    std::size_t recordCount = 0;            // all of them, also beyond the most that are kept
    // Open, High, Low and Close of each kept record, as plainRecord reads them, where the lines
    // confirm the program's own layout; otherwise empty.
    std::vector<std::array<double, 4>> prices;
    char separator = ',';
    bool onlyRecords = false;  // the text is its records and nothing else, each ended by CR LF
    std::optional<import::Recognition> recognition;  // where the recognition was asked
    std::optional<AppError> recordError;             // the first record the prediction refuses

    bool accepted() const { return verdict != Verdict::Refused; }
    // How a file for the import differs from the program's layout; none for any other.
    std::vector<import::Difference> differences() const;
    // A refusal in a few words, as a list of files gives it: "only 3 records, too few for a
    // prediction".
    std::string refusalPhrase() const;
};

// `localeDayFirst`: the user's locale writes the day before the month, for dates that leave the
// order open.
Acceptance acceptHistory(std::string_view text, bool localeDayFirst);

}  // namespace aurelant
