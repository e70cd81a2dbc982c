#include "pricefile/normalisation.h"

#include "common/errors.h"

namespace aurelant {
namespace {

constexpr int kMostRereadings = 3;

}  // namespace

Normalisation::Normalisation(const std::string& path, bool localeDayFirst)
    : path_(path), localeDayFirst_(localeDayFirst), lock_(path) {
    read();
}

void Normalisation::read() {
    stamp_ = fileStamp(path_);
    text_ = readWholeFile(path_);
    acceptance_ = acceptHistory(text_, localeDayFirst_);
}

bool Normalisation::replace() {
    if (acceptance_.onlyRecords) {
        return true;
    }
    if (acceptance_.recordError) {
        throw *acceptance_.recordError;  // the file stays as it is
    }
    FileReplacement replacement(path_);
    for (const std::string_view record : acceptance_.records) {
        replacement.writer().writeLine(record);
    }
    if (!replacement.commit(stamp_)) {
        return false;
    }
    handOverToReplacement(lock_, stamp_, path_);
    return true;
}

void Normalisation::commit(std::size_t fewest, std::size_t most) {
    const Verdict judged = acceptance_.verdict;
    for (int rereadings = 0; !replace(); ++rereadings) {
        if (rereadings < kMostRereadings) {
            read();
        }
        if (rereadings == kMostRereadings || acceptance_.verdict != judged || count() < fewest ||
            count() > most) {
            throw programError(Failure::FileInUse,
                               "File in use: " + path_ +
                                   " changed while it was being opened, again and again; it has "
                                   "not been changed. Open it again when no other program is "
                                   "writing it");
        }
    }
}

}  // namespace aurelant
