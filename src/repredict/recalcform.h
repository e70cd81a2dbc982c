#pragma once

#include <string>
#include <vector>

#include "platform/formmodel.h"
#include "repredict/reprediction.h"

namespace aurelant {

class AppState;

// The re-prediction dialog: one or two prices seen during the day and the user's view of the
// Open. Re-Predict shows the re-prediction and offers to print and save it; the dialog stays
// open with its entries for another try until Cancel. Every opening starts afresh.
class RecalcForm : public FormModel {
  public:
    enum class Kind { Label, TextBox, Option, Button };
    struct Control {
        std::string name;
        Kind kind;
        std::string caption;           // empty for the text boxes
        int left, top, width, height;  // twips
        int tabIndex;
        bool wraps = false;  // sentences that wrap inside the box; other captions keep their lines
    };
    // The client area in twips and the controls in their places, top to bottom.
    static constexpr int kWidth = 5310;
    static constexpr int kHeight = 5070;
    static const std::vector<Control>& layout();

    explicit RecalcForm(AppState& window);

    std::string name() const override { return "recalcform"; }
    std::string caption() const override { return "Re-Predict"; }
    std::vector<ControlState> controls() const override;
    bool setText(const std::string& control, const std::string& text) override;
    bool choose(const std::string& control) override;
    bool press(const std::string& control) override;

    void recalccommand_click();
    void cancelcommand_click() { hide(); }

  private:
    using Box = std::string RecalcForm::*;
    // The text box of that name; null for any other name.
    static Box box(const std::string& control);

    AppState& window_;
    std::string newpricetext_;
    std::string secondtext_;
    OpenExtreme openIs_ = OpenExtreme::Neither;
};

// The `recalc` menu item: the dialog, shown modally until it is cancelled.
void showRecalcForm(AppState& window);

// The `repredimage` picture: the same once a prediction with an Open has been made.
void recalcFromPicture(AppState& window);

}  // namespace aurelant
