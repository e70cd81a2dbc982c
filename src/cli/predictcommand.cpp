#include "cli/predictcommand.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <thread>

#include "common/dayorder.h"
#include "common/errors.h"
#include "common/numtext.h"
#include "common/utf8.h"
#include "predict/fileprediction.h"
#include "predict/predictiontable.h"

namespace aurelant {
namespace {

struct Options {
    std::optional<double> open;
    TableFormat format = TableFormat::Report;
    unsigned jobs = std::max(1U, std::thread::hardware_concurrency());
    std::vector<std::string> files;
    bool help = false;
    bool localeDayFirst = localeWritesDayFirst();
};

std::optional<unsigned> jobCount(const std::string& text) {
    const double count = leadingNumber(text);
    if (text.find_first_not_of("0123456789") != std::string::npos || count < 1 || count > 1024) {
        return std::nullopt;
    }
    return static_cast<unsigned>(count);
}

std::optional<TableFormat> formatNamed(const std::string& name) {
    if (name == "report") {
        return TableFormat::Report;
    }
    if (name == "csv") {
        return TableFormat::Csv;
    }
    if (name == "json") {
        return TableFormat::Json;
    }
    return std::nullopt;
}

// Takes one option with its value; returns what is wrong, or nothing.
std::optional<std::string> takeOption(const std::string& name, const std::string& value,
                                      Options& options) {
    if (name == "--open") {
        // Read as the windows read a typed price: 77,5 is 77.5.
        options.open = typedPrice(value);
        return options.open ? std::nullopt
                            : std::optional<std::string>("--open needs a price from 1e-12 to 1e12");
    }
    if (name == "--format") {
        const std::optional<TableFormat> format = formatNamed(value);
        options.format = format.value_or(options.format);
        return format ? std::nullopt
                      : std::optional<std::string>("--format is report, csv or json");
    }
    const std::optional<unsigned> jobs = jobCount(value);
    options.jobs = jobs.value_or(options.jobs);
    return jobs ? std::nullopt : std::optional<std::string>("--jobs needs a count from 1 to 1024");
}

// The options and files, or what is wrong with them.
std::optional<std::string> parse(const std::vector<std::string>& arguments, Options& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "-h" || argument == "--help") {
            options.help = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (name != "--open" && name != "--format" && name != "--jobs") {
            return "unknown option " + argument;
        }
        if (equals == std::string::npos && i + 1 == arguments.size()) {
            return name + " needs a value";
        }
        const std::string value =
            equals == std::string::npos ? arguments[++i] : argument.substr(equals + 1);
        if (std::optional<std::string> mistake = takeOption(name, value, options)) {
            return mistake;
        }
    }
    if (options.files.empty() && !options.help) {
        return "no history file named";
    }
    return std::nullopt;
}

// Predicts every file on `jobs` threads; the results stand in the order of the files.
std::vector<FilePrediction> predictAll(const Options& options) {
    std::vector<FilePrediction> results(options.files.size());
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < results.size(); i = next++) {
            results[i] =
                predictHistoryFile(options.files[i], options.open, "\n", options.localeDayFirst);
        }
    };
    std::vector<std::jthread> workers;
    const std::size_t extra = std::min<std::size_t>(options.jobs, results.size()) - 1;
    for (std::size_t i = 0; i < extra; ++i) {
        workers.emplace_back(work);
    }
    work();
    return results;
}

}  // namespace

std::string predictUsage() {
    return "Usage: aurelant predict [--open PRICE] [--format report|csv|json] [--jobs N] FILE...\n"
           "Predicts the next trading day of each history file without a window, and writes no\n"
           "file. Exit status: 0 when every file was predicted, 1 when some were refused (each\n"
           "named on standard error), 2 for a mistake on the command line.\n"
           "\n"
           "  --open PRICE   the next day's Open, for the 75, 50 and 25 % price levels\n"
           "  --format F     report (the default), csv or json\n"
           "  --jobs N       files predicted at once (default: the number of cores)\n";
}

int runPredictCommand(const std::vector<std::string>& arguments, std::FILE* output,
                      std::FILE* errors) {
    Options options;
    if (const std::optional<std::string> mistake = parse(arguments, options)) {
        std::fprintf(errors, "aurelant predict: %s\nTry 'aurelant predict --help'.\n",
                     escapedControls(*mistake).c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(predictUsage().c_str(), output);
        return 0;
    }
    const std::vector<FilePrediction> results = predictAll(options);
    const std::string table = predictionTable(options.files, results, options.format);
    int writeError = std::fwrite(table.data(), 1, table.size(), output) == table.size() ? 0 : errno;
    bool refused = false;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].refused()) {
            std::fprintf(errors, "%s: %s\n", escapedControls(options.files[i]).c_str(),
                         escapedControls(results[i].refusal).c_str());
            refused = true;
        }
    }
    // A full disk, a closed output or one that cuts the last row is a failure, never exit 0.
    if (writeError == 0 && std::fflush(output) != 0) {
        writeError = errno;
    }
    if (writeError != 0) {
        std::fprintf(errors, "aurelant predict: the output cannot be written: %s\n",
                     std::strerror(writeError));
        return 1;
    }
    return refused ? 1 : 0;
}

}  // namespace aurelant
