#include "fiveday/dailydata.h"

#include <algorithm>
#include <optional>

#include "common/dates.h"
#include "common/errors.h"
#include "common/farprice.h"
#include "common/numtext.h"
#include "common/textfile.h"
#include "common/utf8.h"
#include "pricefile/historyformat.h"
#include "state/appstate.h"

namespace aurelant {
namespace {

constexpr const char* kNoSeparator =
    "This file contains neither TAB nor COMMA field separators, and cnnot be opened.";
constexpr const char* kAddPrompt =
    "Enter the latest Open, High, Low and Close (in the 'Day 5' row), then Save";
constexpr const char* kPredictPrompt =
    "Enter only the latest Open (in the 'Day 5' row), then Predict";
constexpr const char* kInvalidDayFive = "You must have valid data in the 'Day Five' area";
constexpr const char* kInvalidOpen = "'The day-5 Open' box must contain a valid value";

// The date a record gets when its date text is not a date.
constexpr CalendarDate kNotADate{1900, 1, 1};

constexpr const char* kNotOneBar = "The Open and the Close must lie between the Low and the High";
constexpr int kOpen = 1;
constexpr int kHigh = 2;
constexpr int kLow = 3;
constexpr int kClose = 4;

constexpr std::array<const char*, DailyData::kFields - 1> kPriceNames{"open", "high", "low",
                                                                      "close"};
constexpr std::array<const char*, DailyData::kFields - 1> kShownPriceNames{"Open", "High", "Low",
                                                                           "Close"};

ControlState control(const std::string& name, const std::string& text, bool enabled = true) {
    return {name, text, enabled, std::nullopt};
}

// The prices as the view shows them: the number each text begins with, 0 for none.
std::array<double, 4> leadingPrices(const PriceRecord& record, long /*recordNumber*/) {
    return {leadingNumber(record.open), leadingNumber(record.high), leadingNumber(record.low),
            leadingNumber(record.close)};
}

}  // namespace

DailyData::DailyData(AppState& window) : window_(window) {}

std::string DailyData::boxName(int day, int field) {
    const std::string number = std::to_string(day);
    if (field == 0) {
        return "date" + number + "text";
    }
    return "day" + number + kPriceNames[field - 1] + "text";
}

std::vector<ControlState> DailyData::controls() const {
    std::vector<ControlState> list{control(kHeading.name, kHeading.caption)};
    for (const NamedCaption& label : kFieldLabels) {
        list.push_back(control(label.name, label.caption));
    }
    for (int day = 1; day <= kDays; ++day) {
        list.push_back(control(kDayLabels[day - 1].name, kDayLabels[day - 1].caption));
        for (int field = 0; field < kFields; ++field) {
            list.push_back(control(boxName(day, field), boxText(day, field)));
        }
    }
    list.push_back(control(kPrompt, prompt_));
    for (const NamedCaption& button : kButtons) {
        list.push_back(control(button.name, button.caption, buttonEnabled(button.name)));
    }
    return list;
}

std::string* DailyData::findBox(const std::string& control) {
    for (int day = 1; day <= kDays; ++day) {
        for (int field = 0; field < kFields; ++field) {
            if (boxName(day, field) == control) {
                return &boxes_[day - 1][field];
            }
        }
    }
    return nullptr;
}

bool DailyData::setText(const std::string& control, const std::string& text) {
    std::string* box = findBox(control);
    if (box == nullptr) {
        return false;
    }
    *box = text;
    return true;
}

bool DailyData::buttonEnabled(const std::string& button) const {
    if (button == "predictcommand") {
        return predictEnabled_;
    }
    return button == "savecommand" ? saveEnabled_ : button == "cancelcommand";
}

bool DailyData::press(const std::string& control) {
    using Handler = void (DailyData::*)();
    static const std::array<std::pair<const char*, Handler>, 3> handlers{{
        {"predictcommand", &DailyData::predictcommand_click},
        {"savecommand", &DailyData::savecommand_click},
        {"cancelcommand", &DailyData::cancelcommand_click},
    }};
    for (const auto& [button, handler] : handlers) {
        if (control == button) {
            if (buttonEnabled(control)) {
                (this->*handler)();
            }
            return true;
        }
    }
    return false;
}

void DailyData::load() {
    saveEnabled_ = true;
    predictEnabled_ = false;
    prompt_.clear();
    if (!window_.globals.fileopen) {
        window_.showMessage("You must first open a file.");
        return;
    }
    try {
        loadFromFile();
    } catch (const std::exception& exception) {
        closeFileAfter(asAppError(exception));
        saveEnabled_ = false;
    }
}

void DailyData::loadFromFile() {
    if (!detectFileSeparator()) {
        window_.showMessage(kNoSeparator);
        return;
    }
    const Globals& globals = window_.globals;
    if (globals.viewdatamode) {
        loadForViewing();
    } else if (globals.addlatestmode || globals.movementmode) {
        loadForEntry();
    }
}

void DailyData::loadForViewing() {
    window_.globals.viewdatamode = false;
    saveEnabled_ = false;
    predictEnabled_ = false;
    pushFile(leadingPrices);
    showGridRows(1, kDays);
}

// The last four days above an empty row for the latest day (add latest) or the next Open.
void DailyData::loadForEntry() {
    Globals& globals = window_.globals;
    if (globals.addlatestmode) {
        saveEnabled_ = true;
        prompt_ = kAddPrompt;
    }
    if (globals.movementmode) {
        prompt_ = kPredictPrompt;
        saveEnabled_ = false;
        predictEnabled_ = true;
    }
    globals.fileopen = true;
    pushFile(recordPrices);
    showGridRows(2, kDays - 1);
    startDayFive();
}

bool DailyData::detectFileSeparator() {
    const std::optional<char> separator = historyFileSeparator(window_.globals.currentfile);
    separatorMissing_ = !separator;
    if (separator) {
        window_.globals.separator = std::string(1, *separator);
    }
    return !separatorMissing_;
}

// Only the last five records stay in the grid, so their dates are read once the whole file has
// been pushed (also when a price fails part-way: the grid then looks as if each date had been
// read as it was pushed).
void DailyData::pushFile(PriceReading readPrices) {
    records_ = 0;
    const char separator = window_.globals.separator.front();
    std::array<std::optional<std::string>, kDays + 1> dates;  // rows 1..kDays, as in the grid
    const auto settleDates = [&] {
        auto& grid = window_.globals.fivedays;
        for (int row = 1; row <= kDays; ++row) {
            if (dates[row]) {
                grid[row][0] = dateNumber(parseDate(*dates[row]).value_or(kNotADate));
            }
        }
    };
    try {
        LineReader reader(window_.globals.currentfile);
        std::string line;
        for (long lineNumber = 1; reader.next(line); ++lineNumber) {
            if (const auto record = splitRecord(line, separator)) {
                ++records_;
                const std::array<double, 4> prices = readPrices(*record, lineNumber);
                pushRecord(prices);
                std::shift_left(dates.begin() + 1, dates.end(), 1);
                dates[kDays] = record->date;
                latestDate_ = line.substr(0, line.find(separator));
                latestClose_ = prices.back();
            }
        }
    } catch (...) {
        settleDates();
        throw;
    }
    settleDates();
}

void DailyData::pushRecord(const std::array<double, 4>& prices) {
    auto& grid = window_.globals.fivedays;
    for (int row = 1; row < kDays; ++row) {
        grid[row] = grid[row + 1];
    }
    std::copy(prices.begin(), prices.end(), grid[kDays].begin() + 1);
}

// Fills the boxes of days 1.. from grid rows firstRow.. onwards.
void DailyData::showGridRows(int firstRow, int days) {
    const auto& grid = window_.globals.fivedays;
    for (int day = 1; day <= days; ++day) {
        const auto& row = grid[firstRow + day - 1];
        boxes_[day - 1][0] = formatDate(dateFromNumber(row[0]));
        for (int field = 1; field < kFields; ++field) {
            boxes_[day - 1][field] = numberText(row[field]);
        }
    }
}

void DailyData::startDayFive() {
    auto& dayFive = boxes_[kDays - 1];
    dayFive.fill("");
    dayFive[0] = formatDate(window_.platform.today());
}

void DailyData::closeFileAfter(const AppError& error) {
    window_.showMessage(errorMessage(ErrorWording::Number, error));
    Globals& globals = window_.globals;
    globals.currentfile.clear();
    globals.fileopen = false;
    window_.caption = globals.programtitle;
}

// Each price must be a possible price and its written text must not hold the separator, so that
// the appended record reads back as the same four prices; the Low must not lie above the High.
bool DailyData::dayFiveIsValid() const {
    const char separator = window_.globals.separator.front();
    std::array<double, kFields> prices{};
    for (int field = 1; field < kFields; ++field) {
        const std::optional<double> price = typedPrice(boxText(kDays, field));
        if (!price || writtenPrice(field).find(separator) != std::string::npos) {
            return false;
        }
        prices[field] = *price;
    }
    return prices[kLow] <= prices[kHigh];
}

// A price as typed, but with a point for its decimal comma, and without digit grouping in a
// comma-separated file.
std::string DailyData::writtenPrice(int field) const {
    std::string text = withDecimalPoint(trimmed(boxText(kDays, field)));
    if (window_.globals.separator == ",") {
        std::erase(text, ',');
    }
    return text;
}

// The typed date and its text in the form of the file's latest date; nothing, after a message,
// for a text that is not a date or a date that does not come after the latest one.
std::optional<DailyData::TypedDate> DailyData::dayFiveDate() {
    const std::string typed = trimmed(boxText(kDays, 0));
    const std::optional<CalendarDate> date = parseDate(typed);
    if (!date) {
        window_.showMessage("The Day 5 date " + shownValue(typed) +
                            " is not a date. Type the date of the trading day, for example " +
                            formatDate(window_.platform.today()) + ".");
        return std::nullopt;
    }
    const DatedForm latest = readDateAndForm(latestDate_);
    if (latest.date && *date <= *latest.date) {
        window_.showMessage("The Day 5 date must come after the file's latest date, " +
                            shownValue(latestDate_) + ".");
        return std::nullopt;
    }
    return TypedDate{*date, formatDate(*date, latest.form)};
}

// A Saturday or a Sunday is asked about, unless the file already holds such days (a market that
// trades every day); No is the default answer.
bool DailyData::confirmedDayOfWeek(const TypedDate& date) {
    if (!isWeekend(date.date) || fileHoldsWeekendDays()) {
        return true;
    }
    return window_.askYesNo(date.text +
                                " falls on a weekend, and the file holds no weekend days. Add it "
                                "all the same?",
                            kProgramShortTitle, AppState::DefaultAnswer::No);
}

bool DailyData::fileHoldsWeekendDays() const {
    const char separator = window_.globals.separator.front();
    LineReader reader(window_.globals.currentfile);
    std::string line;
    while (reader.next(line)) {
        const std::optional<CalendarDate> date = parseDate(line.substr(0, line.find(separator)));
        if (date && isWeekend(*date)) {
            return true;
        }
    }
    return false;
}

// The main screen tells what was added and what the file holds now.
void DailyData::showAddedDay(const std::string& date, const std::string& record) {
    window_.maintext.setText("Added the trading day " + date + " to " +
                             shownFileName(window_.globals.currentfile) + ", which now holds " +
                             std::to_string(records_ + 1) + " records:" + kLineEnd + kLineEnd +
                             record + kLineEnd);
}

bool DailyData::dayFiveIsOneBar() {
    std::array<double, kFields> prices{};
    for (int field = 1; field < kFields; ++field) {
        prices[field] = *typedPrice(boxText(kDays, field));
    }
    for (const int field : {kOpen, kClose}) {
        if (prices[field] < prices[kLow] || prices[field] > prices[kHigh]) {
            window_.showMessage(kNotOneBar);
            return false;
        }
    }
    // One question, about the first price far from the latest Close.
    for (int field = 1; field < kFields; ++field) {
        if (farFromLatestClose(prices[field], latestClose_)) {
            return confirmedFarPrice(field, "Save it");
        }
    }
    return true;
}

// No is the default answer.
bool DailyData::confirmedFarPrice(int field, const std::string& action) {
    return window_.askYesNo(
        farPriceQuestion(kShownPriceNames[field - 1], boxText(kDays, field), latestClose_, action),
        kProgramShortTitle, AppState::DefaultAnswer::No);
}

std::string DailyData::dayFiveRecord(const std::string& date) const {
    const std::string& separator = window_.globals.separator;
    std::string record = date;
    for (int field = 1; field < kFields; ++field) {
        record += separator + writtenPrice(field);
    }
    return record;
}

void DailyData::savecommand_click() {
    Globals& globals = window_.globals;
    if (!globals.fileopen) {
        window_.showMessage("You do not have a file opened.");
        return;
    }
    if (separatorMissing_) {
        window_.showMessage(kNoSeparator);
        return;
    }
    if (!dayFiveIsValid()) {
        window_.showMessage(kInvalidDayFive);
        return;
    }
    const std::optional<TypedDate> date = dayFiveDate();
    if (!date || !dayFiveIsOneBar()) {
        return;
    }
    globals.fileopen = true;
    try {
        if (!confirmedDayOfWeek(*date)) {
            return;
        }
        const std::string record = dayFiveRecord(date->text);
        appendLineToExistingFile(globals.currentfile, record);
        showAddedDay(date->text, record);
    } catch (const std::exception& exception) {
        closeFileAfter(asAppError(exception));
    }
    hide();
}

void DailyData::predictcommand_click() {
    Globals& globals = window_.globals;
    const double open = typedPrice(boxText(kDays, kOpen)).value_or(0);
    globals.nextopen = 0;
    if (open == 0) {
        window_.showMessage(kInvalidOpen);
        return;
    }
    if (farFromLatestClose(open, latestClose_) && !confirmedFarPrice(kOpen, "Predict with it")) {
        return;
    }
    globals.nextopen = open;
    hide();
}

void DailyData::cancelcommand_click() {
    Globals& globals = window_.globals;
    globals.addlatestmode = false;
    globals.viewdatamode = false;
    globals.movementmode = false;
    hide();
}

}  // namespace aurelant
