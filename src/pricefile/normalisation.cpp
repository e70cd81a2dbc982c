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
    LineReader reader(path_);
    count_ = 0;
    onlyRecords_ = true;
    check_ = LayoutCheck();
    for (std::string_view line; reader.next(line);) {
        if (isShortLine(line)) {
            onlyRecords_ = false;
        } else if (isHeaderLine(line)) {
            check_.header(line);
            onlyRecords_ = false;
        } else {
            check_.record(line);
            ++count_;
        }
    }
    onlyRecords_ = onlyRecords_ && reader.crLfOnly();
}

bool Normalisation::replace() {
    if (onlyRecords_) {
        return true;
    }
    FileReplacement replacement(path_);
    LineReader reader(path_);
    for (std::string_view line; reader.next(line);) {
        if (isRecordLine(line)) {
            replacement.writer().writeLine(line);
        }
    }
    if (!replacement.commit(stamp_)) {
        return false;
    }
    carryOverAppendedBytes(lock_.descriptor(), stamp_, path_);
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
