#include "common/lines.h"

#include "common/bytelanes.h"

namespace aurelant {

std::string_view withoutByteOrderMark(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

// Where the next CR or LF stands, the text's size where none does: sixteen bytes at a time, so
// that a line is looked through once for both, not once for each.
std::size_t LineSplitter::nextLineEnd() const {
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* at = begin + at_;
    for (; end - at >= static_cast<std::ptrdiff_t>(kLaneCount); at += kLaneCount) {
        const ByteLanes lanes = lanesAt(at);
        const ByteLanes lineEnds = (lanes == '\r') | (lanes == '\n');
        if (const std::size_t first = firstLane(lineEnds); first != kLaneCount) {
            return static_cast<std::size_t>(at - begin) + first;
        }
    }
    while (at != end && *at != '\r' && *at != '\n') {
        ++at;
    }
    return static_cast<std::size_t>(at - begin);
}

bool LineSplitter::nextEnded(std::string_view& line) {
    if (at_ >= text_.size()) {
        return false;
    }
    const std::size_t end = nextLineEnd();
    if (end == text_.size()) {
        return false;
    }
    line = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (text_[end] == '\n') {
        ending_ = LineEnding::Lf;
    } else if (at_ < text_.size() && text_[at_] == '\n') {
        ending_ = LineEnding::CrLf;
        ++at_;
    } else {
        ending_ = LineEnding::Cr;
    }
    return true;
}

bool LineSplitter::next(std::string_view& line) {
    if (nextEnded(line)) {
        return true;
    }
    if (at_ >= text_.size()) {
        return false;
    }
    line = text_.substr(at_);
    at_ = text_.size();
    ending_ = LineEnding::None;
    return true;
}

std::vector<std::string_view> textLines(std::string_view text) {
    std::vector<std::string_view> lines;
    LineSplitter splitter(withoutByteOrderMark(text));
    for (std::string_view line; splitter.next(line);) {
        lines.push_back(line.size() > kLongestLine ? std::string_view() : line);
    }
    return lines;
}

}  // namespace aurelant
