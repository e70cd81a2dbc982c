#include "scenario/runner.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <charconv>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include "app/aurelant.h"
#include "chart/pricechart.h"
#include "common/textfile.h"
#include "scenario/generated_history.h"
#include "scenario/scripted_platform.h"
#include "watchlist/watchlist.h"

namespace aurelant {
namespace {

class ScriptFault : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

void createFile(const std::string& name, const std::string& content) {
    std::ofstream file(name, std::ios::binary);
    if (!(file << content) || !file.flush()) {
        throw ScriptFault("cannot write the file " + name);
    }
}

// Undoes the escapes \t, \r, \n and \\; any other backslash stays as it stands.
std::string unescaped(std::string_view text) {
    static const std::map<char, char> escapes = {
        {'t', '\t'}, {'r', '\r'}, {'n', '\n'}, {'\\', '\\'}};
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto escape =
            text[i] == '\\' && i + 1 < text.size() ? escapes.find(text[i + 1]) : escapes.end();
        if (escape == escapes.end()) {
            out += text[i];
        } else {
            out += escape->second;
            ++i;
        }
    }
    return out;
}

template <typename Number>
std::string shortest(Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

template <typename Container, typename Format>
std::string joined(const Container& items, const std::string& glue, Format format) {
    std::string out;
    for (const auto& item : items) {
        out += (out.empty() ? "" : glue) + format(item);
    }
    return out;
}

using StatePrinter = std::function<std::string(const Globals&)>;

std::string flag(bool value) {
    return value ? "true" : "false";
}

const std::map<std::string, StatePrinter>& statePrinters() {
    auto number = [](auto member) {
        return [member](const Globals& g) { return shortest(g.*member); };
    };
    auto text = [](std::string Globals::*member) {
        return [member](const Globals& g) { return quoted(g.*member); };
    };
    auto truth = [](bool Globals::*member) {
        return [member](const Globals& g) { return flag(g.*member); };
    };
    static const std::map<std::string, StatePrinter> printers = {
        {"fivedays",
         [](const Globals& g) {
             return joined(g.fivedays, "; ", [](const auto& row) {
                 return joined(row, " ", [](double value) { return shortest(value); });
             });
         }},
        {"upprobtable",
         [](const Globals& g) {
             return joined(g.upprobtable, " ", [](float value) { return shortest(value); });
         }},
        {"reverselines",
         [](const Globals& g) {
             std::size_t used = g.reverselines.size();
             while (used > 1 && g.reverselines[used - 1].empty()) {
                 --used;
             }
             std::string out;
             for (std::size_t i = 0; i < used; ++i) {
                 out += (i == 0 ? "" : " ") + quoted(g.reverselines[i]);
             }
             return out;
         }},
        {"fileopen", truth(&Globals::fileopen)},
        {"predictiondone", truth(&Globals::predictiondone)},
        {"directionup", truth(&Globals::directionup)},
        {"currentfile", text(&Globals::currentfile)},
        {"patterncode", number(&Globals::patterncode)},
        {"addlatestmode", truth(&Globals::addlatestmode)},
        {"viewdatamode", truth(&Globals::viewdatamode)},
        {"movementmode", truth(&Globals::movementmode)},
        {"repredictready", truth(&Globals::repredictready)},
        {"reporttext", text(&Globals::reporttext)},
        {"crlf", text(&Globals::crlf)},
        {"nextopen", number(&Globals::nextopen)},
        {"programtitle", text(&Globals::programtitle)},
        {"vieweraddress", text(&Globals::vieweraddress)},
        {"strategytext", text(&Globals::strategytext)},
        {"level75text", text(&Globals::level75text)},
        {"probabilitytext", text(&Globals::probabilitytext)},
        {"separator", text(&Globals::separator)},
        {"noconfidence", truth(&Globals::noconfidence)},
        {"rangevolatility", number(&Globals::rangevolatility)},
        {"probability", number(&Globals::probability)},
        {"displayfrom", number(&Globals::displayfrom)},
        {"savechoice", text(&Globals::savechoice)},
        {"upfraction", number(&Globals::upfraction)},
        {"bannertext", text(&Globals::bannertext)},
        {"lastdialogfile", text(&Globals::lastdialogfile)},
        {"suggestedfile", text(&Globals::suggestedfile)},
        {"datapaneltext", text(&Globals::datapaneltext)},
        {"lastfile", text(&Globals::lastfile)},
    };
    return printers;
}

// Splits "WORD REST" at the first blank; REST keeps its blanks.
std::pair<std::string, std::string> splitWord(const std::string& line) {
    const auto blank = line.find(' ');
    if (blank == std::string::npos) {
        return {line, ""};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

class Runner {
  public:
    Runner(std::ostream& out) : out_(out), window_(globals_, platform_) {
        platform_.viewerAddress = &globals_.vieweraddress;
    }

    void start() {
        window_.load();
        flush();
    }

    // Runs one statement; false when the program has ended.
    bool run(const std::string& line, std::istream& script, int& lineNumber);

    void flush() {
        for (const std::string& event : platform_.transcript) {
            out_ << event << '\n';
        }
        platform_.transcript.clear();
        out_.flush();
    }

  private:
    void show(const std::string& what);
    void showFile(const std::string& name);
    void showChart();
    void showWatchlist(const std::string& folder);
    void queueFormAction(const std::string& rest);
    void writeFile(const std::string& name, std::istream& script, int& lineNumber);
    void generateFile(const std::string& rest);
    void setToday(const std::string& text);
    void writeRaw(const std::string& nameAndText);
    void removeFile(const std::string& name);
    void queueFileAnswer(const std::string& name);
    void queueAnswer(const std::string& answer);
    void setClipboard(const std::string& text);
    void queuePrintOutcome(const std::string& outcome);
    void limitFileSize(const std::string& bytes);
    void clickWithinFileLimit(const std::string& name);
    void setScreen(const std::string& text);
    void selectText(const std::string& startAndLength);

    std::ostream& out_;
    Globals globals_;
    ScriptedPlatform platform_;
    Aurelant window_;
    std::optional<rlim_t> clickFileLimit_;
    PriceChart chart_;
};

bool Runner::run(const std::string& line, std::istream& script, int& lineNumber) {
    using Statement = void (Runner::*)(const std::string&);
    static const std::map<std::string, Statement> statements = {
        {"today", &Runner::setToday},
        {"writeraw", &Runner::writeRaw},
        {"generate", &Runner::generateFile},
        {"remove", &Runner::removeFile},
        {"file", &Runner::queueFileAnswer},
        {"answer", &Runner::queueAnswer},
        {"clipboard", &Runner::setClipboard},
        {"printer", &Runner::queuePrintOutcome},
        {"filelimit", &Runner::limitFileSize},
        {"screen", &Runner::setScreen},
        {"select", &Runner::selectText},
        {"form", &Runner::queueFormAction},
        {"show", &Runner::show},
    };
    const auto [word, rest] = splitWord(line);
    if (word == "write") {
        writeFile(rest, script, lineNumber);
    } else if (word == "click") {
        clickWithinFileLimit(rest);
    } else if (const auto found = statements.find(word); found != statements.end()) {
        (this->*found->second)(rest);
    } else {
        throw ScriptFault("unknown statement " + word);
    }
    flush();
    return !window_.exitRequested;
}

void Runner::setToday(const std::string& text) {
    const auto date = parseDate(text);
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !date) {
        throw ScriptFault("today needs a date as YYYY-MM-DD");
    }
    platform_.todayDate = *date;
}

void Runner::writeRaw(const std::string& nameAndText) {
    const auto [name, text] = splitWord(nameAndText);
    createFile(name, unescaped(text));
}

void Runner::removeFile(const std::string& name) {
    std::remove(name.c_str());
}

void Runner::queueFileAnswer(const std::string& name) {
    platform_.fileAnswers.push_back(name == "cancel" ? std::nullopt
                                                     : std::optional<std::string>(name));
}

void Runner::queueAnswer(const std::string& answer) {
    static const std::map<std::string, Answer> answers = {
        {"yes", Answer::Yes}, {"no", Answer::No}, {"ok", Answer::Ok}, {"cancel", Answer::Cancel}};
    const auto found = answers.find(answer);
    if (found == answers.end()) {
        throw ScriptFault("unknown answer " + answer);
    }
    platform_.answers.push_back(found->second);
}

void Runner::setClipboard(const std::string& text) {
    platform_.clipboard =
        text == "none" ? std::nullopt : std::optional<std::string>(unescaped(text));
}

// `printer cancel` / `printer fail TEXT`: how the next print job ends (by default it prints).
void Runner::queuePrintOutcome(const std::string& outcome) {
    const auto [word, text] = splitWord(outcome);
    if (word == "cancel") {
        platform_.printOutcomes.push_back({PrintOutcome::Kind::Cancelled, ""});
    } else if (word == "fail") {
        platform_.printOutcomes.push_back({PrintOutcome::Kind::Failed, unescaped(text)});
    } else {
        throw ScriptFault("printer needs cancel or fail TEXT");
    }
}

// `filelimit BYTES`: during the next click, files cannot grow past BYTES, so a write fails
// part-way as on a full disk. Only the click is limited: the transcript is written after it.
void Runner::limitFileSize(const std::string& bytes) {
    rlim_t limit = 0;
    const char* last = bytes.data() + bytes.size();
    const auto [end, fault] = std::from_chars(bytes.data(), last, limit);
    if (fault != std::errc() || end != last) {
        throw ScriptFault("filelimit needs BYTES");
    }
    clickFileLimit_ = limit;
}

void Runner::clickWithinFileLimit(const std::string& name) {
    rlimit original{};
    ::getrlimit(RLIMIT_FSIZE, &original);
    if (clickFileLimit_) {
        std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with an error instead
        rlimit limited = original;
        limited.rlim_cur = *clickFileLimit_;
        ::setrlimit(RLIMIT_FSIZE, &limited);
        clickFileLimit_.reset();
    }
    const bool known = window_.click(name);
    ::setrlimit(RLIMIT_FSIZE, &original);
    if (!known) {
        throw ScriptFault("no menu item or picture named " + name);
    }
}

void Runner::setScreen(const std::string& text) {
    window_.maintext.setText(unescaped(text));
}

void Runner::selectText(const std::string& startAndLength) {
    std::size_t start = 0;
    std::size_t length = 0;
    if (std::sscanf(startAndLength.c_str(), "%zu %zu", &start, &length) != 2) {
        throw ScriptFault("select needs START LENGTH");
    }
    MainScreen& screen = window_.maintext;
    screen.selectionStart = std::min(start, screen.text.size());
    screen.selectionLength = std::min(length, screen.text.size() - screen.selectionStart);
}

void Runner::writeFile(const std::string& name, std::istream& script, int& lineNumber) {
    std::string content;
    std::string line;
    while (std::getline(script, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line == "end") {
            createFile(name, content);
            return;
        }
        std::string text;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == 't') {
                text += '\t';
                ++i;
            } else {
                text += line[i];
            }
        }
        content += text + "\r\n";
    }
    throw ScriptFault("write " + name + " has no end");
}

// `generate NAME COUNT`: a history file of COUNT daily records.
void Runner::generateFile(const std::string& rest) {
    const auto [name, countText] = splitWord(rest);
    std::size_t count = 0;
    const char* last = countText.data() + countText.size();
    const auto [end, fault] = std::from_chars(countText.data(), last, count);
    if (fault != std::errc() || end != last) {
        throw ScriptFault("generate needs NAME COUNT");
    }
    writeGeneratedHistory(name, count);
}

void Runner::queueFormAction(const std::string& rest) {
    const auto colon = rest.find(": ");
    if (colon == std::string::npos) {
        throw ScriptFault("form needs NAME: ACTION");
    }
    const std::string form = rest.substr(0, colon);
    static const std::set<std::string> knownForms = {"dailydata", "importform", "recalcform",
                                                     "saveasform", "updateform"};
    if (knownForms.count(form) == 0) {
        throw ScriptFault("no form named " + form);
    }
    const auto [verb, arguments] = splitWord(rest.substr(colon + 2));
    FormAction action;
    if (verb == "set") {
        const auto [control, text] = splitWord(arguments);
        action = {FormAction::Kind::Set, control, unescaped(text)};
    } else if (verb == "choose") {
        action = {FormAction::Kind::Choose, arguments, ""};
    } else if (verb == "press") {
        action = {FormAction::Kind::Press, arguments, ""};
    } else if (verb == "show") {
        action = {FormAction::Kind::Show, "", ""};
    } else {
        throw ScriptFault("unknown form action " + verb);
    }
    platform_.formActions[form].push_back(action);
}

// `show PART, PART, ...` shows several parts in turn; a file, whose name may hold ", ", comes last.
void Runner::show(const std::string& what) {
    if (const auto comma = what.find(", ");
        comma != std::string::npos && !what.starts_with("file ")) {
        show(what.substr(0, comma));
        show(what.substr(comma + 2));
        return;
    }
    const auto [part, name] = splitWord(what);
    if (part == "screen") {
        out_ << "screen " << quoted(window_.maintext.text) << '\n';
    } else if (part == "label") {
        out_ << "label " << quoted(window_.infolabel.caption) << '\n';
    } else if (part == "caption") {
        out_ << "caption " << quoted(window_.caption) << '\n';
    } else if (part == "clipboard") {
        out_ << "clipboard " << (platform_.clipboard ? quoted(*platform_.clipboard) : "none")
             << '\n';
    } else if (part == "menus") {
        out_ << "menus recalc=" << (window_.recalcEnabled ? "on" : "off")
             << " strategy=" << (window_.strategyEnabled ? "on" : "off") << '\n';
    } else if (part == "state") {
        const auto found = statePrinters().find(name);
        if (found == statePrinters().end()) {
            throw ScriptFault("no shared variable named " + name);
        }
        out_ << "state " << name << " = " << found->second(globals_) << '\n';
    } else if (part == "file") {
        showFile(name);
    } else if (part == "chart") {
        showChart();
    } else if (part == "watchlist") {
        showWatchlist(name);
    } else {
        throw ScriptFault("cannot show " + what);
    }
}

void Runner::showFile(const std::string& name) {
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        out_ << "file " << name << " missing\n";
        return;
    }
    std::vector<std::string> lines;
    LineReader reader(name);
    std::string line;
    while (reader.next(line)) {
        lines.push_back(line);
    }
    out_ << "file " << name << " lines=" << lines.size() << '\n';
    for (const std::string& each : lines) {
        out_ << "| " << each << '\n';
    }
}

