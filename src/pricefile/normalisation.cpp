#include "pricefile/normalisation.h"

#include "common/errors.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

constexpr int kMostRereadings = 3;

}  // namespace

Normalisation::Normalisation(const std::string& path) : path_(path), lock_(path) {
    read();
}

void Normalisation::read() {
    stamp_ = fileStamp(path_);
    LineReader reader(path_, LongLines::Refuse);
    count_ = 0;
    notRecords_.clear();
    check_ = LayoutCheck();
    records_ = RecordCheck();
    std::size_t number = 0;
    for (std::string_view line; reader.next(line); ++number) {
        // A day is never a header line: its Open is a number.
        const bool shortLine = isShortLine(line);
        if (!shortLine && check_.day(line)) {
            ++count_;
            records_.plainDay(line);
        } else if (shortLine || isHeaderLine(line)) {
            notRecords_.push_back(number);
        } else {
            check_.otherRecord();
            ++count_;
            records_.record(line);
        }
    }
    onlyRecords_ = notRecords_.empty() && reader.crLfOnly();
}

bool Normalisation::replace() {
    if (onlyRecords_) {
        return true;
    }
    if (records_.refusal()) {
        throw *records_.refusal();  // the file stays as it is
    }
    FileReplacement replacement(path_);
    LineReader reader(path_, LongLines::Refuse);
    auto skipped = notRecords_.begin();
    std::size_t number = 0;
    for (std::string_view line; reader.next(line); ++number) {
        if (skipped != notRecords_.end() && *skipped == number) {
            ++skipped;
        } else {
            replacement.writer().writeLine(line);
        }
    }
    if (!replacement.commit(stamp_)) {
        return false;
    }
    handOverToReplacement(lock_, stamp_, path_);
    return true;
}

void Normalisation::commit(std::size_t fewest, std::size_t most) {
    for (int rereadings = 0; !replace(); ++rereadings) {
        if (rereadings < kMostRereadings) {
            read();
        }
        if (rereadings == kMostRereadings || count_ < fewest || count_ > most) {
            throw programError(Failure::FileInUse,
                               "File in use: " + path_ +
                                   " changed while it was being opened, again and again; it has "
                                   "not been changed. Open it again when no other program is "
                                   "writing it");
        }
    }
}

}  // namespace aurelant
