#pragma once

#include <array>
#include <string>

#include "platform/formmodel.h"

namespace aurelant {

class AppState;
struct Globals;

// The save-as choice dialog: five options, one of which the user picks, and Proceed or Cancel.
// The choice comes back through the shared `savechoice`. A caller that sets `savechoice` to
// "repredict" before the load gets the re-prediction mode, where only the HTML and document
// options can be chosen.
class SaveAsForm : public FormModel {
  public:
    struct Option {
        const char* name;
        const char* caption;
        const char* choice;  // the value that Proceed puts into `savechoice`
    };
    // In the order Proceed tests them.
    static constexpr std::array<Option, 5> kOptions{{
        {"textoption", "Save prediction data as a TEXT (tab-separated) file", "text"},
        {"htmloption", "Save prediction data as an HTML file", "html"},
        {"csvoption", "Save prediction data as a CSV (comma-separated-value) file", "csv"},
        {"screenoption", "Save data on screen just as displayed", "screen"},
        {"docoption", "Save re-prediction data as a document", "doc"},
    }};
    static constexpr const char* kProceed = "proceedcommand";
    static constexpr const char* kCancel = "cancelcommand";

    explicit SaveAsForm(Globals& globals);

    std::string name() const override { return "saveasform"; }
    std::string caption() const override { return "Save Prediction As"; }
    // In tab order: the first three options, the two buttons, then the last two options.
    std::vector<ControlState> controls() const override;
    // Choosing a greyed-out option does nothing, as in the window.
    bool choose(const std::string& control) override;
    bool press(const std::string& control) override;

    // Sets the options' enabled state for the mode that `savechoice` asks for.
    void load();
    void proceedcommand_click();
    void cancelcommand_click();

    bool optionEnabled(std::size_t index) const { return enabled_[index]; }
    bool optionSelected(std::size_t index) const { return selected_ == index; }

  private:
    static constexpr std::size_t kNone = kOptions.size();

    Globals& globals_;
    std::array<bool, kOptions.size()> enabled_{};
    std::size_t selected_ = kNone;
};

// Loads the save-as dialog, shows it modally and unloads it; the caller then reads
// `savechoice`.
void showSaveAsForm(AppState& window);

// The toolbar's save picture: the dialog in its normal mode, then the save the user chose.
void saveInChosenForm(AppState& window);

}  // namespace aurelant
