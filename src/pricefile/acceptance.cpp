#include "pricefile/acceptance.h"

#include <algorithm>

#include "common/historylimits.h"
#include "common/lines.h"
#include "import/textdecoding.h"
#include "pricefile/historyformat.h"
#include "pricefile/layoutcheck.h"

namespace aurelant {
namespace {

// What one pass over the lines finds: the records (neither short lines nor header lines) with
// their check, the sample line of the format check, and any line longer than a record can be.
struct LinePass {
    LayoutCheck layout;
    RecordCheck records;
    std::string_view sample;
    bool longLine = false;
};

void classify(std::string_view line, LinePass& pass, Acceptance& acceptance) {
    if (isShortLine(line)) {
        pass.layout.shortLine(line);
        acceptance.onlyRecords = false;
        return;
    }
    // A day is never a header line: its Open is a number.
    const std::optional<std::array<double, 4>> day = pass.layout.day(line);
    if (!day && isHeaderLine(line)) {
        pass.layout.header(line);
        acceptance.onlyRecords = false;
        return;
    }
    if (day) {
        pass.records.plainDay(line);
    } else {
        pass.layout.otherRecord();
        pass.records.record(line);
    }
    if (++acceptance.recordCount <= kMostHistoryRecords + 1) {
        acceptance.records.push_back(line);
        if (day) {
            acceptance.prices.push_back(*day);
        }
    }
}

LinePass readLines(std::string_view text, Acceptance& acceptance) {
    LinePass pass;
    const std::string_view withoutMark = withoutByteOrderMark(text);
    acceptance.onlyRecords = withoutMark.size() == text.size();
    LineSplitter splitter(withoutMark);
    // Room for the records of a price file's usual lines, without growing again and again.
    constexpr std::size_t kUsualRecordLength = 24;
    const std::size_t usualRecords =
        std::min(text.size() / kUsualRecordLength + 1, kMostHistoryRecords + 1);
    acceptance.records.reserve(usualRecords);
    acceptance.prices.reserve(usualRecords);
    std::size_t number = 0;
    for (std::string_view line; splitter.next(line);) {
        acceptance.onlyRecords = acceptance.onlyRecords && splitter.ending() == LineEnding::CrLf;
        if (line.size() > kLongestLine) {
            pass.longLine = true;
            line = {};  // read as a blank line
        }
        if (++number <= kSampleLine) {
            pass.sample = line;
        }
        classify(line, pass, acceptance);
    }
    return pass;
}

// Whether the recognition takes the bytes as the text they are: UTF-8, no bytes of another
// encoding in a header or a note.
bool readsAsItStands(std::string_view text) {
    const import::DecodedText decoded = import::decodeText(text);
    return decoded.problem.empty() && decoded.encoding == import::Encoding::Utf8;
}

// Asks the recognition; true when it finds a price table in another layout.
bool recognisedElsewise(std::string_view text, bool localeDayFirst, Acceptance& acceptance) {
    acceptance.recognition = import::recognise(text, {std::nullopt, localeDayFirst});
    if (acceptance.recognition->recognised() && !acceptance.recognition->differences().empty()) {
        acceptance.verdict = Verdict::Import;
        return true;
    }
    return false;
}

// The recognition's day that a record Open keeps is, by its date and prices; nothing for none.
std::optional<std::size_t> dayOfRecord(std::string_view record, char separator,
                                       const std::vector<import::DailyBar>& days,
                                       NumericOrder order) {
    const std::optional<DateCell> date =
        readDateCell(record.substr(0, record.find(separator)), order);
    if (!date) {
        return std::nullopt;
    }
    const std::uint32_t day = dayNumber(date->date);
    const auto found = std::lower_bound(days.begin(), days.end(), day,
                                        [](const import::DailyBar& bar, std::uint32_t number) {
                                            return dayNumber(bar.date) < number;
                                        });
    const std::optional<std::array<double, 4>> prices = readablePrices(record, separator);
    if (found == days.end() || dayNumber(found->date) != day || !prices ||
        prices != readablePrices(found->line, ',')) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - days.begin());
}

NumericOrder dayOrder(const import::Recognition& recognition) {
    return recognition.evidence.dayFirst ? NumericOrder::DayFirst : NumericOrder::MonthFirst;
}

// How many of the records are the recognition's days; also whether each is the day at its own
// place, as Open keeps them.
std::size_t recordsAmongTheDays(const Acceptance& acceptance,
                                const import::Recognition& recognition, bool& inPlace) {
    inPlace = true;
    if (acceptance.records.empty()) {
        return 0;
    }
    const char separator = detectSeparator(acceptance.records.front()).value_or(',');
    const NumericOrder order = dayOrder(recognition);
    std::size_t found = 0;
    for (std::size_t place = 0; place < acceptance.records.size(); ++place) {
        const std::optional<std::size_t> day =
            dayOfRecord(acceptance.records[place], separator, recognition.days, order);
        found += day ? 1 : 0;
        inPlace = inPlace && day == place;
    }
    return found;
}

// The recognition confirms the layout of the days it found. Open keeps the records and drops
// every other line: where the records are not those days, one for one, its rewrite would lose
// days or keep lines that are none, and the file is no table as it stands.
void refuseRecordsBesideTheDays(Acceptance& acceptance) {
    import::Recognition& recognition = *acceptance.recognition;
    if (!recognition.recognised() || acceptance.recordCount > kMostHistoryRecords) {
        return;
    }
    bool inPlace = false;
    const std::size_t found = recordsAmongTheDays(acceptance, recognition, inPlace);
    if (!inPlace || found != acceptance.recordCount || found != recognition.days.size()) {
        recognition.problem = "Its lines hold " + std::to_string(acceptance.recordCount) +
                              " records and its table " + std::to_string(recognition.days.size()) +
                              " days, but only " + std::to_string(found) +
                              " of the records are among those days.";
    }
}

// A header in words that Open's own header test does not know ("Data,Apertura,Massimo,..."),
// which the recognition read just above the days, the oldest or the newest first: Open drops it
// as it drops any header, and a file of too few days does not count it among its records. True
// when it was among the records.
bool dropHeaderAboveTheDays(Acceptance& acceptance) {
    const import::Recognition& recognition = *acceptance.recognition;
    std::vector<std::string_view>& records = acceptance.records;
    if (recognition.days.empty() || !recognition.evidence.header || records.size() < 2 ||
        acceptance.recordCount > kMostHistoryRecords) {
        return false;
    }
    const char separator = detectSeparator(records[1]).value_or(',');
    const std::optional<std::size_t> day =
        dayOfRecord(records[1], separator, recognition.days, dayOrder(recognition));
    if (readablePrices(records.front(), separator) || !day ||
        (*day != 0 && *day + 1 != recognition.days.size())) {
        return false;
    }
    records.erase(records.begin());
    --acceptance.recordCount;
    acceptance.onlyRecords = false;
    return true;
}

// The first of the records that the prediction would refuse.
std::optional<AppError> recordRefusal(const std::vector<std::string_view>& records) {
    RecordCheck check;
    for (const std::string_view record : records) {
        check.record(record);
    }
    return check.refusal();
}

// Open rewrites such a file as its records alone. The recognition may have read them with the
// help of the lines Open drops, such as a header's words: alone, they must still give as many
// days. (Without the words, Open may be told from Close by how they follow each other alone.)
void refuseRecordsThatNeedTheirOtherLines(Acceptance& acceptance, bool localeDayFirst) {
    import::Recognition& recognition = *acceptance.recognition;
    if (!recognition.recognised() || acceptance.onlyRecords ||
        acceptance.recordCount > kMostHistoryRecords) {
        return;
    }
    std::string records;
    for (const std::string_view record : acceptance.records) {
        records.append(record).append("\r\n");
    }
    const Acceptance alone = acceptHistory(records, localeDayFirst);
    const std::size_t days =
        alone.verdict == Verdict::Import ? alone.recognition->days.size() : alone.recordCount;
    if (alone.accepted() && days == acceptance.recordCount) {
        return;
    }
    std::string reason =
        alone.accepted() ? "they give " + std::to_string(days) + " days" : alone.refusalPhrase();
    if (reason.ends_with('.')) {
        reason.pop_back();
    }
    recognition.problem =
        "Without the lines that are no records, its records do not read as the same days (" +
        reason + ").";
}

Refusal countRefusal(std::size_t count) {
    return count < kFewestRecords        ? Refusal::TooFew
           : count > kMostHistoryRecords ? Refusal::TooMany
                                         : Refusal::None;
}

}  // namespace

