#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The cells of price files in other layouts: splitting a line, and reading a cell as a price,
// or a volume, whatever marks and decorations the quote service wrote around it.
namespace aurelant::import {

// A blank here stands for runs of blanks and TABs.
inline constexpr char kBlankRuns = ' ';

// The cells of a table's body, row by row, each row `width` cells wide. A row keeps only where
// each of its cells begins in the text and where it ends, a fifth of what views of the cells
// take: a large file's cells would take more memory than its text.
class Grid {
  public:
    // Rows of cells in `text`, cut at `separator`; the text must outlive the grid.
    Grid(std::string_view text, std::size_t width, char separator)
        : base_(text.data()), width_(width), separator_(separator) {}

    void reserve(std::size_t rows) { bounds_.reserve(rows * (width_ + 1)); }
    // Adds a row, `width` cells in the text, as splitFields cuts them.
    void add(const std::vector<std::string_view>& cells);

    std::size_t width() const { return width_; }
    std::size_t rows() const { return width_ == 0 ? 0 : bounds_.size() / (width_ + 1); }
    std::string_view at(std::size_t row, std::size_t column) const;

  private:
    const char* base_;
    std::size_t width_;
    char separator_;
    // Of each row, where each cell begins and where its last cell ends, from base_.
    std::vector<std::uint32_t> bounds_;
};

// Cuts a line at `separator` outside double quotes; the cells keep their quotes and blanks.
// `cells` is reused between lines, so that reading a file does not allocate a vector a line.
void splitFields(std::string_view line, char separator, std::vector<std::string_view>& cells);

// What a quote service may write around a number.
struct Decorations {
    bool quotes = false;
    bool currency = false;
    bool percent = false;
    bool suffixes = false;   // K, M or B after a volume
    bool exponents = false;  // numbers in scientific notation: 1.25e-05
};

// The cell without blanks (no-break spaces too), quotes, currency and percent signs, noting in
// `found` which of them it had: "\"$1,234.50\"" -> "1,234.50". Most cells have none of them:
// those come back as they are, the others are built in `scratch`, which the result views.
std::string_view bareNumber(std::string_view cell, Decorations& found, std::string& scratch);

// Empty, "null", "n/a", "na", "-" or "--": a row that a service wrote without prices.
bool isPlaceholder(std::string_view cell);

struct NumberMarks {
    char decimal = '.';
    char thousands = 0;  // 0: none seen
};

// Counts, over every price of a file, what its points and commas can be.
class MarkTally {
  public:
    // Where commas separate the fields, a comma within a number (in quotes) groups its thousands
    // unless the numbers prove it a decimal mark.
    explicit MarkTally(char fieldSeparator) : commasSeparateFields_(fieldSeparator == ',') {}
    // A number as bareNumber gives it; `decimalPoint`: its point is known to be a decimal one.
    void add(std::string_view bare, bool decimalPoint = false);
    // A mark that proves itself decimal wins; a mark seen only before exactly three digits is
    // taken as decimal, and ambiguous() says so. `chosenDecimal`: the user's choice instead, the
    // other mark then grouping thousands where the file has it.
    NumberMarks decide(std::optional<char> chosenDecimal = std::nullopt) const;
    bool ambiguous() const;

  private:
    bool commasSeparateFields_;
    int pointDecimal_ = 0;
    int commaDecimal_ = 0;
    int pointThousands_ = 0;
    int commaThousands_ = 0;
    int pointUnclear_ = 0;
    int commaUnclear_ = 0;
};

// Writes a price to `out`, which has room for `bare`, as this program writes it: the digits as
// the source has them, the decimal mark a point, thousands separators gone: ("1.234,50",
// {',', '.'}) -> "1234.50". Its length; nothing for a text that is not a number above zero.
std::optional<std::size_t> writePriceText(std::string_view bare, NumberMarks marks, char* out);

// The value of a price as writePriceText writes it.
double priceValue(std::string_view price);

// A volume, K, M and B standing for thousands, millions and billions; nothing for any other text.
// `scratch` holds its digits on the way.
std::optional<double> volumeValue(std::string_view bare, NumberMarks marks, std::string& scratch);

// Whether the cell holds a number, whatever marks, sign, decorations or K, M or B it has.
bool looksNumeric(std::string_view cell);

// The value of a number cell read with the file's marks, signed, K, M and B multiplied out;
// nothing for any other text. `scratch` holds its digits on the way.
std::optional<double> cellNumber(std::string_view cell, NumberMarks marks, std::string& scratch);

// Whether a bare number ends in K, M or B after a digit, as "1.2K".
bool hasSuffix(std::string_view bare);

// Whether the cell holds a time of day (after a date or on its own).
bool holdsTime(std::string_view cell);

// The cell without blanks and quotes at either end.
std::string_view unquoted(std::string_view cell);

}  // namespace aurelant::import
