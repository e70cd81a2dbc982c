#pragma once

#include <optional>
#include <string>

#include "platform/formmodel.h"
#include "quotes/source.h"

namespace aurelant::quotes {

// File > Update from the Web: the provider, the symbol (or the address of a url: source) and,
// for a provider that needs one, its key; Update or Cancel.
class UpdateForm : public FormModel {
  public:
    static constexpr const char* kYahoo = "yahoooption";
    static constexpr const char* kBinance = "binanceoption";
    static constexpr const char* kAlphaVantage = "alphavantageoption";
    static constexpr const char* kUrl = "urloption";
    static constexpr const char* kSymbol = "symboltext";
    static constexpr const char* kKey = "keytext";
    static constexpr const char* kNote = "notelabel";
    static constexpr const char* kUpdate = "updatecommand";
    static constexpr const char* kCancel = "cancelcommand";

    // Starts from the file's remembered source; `keyKept` tells whether a key is kept already.
    UpdateForm(const std::optional<Source>& remembered, bool keyKept);

    std::string name() const override { return "updateform"; }
    std::string caption() const override { return "Update from the Web"; }
    std::vector<ControlState> controls() const override;
    bool setText(const std::string& control, const std::string& text) override;
    bool choose(const std::string& control) override;
    bool press(const std::string& control) override;

    void updatecommand_click();
    void cancelcommand_click() { hide(); }

    // The source chosen and the key typed, once Update was pressed with a valid choice.
    const std::optional<Source>& chosen() const { return chosen_; }
    const std::string& typedKey() const { return key_; }

  private:
    Provider provider_ = Provider::Yahoo;
    std::string symbol_;
    std::string key_;
    bool keyKept_ = false;
    std::string problem_;  // why the last Update did not begin
    std::optional<Source> chosen_;
};

}  // namespace aurelant::quotes
