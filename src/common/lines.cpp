#include "common/lines.h"

#include <algorithm>
#include <cstring>

namespace aurelant {

std::string_view withoutByteOrderMark(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

std::size_t LineSplitter::nextOf(char wanted, std::size_t& cached) const {
    if (cached == kUnknown || cached < at_) {
        // memchr, not find_first_of, which calls memchr on its set for every byte.
        const void* found = std::memchr(text_.data() + at_, wanted, text_.size() - at_);
        cached = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text_.data())
                       : text_.size();
    }
    return cached;
}

bool LineSplitter::nextEnded(std::string_view& line) {
    if (at_ >= text_.size()) {
        return false;
    }
    const std::size_t end =
        std::min(nextOf('\r', nextCarriageReturn_), nextOf('\n', nextLineFeed_));
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
