#include "import/columns.h"

#include <algorithm>
#include <cctype>

#include "import/cells.h"

namespace aurelant::import {
namespace {

struct Name {
    std::string_view text;  // lower case
    Role role;
};

constexpr Name kNames[] = {
    {"date", Role::Date},
    {"datum", Role::Date},
    {"data", Role::Date},
    {"fecha", Role::Date},
    {"<date>", Role::Date},
    {"<dtyyyymmdd>", Role::Date},
    {"time", Role::Time},
    {"zeit", Role::Time},
    {"<time>", Role::Time},
    {"open", Role::Open},
    {"er\xC3\xB6"
     "ffnung",
     Role::Open},
    {"erster", Role::Open},
    {"ouverture", Role::Open},
    {"apertura", Role::Open},
    {"<open>", Role::Open},
    {"high", Role::High},
    {"hoch", Role::High},
    {"haut", Role::High},
    {"plus haut", Role::High},
    {"m\xC3\xA1ximo", Role::High},
    {"massimo", Role::High},
    {"<high>", Role::High},
    {"low", Role::Low},
    {"tief", Role::Low},
    {"bas", Role::Low},
    {"plus bas", Role::Low},
    {"m\xC3\xADnimo", Role::Low},
    {"minimo", Role::Low},
    {"<low>", Role::Low},
    {"close", Role::Close},
    {"schluss", Role::Close},
    {"schlusskurs", Role::Close},
    {"cl\xC3\xB4ture", Role::Close},
    {"cierre", Role::Close},
    {"chiusura", Role::Close},
    {"close/last", Role::Close},
    {"price", Role::Close},
    {"last", Role::Close},
    {"<close>", Role::Close},
    {"adj close", Role::AdjustedClose},
    {"adj. close", Role::AdjustedClose},
    {"volume", Role::Volume},
    {"vol.", Role::Volume},
    {"vol", Role::Volume},
    {"volumen", Role::Volume},
    {"<vol>", Role::Volume},
    {"<volume>", Role::Volume},
    {"<ticker>", Role::Known},
    {"<per>", Role::Known},
    {"<openint>", Role::Known},
    {"change %", Role::Known},
};

constexpr const char* kRoleNames[] = {"Date",  "Time",   "Open",      "High", "Low",
                                      "Close", "Volume", "Adj Close", "other"};

constexpr Role kNeeded[] = {Role::Date, Role::Open, Role::High, Role::Low, Role::Close};

}  // namespace

bool Columns::complete() const {
    return std::all_of(std::begin(kNeeded), std::end(kNeeded),
                       [this](Role role) { return (*this)[role].has_value(); });
}

std::string Columns::missing() const {
    std::vector<const char*> names;
    for (const Role role : kNeeded) {
        if (!(*this)[role]) {
            names.push_back(roleName(role));
        }
    }
    std::string text;
    for (std::size_t index = 0; index < names.size(); ++index) {
        text += index == 0 ? "" : index + 1 == names.size() ? " and " : ", ";
        text += names[index];
    }
    return text;
}

std::size_t Columns::width() const {
    std::size_t width = 0;
    for (const Role role :
         {Role::Date, Role::Time, Role::Open, Role::High, Role::Low, Role::Close, Role::Volume}) {
        if ((*this)[role]) {
            width = std::max(width, *(*this)[role] + 1);
        }
    }
    return width;
}

std::optional<Role> roleOfName(std::string_view cell) {
    std::string name(unquoted(cell));
    while (!name.empty() && (name.back() == '*' || name.back() == ' ')) {
        name.pop_back();
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Name& known : kNames) {
        if (name == known.text) {
            return known.role;
        }
    }
    return std::nullopt;
}

std::optional<Columns> headerColumns(const std::vector<std::string_view>& cells) {
    Columns columns;
    int named = 0;
    for (std::size_t index = 0; index < cells.size(); ++index) {
        const std::optional<Role> role = roleOfName(cells[index]);
        if (!role) {
            continue;
        }
        ++named;
        if (!columns[*role]) {
            columns[*role] = index;
        }
    }
    if (named < 2) {
        return std::nullopt;
    }
    if (!columns[Role::Close] && columns[Role::AdjustedClose]) {
        columns[Role::Close] = columns[Role::AdjustedClose];
    }
    return columns;
}

const char* roleName(Role role) {
    return kRoleNames[static_cast<std::size_t>(role)];
}

}  // namespace aurelant::import
