#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// How the program cuts text into lines, for every reader of a file: a line ends in CR LF, LF or a
// lone CR, and a UTF-8 byte-order mark at the start of a file is not part of its first line.
namespace aurelant {

inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// No line of a price file comes near this length. A longer line is passed over and read as an
// empty line, so that every reader takes it for a blank line, not a record; a reader that would
// write the file back refuses it instead.
inline constexpr std::size_t kLongestLine = std::size_t{1} << 20;

// The text without the byte-order mark at its start, when it has one.
std::string_view withoutByteOrderMark(std::string_view text);

enum class LineEnding { None, Lf, Cr, CrLf };

// Cuts a text into lines, each a view into the text. A CR as the text's last byte ends its line
// as a lone CR; a reader whose text goes on in a next piece skips an LF at the piece's start.
class LineSplitter {
  public:
    explicit LineSplitter(std::string_view text) : text_(text) {}

    // The next line whose end lies in the text, without its end; false when the rest of the text
    // holds no line end (rest() then holds an unfinished line).
    bool nextEnded(std::string_view& line);
    // The next line, the last one also without a line end; false at the end of the text.
    bool next(std::string_view& line);
    // How the line given last ended.
    LineEnding ending() const { return ending_; }
    std::string_view rest() const { return text_.substr(at_); }

  private:
    std::size_t nextLineEnd() const;

    std::string_view text_;
    std::size_t at_ = 0;
    LineEnding ending_ = LineEnding::None;
};

// The lines of a whole file's text as every reader takes them: without the byte-order mark, a
// line over the longest read as empty.
std::vector<std::string_view> textLines(std::string_view text);

}  // namespace aurelant
