#include "cli/predictcommand.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include "cli/arguments.h"
#include "common/numtext.h"
#include "common/utf8.h"
#include "predict/fileprediction.h"

namespace aurelant {
namespace {

constexpr unsigned kMostJobs = 1024;

std::vector<std::string> formatNames() {
    std::vector<std::string> names;
    for (const TableFormat& format : tableFormats()) {
        names.emplace_back(format.name);
    }
    return names;
}

// "report|csv|json" and "report (the default), csv or json"
std::string formatSynopsis() {
    std::string synopsis;
    for (const std::string& name : formatNames()) {
        synopsis += (synopsis.empty() ? "" : "|") + name;
    }
    return synopsis;
}

std::string formatHelp() {
    std::vector<std::string> names = formatNames();
    names.front() += " (the default)";
    return choiceList(names);
}

const CommandHelp& predictHelp() {
    static const CommandHelp help{
        "predict",
        "Predicts the next trading day of each history file without a window, and writes no\n"
        "file. Exit status: 0 when every file was predicted, 1 when some were refused (each\n"
        "named on standard error), 2 for a mistake on the command line.\n",
        {{"--open", "PRICE", "", "the next day's Open, for the 75, 50 and 25 % price levels"},
         {"--format", "F", formatSynopsis(), formatHelp()},
         {"--jobs", "N", "", "files predicted at once (default: the number of cores)"}}};
    return help;
}

std::optional<std::string> takeFormat(const std::string& name, PredictOptions& options) {
    for (const TableFormat& format : tableFormats()) {
        if (format.name == name) {
            options.format = &format;
            return std::nullopt;
        }
    }
    return "--format is " + choiceList(formatNames());
}

// The values of the options given, or the first mistake among them.
std::optional<std::string> takeValues(const GivenArguments& given, PredictOptions& options) {
    if (const std::string* open = given.valueOf("--open")) {
        // Read as the windows read a typed price: 77,5 is 77.5.
        options.open = typedPrice(*open);
        if (!options.open) {
            return "--open needs a price from 1e-12 to 1e12";
        }
    }
    if (const std::string* format = given.valueOf("--format")) {
        if (std::optional<std::string> mistake = takeFormat(*format, options)) {
            return mistake;
        }
    }
    if (const std::string* jobs = given.valueOf("--jobs")) {
        return jobCount(*jobs, kMostJobs, options.jobs);
    }
    return std::nullopt;
}

// Predicts every file on `jobs` threads; the results stand in the order of the files.
std::vector<FilePrediction> predictAll(const PredictOptions& options) {
    std::vector<FilePrediction> results(options.files.size());
    std::atomic<std::size_t> next = 0;
    auto work = [&] {
        for (std::size_t i = next++; i < results.size(); i = next++) {
            results[i] = predictHistoryFile(options.files[i], options.open, "\n",
                                            options.localeDayFirst, options.format->report);
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

std::optional<std::string> parsePredictArguments(const std::vector<std::string>& arguments,
                                                 PredictOptions& options) {
    GivenArguments given;
    if (std::optional<std::string> mistake = parseArguments(predictHelp(), arguments, given)) {
        return mistake;
    }
    options.files = std::move(given.files);
    options.help = given.help;
    if (std::optional<std::string> mistake = takeValues(given, options)) {
        return mistake;
    }
    if (options.files.empty() && !options.help) {
        return "no history file named";
    }
    return std::nullopt;
}

std::string predictSynopsis() {
    return synopsisOf(predictHelp());
}

std::string predictUsage() {
    return usageOf(predictHelp());
}

int runPredictCommand(const std::vector<std::string>& arguments, std::FILE* output,
                      std::FILE* errors) {
    PredictOptions options;
    if (const std::optional<std::string> mistake = parsePredictArguments(arguments, options)) {
        return commandLineMistake(predictHelp(), *mistake, errors);
    }
    if (options.help) {
        std::fputs(predictUsage().c_str(), output);
        return 0;
    }
    const std::vector<FilePrediction> results = predictAll(options);
    const std::string table = options.format->write(options.files, results);
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
