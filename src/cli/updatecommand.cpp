#include "cli/updatecommand.h"

#include <ctime>
#include <optional>

#include "cli/arguments.h"
#include "common/errors.h"
#include "quotes/curlclient.h"
#include "quotes/remembered.h"
#include "quotes/updateall.h"

namespace aurelant {
namespace {

constexpr unsigned kMostJobs = 64;

struct Options {
    std::optional<quotes::Source> source;
    bool dryRun = false;
    unsigned jobs = 4;
    bool help = false;
    std::vector<std::string> files;
};

const CommandHelp& updateHelp() {
    static const CommandHelp help{
        "update",
        "Appends to each price file the days its source on the web has after the file's\n"
        "latest one, in the file's own layout, once the days both hold agree. Exit status: 0\n"
        "when every file is up to date, 1 when some failed (each named on standard error), 2\n"
        "for a mistake on the command line.\n",
        {{"--source", "SOURCE", "",
          "sets and remembers the source of every FILE: yahoo:SYMBOL,\n"
          "binance:SYMBOL, alphavantage:SYMBOL (with AURELANT_ALPHAVANTAGE_KEY)\n"
          "or url:ADDRESS with {from}, {to}, {from_unix} and {to_unix}"},
         {"--dry-run", "", "", "shows what would be added and writes nothing"},
         {"--jobs", "N", "",
          "files updated at once (default 4; each host is asked at most\n"
          "twice at once and four times a second)"}}};
    return help;
}

std::optional<std::string> parse(const std::vector<std::string>& arguments, Options& options) {
    GivenArguments given;
    if (std::optional<std::string> mistake = parseArguments(updateHelp(), arguments, given)) {
        return mistake;
    }
    options.files = std::move(given.files);
    options.help = given.help;
    options.dryRun = given.valueOf("--dry-run") != nullptr;
    if (const std::string* source = given.valueOf("--source")) {
        std::string problem;
        if (!(options.source = quotes::parseSource(*source, &problem))) {
            return "--source: " + problem;
        }
    }
    if (const std::string* jobs = given.valueOf("--jobs")) {
        if (std::optional<std::string> mistake = jobCount(*jobs, kMostJobs, options.jobs)) {
            return mistake;
        }
    }
    if (options.files.empty() && !options.help) {
        return "no price file named";
    }
    return std::nullopt;
}

CalendarDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// Each file's source: the one given, remembered for it, or the one it remembers.
std::vector<quotes::FileJob> jobsOf(const Options& options) {
    std::vector<quotes::FileJob> jobs;
    for (const std::string& file : options.files) {
        quotes::FileJob job{file, options.source.value_or(quotes::Source{}), ""};
        try {
            if (options.source && !options.dryRun) {
                quotes::rememberSource(file, *options.source);
            } else if (!options.source) {
                const std::optional<quotes::Source> remembered = quotes::rememberedSource(file);
                job.source = remembered.value_or(job.source);
                job.failure =
                    remembered ? "" : "no source remembered for it; give one with --source";
            }
        } catch (const std::exception& exception) {
            job.failure =
                "its source could not be remembered: " + asAppError(exception).description();
        }
        jobs.push_back(job);
    }
    return jobs;
}

}  // namespace

std::string updateUsage() {
    return usageOf(updateHelp());
}

std::string updateSynopsis() {
    return synopsisOf(updateHelp());
}

int runUpdateCommand(const std::vector<std::string>& arguments, std::FILE* output,
                     std::FILE* errors) {
    Options options;
    if (const std::optional<std::string> mistake = parse(arguments, options)) {
        return commandLineMistake(updateHelp(), *mistake, errors);
    }
    if (options.help) {
        std::fputs(updateUsage().c_str(), output);
        return 0;
    }
    const std::vector<quotes::FileJob> jobs = jobsOf(options);
    quotes::CurlClient client;
    quotes::PoliteFetcher fetcher(client);
    const std::vector<quotes::UpdateResult> results =
        quotes::updateAll(jobs, {localToday(), options.dryRun, options.jobs}, fetcher);
    int status = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const quotes::UpdateResult& result = results[i];
        const bool failed = result.outcome == quotes::UpdateResult::Outcome::Failed;
        std::fprintf(failed ? errors : output, "%s: %s\n", jobs[i].path.c_str(),
                     result.summary(options.dryRun).c_str());
        for (const std::string& line : options.dryRun ? result.lines : std::vector<std::string>{}) {
            std::fprintf(output, "  %s\n", line.c_str());
        }
        status = failed ? 1 : status;
    }
    return status;
}

}  // namespace aurelant