Acceptance acceptHistory(std::string_view text, bool localeDayFirst) {
    Acceptance acceptance;
    if (text.empty()) {
        acceptance.refusal = Refusal::NoData;
        return acceptance;
    }
    LinePass pass = readLines(text, acceptance);
    acceptance.formatPasses = looksLikePriceData(pass.sample);
    const bool confirmed = pass.layout.confirmed() && !pass.longLine && readsAsItStands(text);
    acceptance.layoutConfirmed = confirmed;
    if (!acceptance.formatPasses || !confirmed) {
        if (recognisedElsewise(text, localeDayFirst, acceptance)) {
            // Opened as it stands where the user declines the import (a newest-first file).
            dropHeaderAboveTheDays(acceptance);
            acceptance.prices = {};
            return acceptance;
        }
    }
    acceptance.recordError = pass.records.refusal();
    if (acceptance.recognition && dropHeaderAboveTheDays(acceptance)) {
        acceptance.recordError = recordRefusal(acceptance.records);
    }
    if (acceptance.recognition && !acceptance.recordError) {
        refuseRecordsBesideTheDays(acceptance);
        refuseRecordsThatNeedTheirOtherLines(acceptance, localeDayFirst);
    }
    const bool recognisedOwn = confirmed || acceptance.recognition->recognised();
    if (!acceptance.formatPasses) {
        acceptance.refusal = Refusal::NotPriceData;
    } else if (pass.longLine) {
        acceptance.refusal = Refusal::LongLine;
    } else if (countRefusal(acceptance.recordCount) != Refusal::None) {
        acceptance.refusal = countRefusal(acceptance.recordCount);
    } else if (!recognisedOwn) {
        acceptance.refusal = Refusal::NotATable;
    } else if (acceptance.recordError) {
        acceptance.refusal = Refusal::BadRecord;
    } else if (const std::optional<char> separator = detectSeparator(acceptance.records.front())) {
        acceptance.separator = *separator;
        acceptance.verdict = Verdict::Own;
    } else {
        acceptance.refusal = Refusal::NoSeparator;
    }
    // Confirmed, every record is a day of plain prices read at the separator, which the run reads
    // as the layout check did.
    if (!confirmed || acceptance.verdict != Verdict::Own ||
        pass.layout.separator() != acceptance.separator) {
        acceptance.prices = {};
    }
    return acceptance;
}

std::vector<import::Difference> Acceptance::differences() const {
    return verdict == Verdict::Import ? recognition->differences()
                                      : std::vector<import::Difference>{};
}

std::string Acceptance::refusalPhrase() const {
    switch (refusal) {
        case Refusal::None:
            break;
        case Refusal::NoData:
            return "the file contains no data";
        case Refusal::NotPriceData:
            return "the file does not appear to contain valid OHLC data";
        case Refusal::LongLine:
            return "a line is longer than 1 MiB, which no price file's line is";
        case Refusal::TooFew:
            return "only " + std::to_string(recordCount) +
                   (recordCount == 1 ? " record" : " records") + ", too few for a prediction";
        case Refusal::TooMany:
            return "more than " + std::to_string(kMostHistoryRecords) + " records";
        case Refusal::NotATable:
            return recognition->problem;
        case Refusal::BadRecord:
            return recordError->description();
        case Refusal::NoSeparator:
            return "the file contains neither TAB nor COMMA field separators";
    }
    return {};
}

}  // namespace aurelant
