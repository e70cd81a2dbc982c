#include "cli/arguments.h"

#include <CLI/CLI.hpp>

#include <charconv>

#include "common/utf8.h"

namespace aurelant {
namespace {

// Where the option rows' texts begin, after two blanks of indent.
constexpr std::size_t kNameColumn = 15;

std::string optionRow(const OptionHelp& option) {
    std::string name = option.name + (option.value.empty() ? "" : " " + option.value);
    name.resize(std::max(kNameColumn, name.size() + 1), ' ');
    std::string row = "  " + name;
    for (const char c : option.text) {
        row += c == '\n' ? "\n" + std::string(2 + kNameColumn, ' ') : std::string(1, c);
    }
    return row + "\n";
}

// CLI11 names the option that lacks its value before the first colon of its message.
std::string optionLackingValue(const CLI::ArgumentMismatch& mismatch) {
    const std::string message = mismatch.what();
    return message.substr(0, message.find(':')) + " needs a value";
}

}  // namespace

const std::string* GivenArguments::valueOf(const std::string& name) const {
    const auto found = options.find(name);
    return found == options.end() ? nullptr : &found->second;
}

std::string synopsisOf(const CommandHelp& help) {
    std::string synopsis = "aurelant " + help.command;
    for (const OptionHelp& option : help.options) {
        const std::string& value = option.synopsis.empty() ? option.value : option.synopsis;
        synopsis += " [" + option.name + (value.empty() ? "" : " " + value) + "]";
    }
    return synopsis + " FILE...";
}

std::string usageOf(const CommandHelp& help) {
    std::string usage = "Usage: " + synopsisOf(help) + "\n" + help.summary + "\n";
    for (const OptionHelp& option : help.options) {
        usage += optionRow(option);
    }
    return usage;
}

std::optional<std::string> parseArguments(const CommandHelp& help,
                                          const std::vector<std::string>& arguments,
                                          GivenArguments& given) {
    CLI::App app("", "aurelant " + help.command);
    app.set_help_flag();  // the command writes its own usage
    app.add_flag("-h,--help", given.help);
    app.allow_extras();  // an unknown option is named below, in this program's words
    std::map<std::string, std::string> values;
    std::map<std::string, bool> switches;
    for (const OptionHelp& option : help.options) {
        if (option.value.empty()) {
            app.add_flag(option.name, switches[option.name]);
        } else {
            app.add_option(option.name, values[option.name])
                ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        }
    }
    app.add_option("FILE", given.files);
    try {
        app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));
    } catch (const CLI::ArgumentMismatch& mismatch) {
        return optionLackingValue(mismatch);
    } catch (const CLI::ParseError& error) {
        return error.what();
    }
    for (const std::string& unknown : app.remaining()) {
        if (unknown != "--") {  // CLI11 keeps the end of the options among the arguments it left
            return "unknown option " + unknown;
        }
    }
    for (const OptionHelp& option : help.options) {
        if (app.get_option(option.name)->count() > 0) {
            given.options[option.name] = values[option.name];
        }
    }
    return std::nullopt;
}

std::string choiceList(const std::vector<std::string>& choices) {
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        list += i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ";
        list += choices[i];
    }
    return list;
}

std::optional<std::string> jobCount(const std::string& text, unsigned most, unsigned& jobs) {
    unsigned count = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, count);
    if (text.empty() || stop != end || error != std::errc() || count < 1 || count > most) {
        return "--jobs needs a count from 1 to " + std::to_string(most);
    }
    jobs = count;
    return std::nullopt;
}

int commandLineMistake(const CommandHelp& help, const std::string& mistake, std::FILE* errors) {
    std::fprintf(errors, "aurelant %s: %s\nTry 'aurelant %s --help'.\n", help.command.c_str(),
                 escapedControls(mistake).c_str(), help.command.c_str());
    return 2;
}

}  // namespace aurelant
