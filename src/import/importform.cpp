#include "import/importform.h"

#include <algorithm>
#include <utility>

#include "import/description.h"

namespace aurelant::import {
namespace {

constexpr std::size_t kShownAtEachEnd = 5;
constexpr const char* kLineEnd = "\r\n";

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : kLineEnd) + line;
    }
    return text;
}

// "Open: "Erster", Close: "Schluss"".
std::string pairText(const Evidence& evidence, const OpenClose& pair) {
    return "Open: " + columnLabel(evidence, pair.open) +
           ", Close: " + columnLabel(evidence, pair.close);
}

}  // namespace

std::size_t weekendDays(const Recognition& recognition) {
    return static_cast<std::size_t>(
        std::count_if(recognition.days.begin(), recognition.days.end(),
                      [](const DailyBar& bar) { return isWeekend(bar.date); }));
}

std::string previewText(const Recognition& recognition) {
    const std::vector<DailyBar>& days = recognition.days;
    std::vector<std::string> lines;
    for (std::size_t index = 0; index < days.size(); ++index) {
        if (index < kShownAtEachEnd || index + kShownAtEachEnd >= days.size()) {
            lines.push_back(days[index].line);
        } else if (index == kShownAtEachEnd) {
            lines.emplace_back("...");
        }
    }
    return joined(lines);
}

ImportForm::ImportForm(std::string bytes, bool localeDayFirst)
    : bytes_(std::move(bytes)), decoded_(decodeText(bytes_)) {
    overrides_.localeDayFirst = localeDayFirst;
    if (decoded_.encoding != Encoding::Utf8) {
        std::string().swap(bytes_);  // a second copy of a large file would double its memory
    }
}

void ImportForm::load() {
    recognition_ = recognise(decoded_, overrides_);
}

bool ImportForm::orderOpen() const {
    const Evidence& evidence = recognition_.evidence;
    return evidence.numericDates && evidence.orderSource != OrderSource::File;
}

std::vector<ControlState> ImportForm::controls() const {
    const bool dayFirst = recognition_.evidence.dayFirst;
    std::string evidence =
        recognition_.recognised() ? joined(describe(recognition_)) : recognition_.problem;
    if (!weekendNote_.empty()) {
        evidence += kLineEnd + weekendNote_;
    }
    std::vector<ControlState> states{
        {kEvidence, evidence, true, std::nullopt},
        {kPreview, previewText(recognition_), true, std::nullopt},
        {kDayFirst, "Dates are &day first (13/02/2024)", orderOpen(), dayFirst},
        {kMonthFirst, "Dates are &month first (02/13/2024)", orderOpen(), !dayFirst},
    };
    const Evidence& found = recognition_.evidence;
    const bool markOpen = found.marksAmbiguous;
    const char decimal = found.marks.decimal;
    states.push_back({kDecimalPoint,
                      markOpen ? "The decimal mark is a &point (1.234 is about 1)" : "", markOpen,
                      markOpen && decimal == '.'});
    states.push_back({kDecimalComma,
                      markOpen ? "The decimal mark is a c&omma (1,234 is about 1)" : "", markOpen,
                      markOpen && decimal == ','});
    const std::vector<OpenClose>& choices = found.openCloseChoices;
    for (std::size_t index = 0; index < std::size(kPriceChoices); ++index) {
        const bool offered = index < choices.size();
        const OpenClose taken{*found.columns[Role::Open], *found.columns[Role::Close]};
        states.push_back({kPriceChoices[index], offered ? pairText(found, choices[index]) : "",
                          offered, offered && choices[index] == taken});
    }
    states.push_back({kOk, "&Import", recognition_.recognised(), std::nullopt});
    states.push_back({kCancel, "&Cancel", true, std::nullopt});
    return states;
}

bool ImportForm::choose(const std::string& control) {
    if (control == kDayFirst) {
        dayfirstoption_click();
    } else if (control == kMonthFirst) {
        monthfirstoption_click();
    } else if (control == kDecimalPoint) {
        decimalpointoption_click();
    } else if (control == kDecimalComma) {
        decimalcommaoption_click();
    } else {
        const auto* choice = std::find(std::begin(kPriceChoices), std::end(kPriceChoices), control);
        if (choice == std::end(kPriceChoices)) {
            return false;
        }
        pricechoice_click(static_cast<std::size_t>(choice - std::begin(kPriceChoices)));
    }
    return true;
}

bool ImportForm::press(const std::string& control) {
    if (control == kOk) {
        okcommand_click();
    } else if (control == kCancel) {
        cancelcommand_click();
    } else {
        return false;
    }
    return true;
}

void ImportForm::okcommand_click() {
    if (recognition_.recognised()) {
        accepted_ = true;
        hide();
    }
}

void ImportForm::pricechoice_click(std::size_t index) {
    const std::vector<OpenClose>& choices = recognition_.evidence.openCloseChoices;
    if (index < choices.size()) {
        overrides_.openClose = choices[index];
        load();
    }
}

void ImportForm::chooseOrder(bool dayFirst) {
    if (orderOpen()) {
        overrides_.dayFirst = dayFirst;
        load();
        noteWeekends();
    }
}

void ImportForm::chooseDecimalMark(char mark) {
    if (recognition_.evidence.marksAmbiguous) {
        overrides_.decimalMark = mark;
        load();
    }
}

void ImportForm::noteWeekends() {
    weekendNote_.clear();
    const std::size_t weekends = weekendDays(recognition_);
    if (weekends == 0) {
        return;
    }
    Overrides other = overrides_;
    other.dayFirst = !recognition_.evidence.dayFirst;
    const Recognition otherOrder = recognise(decoded_, other);
    if (otherOrder.recognised() && weekendDays(otherOrder) == 0) {
        weekendNote_ = "Read " + std::string(recognition_.evidence.dayFirst ? "day" : "month") +
                       " first, " + std::to_string(weekends) +
                       (weekends == 1 ? " date falls" : " dates fall") +
                       " on a Saturday or Sunday, and none does read the other way: check the "
                       "order.";
    }
}

}  // namespace aurelant::import
