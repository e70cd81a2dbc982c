#include "import/importform.h"

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

}  // namespace

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

ImportForm::ImportForm(std::string_view text, bool localeDayFirst) : text_(text) {
    overrides_.localeDayFirst = localeDayFirst;
}

void ImportForm::load() {
    recognition_ = recognise(text_, overrides_);
}

bool ImportForm::orderOpen() const {
    const Evidence& evidence = recognition_.evidence;
    return evidence.numericDates && evidence.orderSource != OrderSource::File;
}

std::vector<ControlState> ImportForm::controls() const {
    const bool dayFirst = recognition_.evidence.dayFirst;
    const std::string evidence =
        recognition_.recognised() ? joined(describe(recognition_)) : recognition_.problem;
    return {
        {kEvidence, evidence, true, std::nullopt},
        {kPreview, previewText(recognition_), true, std::nullopt},
        {kDayFirst, "Dates are &day first (13/02/2024)", orderOpen(), dayFirst},
        {kMonthFirst, "Dates are &month first (02/13/2024)", orderOpen(), !dayFirst},
        {kOk, "&Import", recognition_.recognised(), std::nullopt},
        {kCancel, "&Cancel", true, std::nullopt},
    };
}

bool ImportForm::choose(const std::string& control) {
    if (control == kDayFirst) {
        dayfirstoption_click();
    } else if (control == kMonthFirst) {
        monthfirstoption_click();
    } else {
        return false;
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

void ImportForm::chooseOrder(bool dayFirst) {
    if (orderOpen()) {
        overrides_.dayFirst = dayFirst;
        load();
    }
}

}  // namespace aurelant::import