// The watchlist of a folder once every file is predicted: its headings, then a line a row.
void Runner::showWatchlist(const std::string& folder) {
    Watchlist watchlist;
    if (const std::optional<std::string> problem = watchlist.setFolder(folder)) {
        out_ << "watchlist " << quoted(*problem) << '\n';
        return;
    }
    for (const WatchJob& job : watchlist.pendingJobs()) {
        const std::optional<FileStamp> stamp = stampOf(job.path);
        watchlist.setPrediction(job, predictHistoryFile(job.path, job.open, "\r\n", false), stamp);
    }
    auto line = [](auto cellOf) {
        std::string text;
        const char* separator = "";
        for (const WatchColumnKind& kind : watchColumns()) {
            text += separator + cellOf(kind.column);
            separator = "|";
        }
        return text;
    };
    out_ << "watchlist "
         << quoted(line([](WatchColumn c) { return std::string(watchColumn(c).heading); })) << '\n';
    for (const std::size_t row : watchlist.shownRows()) {
        out_ << "watchlist " << quoted(line([&](WatchColumn c) { return watchlist.cell(row, c); }))
             << '\n';
    }
}

// The chart as it would be drawn now, following the window as the chart window does.
void Runner::showChart() {
    chart_.follow(window_);
    auto date = [](double number) { return formatDate(dateFromNumber(number)); };
    out_ << "chart title " << quoted(chart_.title()) << '\n';
    if (!chart_.note().empty()) {
        out_ << "chart note " << quoted(chart_.note()) << '\n';
    }
    if (chart_.recordCount() > 0) {
        out_ << "chart view " << chart_.firstInView() + 1 << ".."
             << chart_.firstInView() + chart_.daysInView() << " of " << chart_.recordCount()
             << " records, " << chart_.daysPerCandle() << " a candle\n";
    }
    for (const Candle& candle : chart_.candles()) {
        const DayPrices& p = candle.prices;
        out_ << "chart candle " << date(candle.date) << ' ' << shortest(p.open) << ' '
             << shortest(p.high) << ' ' << shortest(p.low) << ' ' << shortest(p.close) << '\n';
    }
    for (const ChartMarker& marker : chart_.markers()) {
        out_ << "chart marker " << date(marker.date) << (marker.up ? " up " : " down ")
             << (marker.right ? "right" : "wrong") << '\n';
    }
    for (const ChartLevel& level : chart_.levels()) {
        out_ << "chart " << (level.name == "Open" ? "open" : "level " + level.name) << ' '
             << level.text << '\n';
    }
}

}  // namespace

int runScenario(const std::string& scriptPath, std::ostream& out, std::ostream& err) {
    std::ifstream script(scriptPath, std::ios::binary);
    if (!script) {
        err << "error: 0: cannot read the script " << scriptPath << "\n";
        return 1;
    }
    Runner runner(out);
    int lineNumber = 0;
    auto fail = [&](const char* why) {
        runner.flush();
        err << "error: " << lineNumber << ": " << why << "\n";
        return 1;
    };
    try {
        runner.start();
        std::string line;
        while (std::getline(script, line)) {
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (line.empty() || line.front() == '#') {
                continue;
            }
            if (!runner.run(line, script, lineNumber)) {
                break;
            }
        }
    } catch (const std::exception& fault) {
        return fail(fault.what());
    } catch (const ScriptError& fault) {
        return fail(fault.what());
    }
    return 0;
}

}  // namespace aurelant
