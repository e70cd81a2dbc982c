#pragma once

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the sub-commands share of their command lines: the options a command takes, written once
// as a table that gives both the parsing and the usage text.
namespace aurelant {

struct OptionHelp {
    std::string name;      // "--open"
    std::string value;     // "PRICE" in the option's row; empty for a switch
    std::string synopsis;  // the value as the usage line shows it, when other than `value`
    std::string text;      // what it does; a line break continues under the first line
};

struct CommandHelp {
    std::string command;  // "predict"
    std::string summary;  // the paragraph after the usage line
    std::vector<OptionHelp> options;
};

// A command line taken apart: the options given (a switch with an empty value; an option given
// twice keeps its last value), the files and whether help was asked for.
struct GivenArguments {
    std::map<std::string, std::string> options;
    std::vector<std::string> files;
    bool help = false;

    const std::string* valueOf(const std::string& name) const;
};

// "aurelant predict [--open PRICE] ... FILE..."
std::string synopsisOf(const CommandHelp& help);
// The usage line, the summary and a row for every option.
std::string usageOf(const CommandHelp& help);

// Takes the arguments after the command's name apart, or says what is wrong with them. Options
// are taken anywhere among the files and as "--name VALUE" or "--name=VALUE"; "--" ends them.
std::optional<std::string> parseArguments(const CommandHelp& help,
                                          const std::vector<std::string>& arguments,
                                          GivenArguments& given);

// "a, b or c"
std::string choiceList(const std::vector<std::string>& choices);

// A count of parallel jobs from 1 to `most`, or the mistake in `text`.
std::optional<std::string> jobCount(const std::string& text, unsigned most, unsigned& jobs);

// Prints a mistake on the command line the way every sub-command does and returns exit status 2.
int commandLineMistake(const CommandHelp& help, const std::string& mistake, std::FILE* errors);

}  // namespace aurelant
