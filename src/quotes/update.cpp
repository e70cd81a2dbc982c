#include "quotes/update.h"

#include <charconv>
#include <cmath>
#include <map>
#include <optional>

#include "common/errors.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "common/userfile.h"
#include "pricefile/historyformat.h"
#include "pricefile/latestrecord.h"
#include "quotes/answers.h"

namespace aurelant::quotes {
namespace {

constexpr int kMostDecimals = 8;

// What the update needs to know of a file: its layout and the Closes of its latest days.
struct FileFacts {
    char separator = ',';
    DateForm form;
    CalendarDate latest;
    std::string latestText;
    int decimals = 0;
    bool hasVolume = false;
    int volumeDecimals = 0;
    std::map<CalendarDate, std::string> closes;  // from a few days before the latest one
    FileStamp stamp;
};

// A reason for the update to fail, which the caller reports for the file.
struct Refusal {
    std::string reason;
};

CalendarDate addDays(const CalendarDate& date, int days) {
    return dateFromNumber(dateNumber(date) + days);
}

std::vector<std::string_view> fieldsOf(std::string_view line, char separator) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

int decimalsOf(std::string_view text) {
    text = trimmedView(text);
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

std::string fixed(double value, int decimals) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

double rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

FileFacts readFacts(const std::string& path) {
    FileFacts facts;
    facts.stamp = fileStamp(path);
    const std::optional<char> separator = historyFileSeparator(path);
    if (!separator) {
        throw Refusal{"the file holds neither comma- nor TAB-separated records"};
    }
    facts.separator = *separator;
    const std::optional<std::string> latest = latestRecordLine(path, facts.separator);
    if (!latest) {
        throw Refusal{"the file holds no price records"};
    }
    const std::vector<std::string_view> fields = fieldsOf(*latest, facts.separator);
    facts.latestText = std::string(trimmedView(fields[0]));
    const DatedForm dated = readDateAndForm(facts.latestText);
    if (!dated.date) {
        throw Refusal{"the date of the latest record, " + facts.latestText + ", is not a date"};
    }
    facts.form = dated.form;
    facts.latest = *dated.date;
    facts.hasVolume = fields.size() == 6;
    if (fields.size() > 6 || (facts.hasVolume && !plainDecimal(trimmedView(fields[5]), '\0'))) {
        throw Refusal{"its records hold more than Date, Open, High, Low, Close and Volume"};
    }
    facts.volumeDecimals = facts.hasVolume ? decimalsOf(fields[5]) : 0;

    const CalendarDate from = addDays(facts.latest, -kOverlapDays);
    LineReader reader(path);
    std::string line;
    while (reader.next(line)) {
        const std::optional<PriceRecord> record = splitRecord(line, facts.separator);
        const std::optional<CalendarDate> date =
            record ? readDateAndForm(trimmedView(line.substr(0, line.find(facts.separator)))).date
                   : std::nullopt;
        if (date && *date >= from) {
            facts.closes[*date] = std::string(trimmedView(record->close));
            for (const std::string_view price :
                 {record->open, record->high, record->low, record->close}) {
                facts.decimals =
                    std::min(kMostDecimals, std::max(facts.decimals, decimalsOf(price)));
            }
        }
    }
    return facts;
}

// The first day both hold whose Closes differ at the file's precision; a refusal when no day
// of the source is one of the file's.
void checkOverlap(const FileFacts& facts, const std::vector<QuoteBar>& bars) {
    std::size_t matched = 0;
    std::map<CalendarDate, double> source;
    for (const QuoteBar& bar : bars) {
        if (bar.date <= facts.latest && bar.prices[3]) {
            source[bar.date] = *bar.prices[3];
        }
    }
    for (const auto& [date, close] : source) {
        const auto held = facts.closes.find(date);
        if (held == facts.closes.end()) {
            continue;
        }
        std::optional<double> fileClose;
        try {
            fileClose = strictNumber(held->second);
        } catch (const AppError&) {
        }
        if (!fileClose || rounded(*fileClose, facts.decimals) != rounded(close, facts.decimals)) {
            throw Refusal{"the source's Close for " + formatDate(date, facts.form) + " is " +
                          fixed(close, facts.decimals) + ", the file's is " + held->second +
                          ": a split or an adjustment? Nothing was written"};
        }
        ++matched;
    }
    if (matched == 0) {
        throw Refusal{
            "the source has none of the file's latest days to check it against; "
            "is it the right symbol?"};
    }
}

// The record of a new day in the file's layout, or nothing for a day not fit to write.
std::optional<std::string> recordOf(const QuoteBar& bar, const FileFacts& facts) {
    std::array<double, 4> prices{};
    for (std::size_t field = 0; field < prices.size(); ++field) {
        if (!bar.prices[field] || !isPossiblePrice(rounded(*bar.prices[field], facts.decimals))) {
            return std::nullopt;
        }
        prices[field] = *bar.prices[field];
    }
    if (prices[1] < prices[2]) {
        return std::nullopt;
    }
    const std::string separator(1, facts.separator);
    std::string record = formatDate(bar.date, facts.form);
    for (const double price : prices) {
        record += separator + fixed(price, facts.decimals);
    }
    if (facts.hasVolume) {
        record += separator + fixed(bar.volume.value_or(0), facts.volumeDecimals);
    }
    return record;
}

void takeNewDays(const FileFacts& facts, const std::vector<QuoteBar>& bars,
                 const CalendarDate& today, UpdateResult& result) {
    CalendarDate previous = facts.latest;
    for (const QuoteBar& bar : bars) {
        if (bar.date <= facts.latest || bar.date >= today) {
            continue;
        }
        const std::optional<std::string> record =
            bar.date > previous ? recordOf(bar, facts) : std::nullopt;
        if (!record) {
            ++result.leftOut;
            continue;
        }
        previous = bar.date;
        result.lines.push_back(*record);
        (result.first.empty() ? result.first : result.last) = formatDate(bar.date, facts.form);
    }
    if (result.last.empty()) {
        result.last = result.first;
    }
}

std::string withoutKey(std::string text, const std::string& key) {
    for (std::size_t at = key.empty() ? std::string::npos : text.find(key); at != std::string::npos;
         at = text.find(key, at)) {
        text.replace(at, key.size(), "(key)");
    }
    return text;
}

UpdateResult update(const UpdateRequest& request, PoliteFetcher& fetcher,
                    const std::stop_token& stop) {
    requireUserFile(request.path, request.dryRun ? Access::Read : Access::ReadWrite);
    if (needsKey(request.source.provider) && request.key.empty()) {
        throw Refusal{std::string("a key for ") + providerName(request.source.provider) +
                      " is needed: set AURELANT_ALPHAVANTAGE_KEY or type it in File > Update "
                      "from the Web"};
    }
    const FileFacts facts = readFacts(request.path);
    UpdateResult result;
    result.outcome = UpdateResult::Outcome::UpToDate;
    const CalendarDate yesterday = addDays(request.today, -1);
    if (facts.latest >= yesterday) {
        return result;
    }
    const std::string address = requestAddress(request.source, addDays(facts.latest, -kOverlapDays),
                                               yesterday, request.key);
    const Series series =
        readAnswer(request.source.provider, fetcher.get(address, stop), request.now);
    if (!series.problem.empty()) {
        throw Refusal{series.problem};
    }
    checkOverlap(facts, series.bars);
    takeNewDays(facts, series.bars, request.today, result);
    if (result.lines.empty()) {
        return result;
    }
    result.outcome = UpdateResult::Outcome::Added;
    if (!request.dryRun) {
        appendLinesToExistingFile(request.path, result.lines, facts.stamp);
    }
    return result;
}

}  // namespace

std::string UpdateResult::summary(bool dryRun) const {
    std::string text;
    if (outcome == Outcome::Failed) {
        return reason;
    }
    if (outcome == Outcome::UpToDate) {
        text = "up to date";
    } else {
        text = std::to_string(lines.size()) + (lines.size() == 1 ? " day " : " days ") +
               (dryRun ? "to add" : "added") + " (" + first + " to " + last + ")";
    }
    if (leftOut > 0) {
        text += "; " + std::to_string(leftOut) + (leftOut == 1 ? " day" : " days") +
                " left out (missing prices, a High below the Low, a date out of order or a "
                "price out of range)";
    }
    return text;
}

UpdateResult updateFile(const UpdateRequest& request, PoliteFetcher& fetcher,
                        std::stop_token stop) {
    UpdateResult failed;
    try {
        return update(request, fetcher, stop);
    } catch (const Refusal& refusal) {
        failed.reason = refusal.reason;
    } catch (const std::exception& exception) {
        failed.reason = asAppError(exception).description();
    }
    failed.reason = withoutKey(failed.reason, request.key);
    return failed;
}

}  // namespace aurelant::quotes
