#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/dates.h"
#include "platform/formmodel.h"

namespace aurelant {

class AppState;
class AppError;
struct PriceRecord;

struct NamedCaption {
    const char* name;
    const char* caption;
};

// The five-day panel: a grid of text boxes for the last five trading days of the open history
// file. Depending on the mode flags set by the command that opens it, it shows the last five
// days, lets the user type the latest day and append it to the file, or asks for the next
// day's Open for a prediction.
class DailyData : public FormModel {
  public:
    static constexpr int kDays = 5;
    static constexpr int kFields = 5;  // Date, Open, High, Low, Close

    static constexpr NamedCaption kHeading{"dailydatamainlabel", "Five-Day Price History"};
    static constexpr std::array<NamedCaption, kDays> kDayLabels{{
        {"day1label", "Day 1 (5 trading days ago):"},
        {"day2label", "Day 2 (4 trading days ago):"},
        {"day3label", "Day 3 (3 trading days ago):"},
        {"day4label", "Day 4 (2 trading days ago):"},
        {"Label1", "Day 5 (Last trading day):"},
    }};
    static constexpr std::array<NamedCaption, kFields> kFieldLabels{{
        {"datelabel", "Date"},
        {"openlabel", "Open"},
        {"highlabel", "High"},
        {"lowlabel", "Low"},
        {"closelabel", "Close"},
    }};
    static constexpr const char* kPrompt = "promptlabel";
    static constexpr std::array<NamedCaption, 3> kButtons{{
        {"predictcommand", "&Predict"},
        {"savecommand", "&Save"},
        {"cancelcommand", "&Cancel"},
    }};

    explicit DailyData(AppState& window);

    std::string name() const override { return "dailydata"; }
    std::string caption() const override { return "Add Five-Day Price History"; }
    std::vector<ControlState> controls() const override;
    bool setText(const std::string& control, const std::string& text) override;
    bool choose(const std::string& /*control*/) override { return false; }
    // Pressing a disabled button does nothing, as in the window.
    bool press(const std::string& control) override;

    // Fills the boxes and sets the prompt and buttons for the mode; runs before the showing.
    void load();

    void predictcommand_click();
    void savecommand_click();
    void cancelcommand_click();

    // The box of `day` (1..5) and `field` (0 = date, 1..4 = Open, High, Low, Close).
    static std::string boxName(int day, int field);
    const std::string& boxText(int day, int field) const { return boxes_[day - 1][field]; }
    const std::string& prompt() const { return prompt_; }
    bool buttonEnabled(const std::string& button) const;

  private:
    using PriceReading = std::array<double, 4> (*)(const PriceRecord&, long lineNumber);

    void loadFromFile();
    void loadForViewing();
    void loadForEntry();
    bool detectFileSeparator();
    void pushFile(PriceReading readPrices);
    void pushRecord(const std::array<double, 4>& prices);
    void showGridRows(int firstRow, int days);
    void startDayFive();
    bool dayFiveIsValid() const;
    struct TypedDate {
        CalendarDate date;
        std::string text;  // as the record writes it
    };
    std::optional<TypedDate> dayFiveDate();
    bool confirmedDayOfWeek(const TypedDate& date);
    bool fileHoldsWeekendDays() const;
    void showAddedDay(const std::string& date, const std::string& record);
    bool dayFiveIsOneBar();
    bool confirmedFarPrice(int field, const std::string& action);
    std::string writtenPrice(int field) const;
    std::string dayFiveRecord(const std::string& date) const;
    void closeFileAfter(const AppError& error);
    std::string* findBox(const std::string& control);

    AppState& window_;
    std::array<std::array<std::string, kFields>, kDays> boxes_{};
    std::string prompt_;
    bool saveEnabled_ = true;
    bool predictEnabled_ = false;
    // Until the load has found the file's separator, Save must not guess one.
    bool separatorMissing_ = true;
    // The file's last record as the load found it: its date text as written, and its Close
    // (0 until a record has been read).
    std::string latestDate_;
    double latestClose_ = 0;
    long records_ = 0;  // as the load counted them
};

}  // namespace aurelant
