#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "cli/predictcommand.h"

namespace aurelant {
namespace {

struct ParseCase {
    std::vector<std::string> arguments;
    std::string mistake;  // empty: the arguments are taken
    std::vector<std::string> files{};
    std::string format = "report";
    std::optional<double> open{};
    unsigned jobs = 0;  // 0: the default
};

std::string textOf(std::FILE* stream) {
    std::rewind(stream);
    std::string text;
    for (int c = std::fgetc(stream); c != EOF; c = std::fgetc(stream)) {
        text += static_cast<char>(c);
    }
    return text;
}

TEST(PredictArgumentsTest, TakesOptionsAnywhereAndRefusesMistakesWithExitTwo) {
    const std::string range = "--open needs a price from 1e-12 to 1e12";
    const std::vector<ParseCase> cases = {
        {{"--open", "104,5", "a.csv", "--format=json", "--jobs", "3", "b"},
         "",
         {"a.csv", "b"},
         "json",
         104.5,
         3},
        {{"a.csv", "--format", "csv", "--open=2", "--open", "1.5", "--", "--jobs", "-"},
         "",
         {"a.csv", "--jobs", "-"},
         "csv",
         1.5},
        {{"--frobnicate", "a.csv"}, "unknown option --frobnicate"},
        {{"a.csv", "-x"}, "unknown option -x"},
        {{"--open", "1e13", "a.csv"}, range},
        {{"--open=abc", "a.csv"}, range},
        {{"--format", "xml", "a.csv"}, "--format is report, csv or json"},
        {{"--jobs", "0", "a.csv"}, "--jobs needs a count from 1 to 1024"},
        {{"--jobs", "2x", "a.csv"}, "--jobs needs a count from 1 to 1024"},
        {{"a.csv", "--open"}, "--open needs a value"},
        {{"--format", "csv"}, "no history file named"},
    };
    for (const ParseCase& test : cases) {
        SCOPED_TRACE(test.arguments.front());
        PredictOptions options;
        const unsigned defaultJobs = options.jobs;
        EXPECT_EQ(parsePredictArguments(test.arguments, options).value_or(""), test.mistake);
        if (test.mistake.empty()) {
            EXPECT_EQ(options.files, test.files);
            EXPECT_EQ(options.format->name, test.format);
            EXPECT_EQ(options.open, test.open);
            EXPECT_EQ(options.jobs, test.jobs == 0 ? defaultJobs : test.jobs);
            continue;
        }
        const std::unique_ptr<std::FILE, decltype(&std::fclose)> output(std::tmpfile(),
                                                                        &std::fclose);
        const std::unique_ptr<std::FILE, decltype(&std::fclose)> errors(std::tmpfile(),
                                                                        &std::fclose);
        EXPECT_EQ(runPredictCommand(test.arguments, output.get(), errors.get()), 2);
        EXPECT_EQ(textOf(errors.get()),
                  "aurelant predict: " + test.mistake + "\nTry 'aurelant predict --help'.\n");
        EXPECT_EQ(textOf(output.get()), "");
    }
}

TEST(PredictArgumentsTest, EveryFormatIsChosenByItsNameAndNamedInTheUsage) {
    for (const TableFormat& format : tableFormats()) {
        PredictOptions options;
        EXPECT_FALSE(parsePredictArguments({"--format", std::string(format.name), "a"}, options));
        EXPECT_EQ(options.format, &format);
        EXPECT_NE(predictUsage().find(format.name), std::string::npos);
    }
    PredictOptions options;
    EXPECT_TRUE(parsePredictArguments({"--help"}, options) == std::nullopt && options.help);
}

}  // namespace
}  // namespace aurelant
