#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "common/errors.h"
#include "common/numtext.h"

// The history-file format: one trading day a line, Date, Open, High, Low and Close separated
// by commas or TABs, oldest first. The
// prediction, the five-day panel and Open read history files through these.
namespace aurelant {

// A line naming the fields: in upper case it holds each of the letters O, H, L and C, and it is
// no record, for its second field (split at commas, or at TABs when it has fewer than four
// commas) is not a number. A record with "Oct" in its date and a ticker such as "HLT" stays.
bool isHeaderLine(std::string_view line);

// A line of 14 characters or fewer, blank lines included.
bool isShortLine(std::string_view line);

// A line that Open keeps when it normalises a file: neither a header line nor a short line.
bool isRecordLine(std::string_view line);

// The check Open makes on the fourth line of a file (or the last of a shorter one): longer than
// 15 characters and holding more than three separators, TABs and commas counted together.
bool looksLikePriceData(std::string_view sample);

// The format check of a whole file, on its fourth line or the last line of a shorter one.
bool passesFormatCheck(const std::string& path);

// "," when the line holds at least four commas, else TAB when it holds at least four TABs.
std::optional<char> detectSeparator(std::string_view firstLine);

// The separator of a history file, from its first line; throws AppError for a file without any
// line, as for one that cannot be read.
std::optional<char> historyFileSeparator(const std::string& path);

// Whether the line holds at least four separators, as a record must.
bool hasFourSeparators(std::string_view line, char separator);

// The prices are views into the line they were cut from, valid as long as that line is.
struct PriceRecord {
    std::string date;  // an 8-digit YYYYMMDD date already rearranged to MM-DD-YYYY
    std::string_view open;
    std::string_view high;
    std::string_view low;
    std::string_view close;
};

// The five fields of a record, as texts cut from the line without trimming; nothing for a line
// with fewer than four separators. Close ends at a fifth separator standing beyond the ninth
// character, and otherwise runs to the end of the line.
std::optional<PriceRecord> splitRecord(std::string_view line, char separator);

// A record read in one pass over its line: the date as the line has it (not yet rearranged) and
// Open, High, Low and Close. Only for a line whose four prices are plain decimals that are possible
// prices (plainDecimal), as nearly every line of a price file is; nothing for any other line, which
// splitRecord and recordPrices read and report on, with the same fields and prices.
struct PlainRecord {
    std::string_view date;
    std::array<double, 4> prices{};
};
std::optional<PlainRecord> plainRecord(std::string_view line, char separator);

// The four prices of a line from `at` on, read in one pass over their characters: each a plain
// decimal without a sign that is a possible price, as plainDecimal reads it, ended by the
// separator; Close by the separator or the end of the line. Nothing for any other line.
struct PlainPrices {
    std::array<double, 4> prices{};
    std::size_t closeEnd = 0;  // where Close ends
    bool digitEnds = true;     // each begins and ends with a digit ("12." and ".5" do not)
};
std::optional<PlainPrices> plainPrices(std::string_view line, std::size_t at, char separator);

// Open, High, Low and Close of a record as possible prices. Throws AppError naming the record
// (its line number) and the first price that is not a number, not above zero or out of range.
std::array<double, 4> recordPrices(const PriceRecord& record, long recordNumber);
// Open, High, Low and Close of a line as the prediction reads them; nothing where it would not.
std::optional<std::array<double, 4>> readablePrices(std::string_view line, char separator);

// Whether the prediction would read a file's records, given one by one as Open counts them: the
// first price it would refuse (one that is not a number, say), the records split at the
// separator of the first. A file it refuses is never rewritten.
class RecordCheck {
  public:
    // A record already known to be a day of plain prices, which the prediction reads.
    void plainDay(std::string_view line);
    void record(std::string_view line);
    const std::optional<AppError>& refusal() const { return refusal_; }

  private:
    long count_ = 0;
    std::optional<char> separator_;
    std::optional<AppError> refusal_;
};

}  // namespace aurelant
