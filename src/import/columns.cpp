#include "import/columns.h"

#include <algorithm>
#include <cctype>

#include "common/utf8.h"
#include "import/cells.h"

namespace aurelant::import {
namespace {

// The names of columns in the languages and abbreviations of quote services, brokers and
// spreadsheets, lower case.
struct Name {
    std::string_view text;
    Role role;
};

constexpr Name kNames[] = {
    {"date", Role::Date},
    {"datum", Role::Date},
    {"data", Role::Date},
    {"fecha", Role::Date},
    {"<date>", Role::Date},
    {"<dtyyyymmdd>", Role::Date},
    {"day", Role::Date},
    {"timestamp", Role::Date},
    {"datetime", Role::Date},
    {"date/time", Role::Date},
    {"time stamp", Role::Date},
    {"tarih", Role::Date},
    {"\xD0\xB4\xD0\xB0\xD1\x82\xD0\xB0", Role::Date},
    {"\xE6\x97\xA5\xE6\x9C\x9F", Role::Date},
    {"\xE6\x97\xA5\xE4\xBB\x98", Role::Date},
    {"\xEB\x82\xA0\xEC\xA7\x9C", Role::Date},
    {"\xEC\x9D\xBC\xEC\x9E\x90", Role::Date},
    {"\xE4\xBA\xA4\xE6\x98\x93\xE6\x97\xA5\xE6\x9C\x9F", Role::Date},
    {"trade date", Role::Date},
    {"tradedate", Role::Date},
    {"dato", Role::Date},
    {"p\xC3\xA4iv\xC3\xA4m\xC3\xA4\xC3\xA4r\xC3\xA4", Role::Date},
    {"window_start", Role::Date},
    {"t", Role::Date},
    {"time", Role::Time},
    {"zeit", Role::Time},
    {"<time>", Role::Time},
    {"heure", Role::Time},
    {"hora", Role::Time},
    {"ora", Role::Time},
    {"tijd", Role::Time},
    {"tid", Role::Time},
    {"czas", Role::Time},
    {"saat", Role::Time},
    {"\xD0\xB2\xD1\x80\xD0\xB5\xD0\xBC\xD1\x8F", Role::Time},
    {"\xE6\x97\xB6\xE9\x97\xB4", Role::Time},
    {"\xE6\x99\x82\xE9\x96\x93", Role::Time},
    {"\xEC\x8B\x9C\xEA\xB0\x84", Role::Time},
    {"open", Role::Open},
    {"opening", Role::Open},
    {"opening price", Role::Open},
    {"open price", Role::Open},
    {"o", Role::Open},
    {"erster", Role::Open},
    {"er\xC3\xB6"
     "ffnung",
     Role::Open},
    {"er\xC3\xB6"
     "ffnungskurs",
     Role::Open},
    {"eroeffnung", Role::Open},
    {"ouverture", Role::Open},
    {"ouv", Role::Open},
    {"apertura", Role::Open},
    {"abertura", Role::Open},
    {"openingskoers", Role::Open},
    {"otwarcie", Role::Open},
    {"\xC3\xB6ppning", Role::Open},
    {"\xC3\xB6ppen", Role::Open},
    {"\xC3\xB6ppningskurs", Role::Open},
    {"a\xC3\xA7\xC4\xB1l\xC4\xB1\xC5\x9F", Role::Open},
    {"acilis", Role::Open},
    {"\xD0\xBE\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD0\xB8\xD0\xB5", Role::Open},
    {"\xD0\xBE\xD1\x82\xD0\xBA\xD1\x80", Role::Open},
    {"\xE5\xBC\x80\xE7\x9B\x98", Role::Open},
    {"\xE5\xBC\x80\xE7\x9B\x98\xE4\xBB\xB7", Role::Open},
    {"\xE4\xBB\x8A\xE5\xBC\x80", Role::Open},
    {"\xE5\xA7\x8B\xE5\x80\xA4", Role::Open},
    {"\xEC\x8B\x9C\xEA\xB0\x80", Role::Open},
    {"avaus", Role::Open},
    {"avauskurssi", Role::Open},
    {"\xC3\xA5"
     "bning",
     Role::Open},
    {"\xC3\xA5"
     "bningskurs",
     Role::Open},
    {"\xC3\xA5pning", Role::Open},
    {"\xC3\xA5pningskurs", Role::Open},
    {"<open>", Role::Open},
    {"px_open", Role::Open},
    {"first", Role::Open},
    {"high", Role::High},
    {"highest", Role::High},
    {"high price", Role::High},
    {"h", Role::High},
    {"hoch", Role::High},
    {"tageshoch", Role::High},
    {"h\xC3\xB6"
     "chst",
     Role::High},
    {"h\xC3\xB6"
     "chstkurs",
     Role::High},
    {"hochkurs", Role::High},
    {"haut", Role::High},
    {"plus haut", Role::High},
    {"m\xC3\xA1ximo", Role::High},
    {"m\xC3\xA1x", Role::High},
    {"maximo", Role::High},
    {"massimo", Role::High},
    {"m\xC3\xA1xima", Role::High},
    {"maxima", Role::High},
    {"max", Role::High},
    {"hoog", Role::High},
    {"hoogste", Role::High},
    {"najwy\xC5\xBCszy", Role::High},
    {"najwyzszy", Role::High},
    {"h\xC3\xB6gst", Role::High},
    {"h\xC3\xB6gsta", Role::High},
    {"y\xC3\xBCksek", Role::High},
    {"en y\xC3\xBCksek", Role::High},
    {"\xD0\xBC\xD0\xB0\xD0\xBA\xD1\x81\xD0\xB8\xD0\xBC\xD1\x83\xD0\xBC", Role::High},
    {"\xD0\xBC\xD0\xB0\xD0\xBA\xD1\x81", Role::High},
    {"\xE6\x9C\x80\xE9\xAB\x98", Role::High},
    {"\xE6\x9C\x80\xE9\xAB\x98\xE4\xBB\xB7", Role::High},
    {"\xE9\xAB\x98\xE5\x80\xA4", Role::High},
    {"\xEA\xB3\xA0\xEA\xB0\x80", Role::High},
    {"ylin", Role::High},
    {"korkein", Role::High},
    {"h\xC3\xB8jeste", Role::High},
    {"h\xC3\xB8j", Role::High},
    {"h\xC3\xB8y", Role::High},
    {"h\xC3\xB8yeste", Role::High},
    {"<high>", Role::High},
    {"px_high", Role::High},
    {"low", Role::Low},
    {"lowest", Role::Low},
    {"low price", Role::Low},
    {"l", Role::Low},
    {"tief", Role::Low},
    {"tagestief", Role::Low},
    {"tiefst", Role::Low},
    {"tiefstkurs", Role::Low},
    {"tiefkurs", Role::Low},
    {"bas", Role::Low},
    {"plus bas", Role::Low},
    {"m\xC3\xADnimo", Role::Low},
    {"m\xC3\xADn", Role::Low},
    {"minimo", Role::Low},
    {"m\xC3\xADnima", Role::Low},
    {"minima", Role::Low},
    {"min", Role::Low},
    {"laag", Role::Low},
    {"laagste", Role::Low},
    {"najni\xC5\xBCszy", Role::Low},
    {"najnizszy", Role::Low},
    {"l\xC3\xA4gst", Role::Low},
    {"l\xC3\xA4gsta", Role::Low},
    {"d\xC3\xBC\xC5\x9F\xC3\xBCk", Role::Low},
    {"en d\xC3\xBC\xC5\x9F\xC3\xBCk", Role::Low},
    {"\xD0\xBC\xD0\xB8\xD0\xBD\xD0\xB8\xD0\xBC\xD1\x83\xD0\xBC", Role::Low},
    {"\xD0\xBC\xD0\xB8\xD0\xBD", Role::Low},
    {"\xE6\x9C\x80\xE4\xBD\x8E", Role::Low},
    {"\xE6\x9C\x80\xE4\xBD\x8E\xE4\xBB\xB7", Role::Low},
    {"\xE5\xAE\x89\xE5\x80\xA4", Role::Low},
    {"\xEC\xA0\x80\xEA\xB0\x80", Role::Low},
    {"alin", Role::Low},
    {"matalin", Role::Low},
    {"laveste", Role::Low},
    {"lav", Role::Low},
    {"<low>", Role::Low},
    {"px_low", Role::Low},
    {"close", Role::Close},
    {"closing", Role::Close},
    {"closing price", Role::Close},
    {"close price", Role::Close},
    {"close/last", Role::Close},
    {"last", Role::Close},
    {"last price", Role::Close},
    {"latest", Role::Close},
    {"price", Role::Close},
    {"c", Role::Close},
    {"schluss", Role::Close},
    {"schlusskurs", Role::Close},
    {"letzter", Role::Close},
    {"schlusspreis", Role::Close},
    {"cl\xC3\xB4ture", Role::Close},
    {"cloture", Role::Close},
    {"dernier", Role::Close},
    {"cierre", Role::Close},
    {"\xC3\xBAltimo", Role::Close},
    {"ultimo", Role::Close},
    {"chiusura", Role::Close},
    {"fechamento", Role::Close},
    {"fecho", Role::Close},
    {"slot", Role::Close},
    {"slotkoers", Role::Close},
    {"zamkni\xC4\x99"
     "cie",
     Role::Close},
    {"zamkniecie", Role::Close},
    {"kurs", Role::Close},
    {"st\xC3\xA4ngning", Role::Close},
    {"senast", Role::Close},
    {"st\xC3\xA4ngn", Role::Close},
    {"kapan\xC4\xB1\xC5\x9F", Role::Close},
    {"kapanis", Role::Close},
    {"son", Role::Close},
    {"\xD0\xB7\xD0\xB0\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD0\xB8\xD0\xB5", Role::Close},
    {"\xD0\xB7\xD0\xB0\xD0\xBA\xD1\x80", Role::Close},
    {"\xE6\x94\xB6\xE7\x9B\x98", Role::Close},
    {"\xE6\x94\xB6\xE7\x9B\x98\xE4\xBB\xB7", Role::Close},
    {"\xE7\xBB\x88\xE5\x80\xBC", Role::Close},
    {"\xE7\xB5\x82\xE5\x80\xA4", Role::Close},
    {"\xEC\xA2\x85\xEA\xB0\x80", Role::Close},
    {"p\xC3\xA4\xC3\xA4t\xC3\xB6skurssi", Role::Close},
    {"p\xC3\xA4\xC3\xA4t\xC3\xB6s", Role::Close},
    {"lukkekurs", Role::Close},
    {"slutkurs", Role::Close},
    {"sluttkurs", Role::Close},
    {"siste", Role::Close},
    {"st\xC3\xA4ngningskurs", Role::Close},
    {"<close>", Role::Close},
    {"px_last", Role::Close},
    {"px_close", Role::Close},
    {"volume", Role::Volume},
    {"vol", Role::Volume},
    {"volumen", Role::Volume},
    {"<vol>", Role::Volume},
    {"<volume>", Role::Volume},
    {"umsatz", Role::Volume},
    {"st\xC3\xBC"
     "ck",
     Role::Volume},
    {"volym", Role::Volume},
    {"wolumen", Role::Volume},
    {"hacim", Role::Volume},
    {"\xD0\xBE\xD0\xB1\xD1\x8A\xD0\xB5\xD0\xBC", Role::Volume},
    {"\xD0\xBE\xD0\xB1\xD1\x8A\xD1\x91\xD0\xBC", Role::Volume},
    {"\xE6\x88\x90\xE4\xBA\xA4\xE9\x87\x8F", Role::Volume},
    {"\xE5\x87\xBA\xE6\x9D\xA5\xE9\xAB\x98", Role::Volume},
    {"\xEA\xB1\xB0\xEB\x9E\x98\xEB\x9F\x89", Role::Volume},
    {"px_volume", Role::Volume},
    {"v", Role::Volume},
    {"qty", Role::Volume},
    {"quantity", Role::Volume},
    {"adj close", Role::AdjustedClose},
    {"adj. close", Role::AdjustedClose},
    {"adjusted close", Role::AdjustedClose},
    {"adj_close", Role::AdjustedClose},
    {"adjclose", Role::AdjustedClose},
    {"adjusted", Role::AdjustedClose},
    {"adj", Role::AdjustedClose},
    {"\xE8\xAA\xBF\xE6\x95\xB4\xE5\xBE\x8C\xE7\xB5\x82\xE5\x80\xA4", Role::AdjustedClose},
    {"\xE5\xA4\x8D\xE6\x9D\x83\xE6\x94\xB6\xE7\x9B\x98\xE4\xBB\xB7", Role::AdjustedClose},
    {"\xEC\x88\x98\xEC\xA0\x95\xEC\xA2\x85\xEA\xB0\x80", Role::AdjustedClose},
    {"schlusskurs bereinigt", Role::AdjustedClose},
    {"<ticker>", Role::Known},
    {"<per>", Role::Known},
    {"<openint>", Role::Known},
    {"change %", Role::Known},
    {"change", Role::Known},
    {"chg", Role::Known},
    {"chg%", Role::Known},
    {"change(%)", Role::Known},
    {"pct change", Role::Known},
    {"% change", Role::Known},
    {"ticker", Role::Known},
    {"symbol", Role::Known},
    {"code", Role::Known},
    {"isin", Role::Known},
    {"wkn", Role::Known},
    {"open interest", Role::Known},
    {"openinterest", Role::Known},
    {"oi", Role::Known},
    {"turnover", Role::Known},
    {"amount", Role::Known},
    {"trades", Role::Known},
    {"transactions", Role::Known},
    {"vwap", Role::Known},
    {"previous close", Role::Known},
    {"prev close", Role::Known},
    {"prev. close", Role::Known},
    {"prevclose", Role::Known},
    {"previous", Role::Known},
    {"prev", Role::Known},
    {"\xE8\x82\xA1\xE7\xA5\xA8\xE4\xBB\xA3\xE7\xA0\x81", Role::Known},
    {"\xE4\xBB\xA3\xE7\xA0\x81", Role::Known},
    {"\xE6\x88\x90\xE4\xBA\xA4\xE9\xA2\x9D", Role::Known},
    {"\xE6\xB6\xA8\xE8\xB7\x8C\xE5\xB9\x85", Role::Known},
    {"\xE6\xB6\xA8\xE8\xB7\x8C\xE9\xA2\x9D", Role::Known},
    {"\xE6\x8C\xAF\xE5\xB9\x85", Role::Known},
    {"\xE6\x8D\xA2\xE6\x89\x8B\xE7\x8E\x87", Role::Known},
    {"\xE5\x89\x8D\xE6\x94\xB6\xE7\x9B\x98", Role::Known},
    {"\xE6\x98\xA8\xE6\x94\xB6", Role::Known},
    {"\xE5\xA4\x89\xE5\x8C\x96\xE7\x8E\x87", Role::Known},
    {"\xEB\x93\xB1\xEB\x9D\xBD\xEB\xA5\xA0", Role::Known},
    {"variation", Role::Known},
    {"var.", Role::Known},
    {"var", Role::Known},
    {"var %", Role::Known},
    {"varia\xC3\xA7\xC3\xA3o", Role::Known},
    {"zmiana", Role::Known},
    {"de\xC4\x9Fi\xC5\x9Fim", Role::Known},
    {"\xD0\xB8\xD0\xB7\xD0\xBC\xD0\xB5\xD0\xBD\xD0\xB5\xD0\xBD\xD0\xB8\xD0\xB5", Role::Known},
    {"\xC3\xA4nderung", Role::Known},
    {"ver\xC3\xA4nderung", Role::Known},
    {"differenz", Role::Known},
    {"bid", Role::Known},
    {"ask", Role::Known},
    {"offer", Role::Known},
    {"average", Role::Known},
    {"avg", Role::Known},
    {"mean", Role::Known},
    {"52w", Role::Known},
    {"52wk", Role::Known},
    {"week", Role::Known},
    {"year", Role::Known},
    {"ostotarjous", Role::Known},
    {"myyntitarjous", Role::Known},
    {"keskikurssi", Role::Known},
    {"k\xC3\xB8"
     "bskurs",
     Role::Known},
    {"salgskurs", Role::Known},
    {"kj\xC3\xB8per", Role::Known},
    {"selger", Role::Known},
    {"k\xC3\xB6pkurs", Role::Known},
    {"s\xC3\xA4ljkurs", Role::Known},
    {"k\xC3\xB6p", Role::Known},
    {"s\xC3\xA4lj", Role::Known},
    {"genomsnitt", Role::Known},
    {"+/-", Role::Known},
    {"%", Role::Known},
};

}  // namespace

std::optional<Role> knownName(std::string_view name) {
    for (const Name& known : kNames) {
        if (name == known.text) {
            return known.role;
        }
    }
    return std::nullopt;
}

std::optional<Role> roleOfName(std::string_view cell) {
    std::string name = lowerCase(unquoted(cell));
    while (!name.empty() &&
           (name.back() == '*' || name.back() == ' ' || name.back() == '.' || name.back() == ':')) {
        name.pop_back();
    }
    if (const auto role = knownName(name)) {
        return role;
    }
    // Words of a longer name, "PX_OPEN", "mid.o", "Open Price (USD)": one that says adjusted or
    // names something else decides; otherwise the last that names a role, a word for any price
    // ("price", "Kurs") only where no other does.
    std::vector<std::string> words;
    std::string word;
    for (const char c : name + ' ') {
        if (std::string_view(" _./()[]-:").find(c) != std::string_view::npos) {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += c;
        }
    }
    std::optional<Role> found;
    std::optional<Role> anyPrice;
    for (const std::string& each : words) {
        const auto role = knownName(each);
        if (role == Role::AdjustedClose || role == Role::Known) {
            return role;
        }
        if (role) {
            (each == "price" || each == "kurs" ? anyPrice : found) = role;
        }
    }
    found = found ? found : anyPrice;
    if (!found) {
        // Names that begin with a role's word and add to it, as "开盘价" or "Schlusskurs in EUR".
        for (const Name& known : kNames) {
            if (known.text.size() >= 3 && name.starts_with(known.text)) {
                return known.role;
            }
        }
    }
    return found;
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

}  // namespace aurelant::import
