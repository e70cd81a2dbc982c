#pragma once

#include <string>
#include <string_view>

#include "import/recognition.h"
#include "platform/formmodel.h"

namespace aurelant::import {

// The import's preview: what the recognition found in plain words, the first and last five
// daily records as they will be written, the choices the file leaves open (the day order of its
// dates, its decimal mark, its Open and Close), and Import or Cancel. Every choice reads the whole
// text again.
class ImportForm : public FormModel {
  public:
    static constexpr const char* kEvidence = "evidencelabel";
    static constexpr const char* kPreview = "previewtext";
    static constexpr const char* kDayFirst = "dayfirstoption";
    static constexpr const char* kMonthFirst = "monthfirstoption";
    static constexpr const char* kDecimalPoint = "decimalpointoption";
    static constexpr const char* kDecimalComma = "decimalcommaoption";
    // Where content leaves Open and Close to choose: one option a pair, up to three.
    static constexpr const char* kPriceChoices[] = {"pricechoice1", "pricechoice2", "pricechoice3"};
    static constexpr const char* kOk = "okcommand";
    static constexpr const char* kCancel = "cancelcommand";

    // The file's bytes; text in another encoding than UTF-8 is kept only as converted.
    ImportForm(std::string bytes, bool localeDayFirst);
    ImportForm(const ImportForm&) = delete;  // the decoded text views the bytes
    ImportForm& operator=(const ImportForm&) = delete;

    std::string name() const override { return "importform"; }
    std::string caption() const override { return "Import a Price File"; }
    std::vector<ControlState> controls() const override;
    bool choose(const std::string& control) override;
    bool press(const std::string& control) override;

    void load();
    void dayfirstoption_click() { chooseOrder(true); }
    void monthfirstoption_click() { chooseOrder(false); }
    void decimalpointoption_click() { chooseDecimalMark('.'); }
    void decimalcommaoption_click() { chooseDecimalMark(','); }
    void pricechoice_click(std::size_t index);
    void okcommand_click();
    void cancelcommand_click() { hide(); }

    const Recognition& recognition() const { return recognition_; }
    bool accepted() const { return accepted_; }
    // The options can change the order only of dates that do not show it.
    bool orderOpen() const;

  private:
    void chooseOrder(bool dayFirst);
    void chooseDecimalMark(char mark);
    // Says so where the order read makes weekend days of a file that has none in the other.
    void noteWeekends();

    std::string bytes_;
    DecodedText decoded_;
    Overrides overrides_;
    Recognition recognition_;
    std::string weekendNote_;
    bool accepted_ = false;
};

// The days of a recognition that fall on a Saturday or Sunday.
std::size_t weekendDays(const Recognition& recognition);

// The first and last five daily records, one a line, "..." between them when more are left out.
std::string previewText(const Recognition& recognition);

}  // namespace aurelant::import
