#include "quotes/updateform.h"

#include <array>

#include "common/numtext.h"

namespace aurelant::quotes {
namespace {

struct Option {
    const char* control;
    Provider provider;
    const char* caption;
};

constexpr std::array<Option, 4> kOptions{{
    {UpdateForm::kYahoo, Provider::Yahoo, "&Yahoo Finance (shares, indices, currencies)"},
    {UpdateForm::kBinance, Provider::Binance, "&Binance (crypto-currencies, every day)"},
    {UpdateForm::kAlphaVantage, Provider::AlphaVantage, "&Alpha Vantage (needs a free key)"},
    {UpdateForm::kUrl, Provider::Url, "A &web address that answers CSV"},
}};

constexpr const char* kSymbolNote =
    "Type the symbol as the service writes it, or for a web address use {from} and {to} "
    "(yyyy-mm-dd) or {from_unix} and {to_unix} where the dates go.";

}  // namespace

UpdateForm::UpdateForm(const std::optional<Source>& remembered, bool keyKept) : keyKept_(keyKept) {
    if (remembered) {
        provider_ = remembered->provider;
        symbol_ = remembered->symbol;
    }
}

std::vector<ControlState> UpdateForm::controls() const {
    std::vector<ControlState> list;
    for (const Option& option : kOptions) {
        list.push_back({option.control, option.caption, true, option.provider == provider_});
    }
    const bool keyed = needsKey(provider_);
    list.push_back({kSymbol, symbol_, true, std::nullopt});
    // The key kept is never shown; typing one replaces it.
    list.push_back({kKey, key_, keyed, std::nullopt});
    std::string note = problem_;
    if (note.empty()) {
        note = keyed && keyKept_ && key_.empty() ? "A key is kept; type one to replace it."
                                                 : kSymbolNote;
    }
    list.push_back({kNote, note, true, std::nullopt});
    list.push_back({kUpdate, "&Update", true, std::nullopt});
    list.push_back({kCancel, "&Cancel", true, std::nullopt});
    return list;
}

bool UpdateForm::setText(const std::string& control, const std::string& text) {
    if (control == kSymbol) {
        symbol_ = text;
    } else if (control == kKey) {
        key_ = text;
    } else {
        return false;
    }
    return true;
}

bool UpdateForm::choose(const std::string& control) {
    for (const Option& option : kOptions) {
        if (control == option.control) {
            provider_ = option.provider;
            return true;
        }
    }
    return false;
}

bool UpdateForm::press(const std::string& control) {
    if (control == kUpdate) {
        updatecommand_click();
    } else if (control == kCancel) {
        cancelcommand_click();
    } else {
        return false;
    }
    return true;
}

// A choice that is not a source, or a provider without a key, keeps the form open and says why.
void UpdateForm::updatecommand_click() {
    std::string problem;
    const std::string text = std::string(providerName(provider_)) + ":" + trimmed(symbol_);
    const std::optional<Source> source = parseSource(text, &problem);
    key_ = trimmed(key_);
    if (!source) {
        problem_ = "Please correct the symbol: " + problem + ".";
        return;
    }
    if (needsKey(provider_) && key_.empty() && !keyKept_) {
        problem_ = "Please type your key: the service answers only with one.";
        return;
    }
    chosen_ = source;
    hide();
}

}  // namespace aurelant::quotes
