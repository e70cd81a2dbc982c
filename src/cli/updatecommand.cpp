#include "cli/updatecommand.h"

#include <ctime>
#include <optional>

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

// The value of an option given as "--name VALUE" or "--name=VALUE"; nothing when it is missing.
std::optional<std::string> valueOf(const std::vector<std::string>& arguments, std::size_t& i) {
    const std::size_t equals = arguments[i].find('=');
    if (equals != std::string::npos) {
        return arguments[i].substr(equals + 1);
    }
    return i + 1 < arguments.size() ? std::optional<std::string>(arguments[++i]) : std::nullopt;
}

std::optional<std::string> parse(const std::vector<std::string>& arguments, Options& options) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::string name = argument.substr(0, argument.find('='));
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-h" || argument == "--help") {
            options.help = true;
        } else if (argument == "--dry-run") {
            options.dryRun = true;
        } else if (name == "--source" || name == "--jobs") {
            const std::optional<std::string> value = valueOf(arguments, i);
            if (!value) {
                return name + " needs a value";
            }
            std::string problem;
            if (name == "--source" && !(options.source = quotes::parseSource(*value, &problem))) {
                return "--source: " + problem;
            }
            if (name == "--jobs") {
                const bool digits = !value->empty() && value->size() < 4 &&
                                    value->find_first_not_of("0123456789") == std::string::npos;
                options.jobs = digits ? static_cast<unsigned>(std::stoul(*value)) : 0;
                if (options.jobs < 1 || options.jobs > kMostJobs) {
                    return "--jobs needs a count from 1 to " + std::to_string(kMostJobs);
                }
            }
        } else {
            return "unknown option " + argument;
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
    return "Usage: aurelant update [--source SPEC] [--dry-run] [--jobs N] FILE...\n"
           "Appends to each price file the days its source on the web has after the file's\n"
           "latest one, in the file's own layout, once the days both hold agree. Exit status: 0\n"
           "when every file is up to date, 1 when some failed (each named on standard error), 2\n"
           "for a mistake on the command line.\n"
           "\n"
           "  --source SPEC  sets and remembers the source of every FILE: yahoo:SYMBOL,\n"
           "                 binance:SYMBOL, alphavantage:SYMBOL (with AURELANT_ALPHAVANTAGE_KEY)\n"
           "                 or url:ADDRESS with {from}, {to}, {from_unix} and {to_unix}\n"
           "  --dry-run      shows what would be added and writes nothing\n"
           "  --jobs N       files updated at once (default 4; each host is asked at most\n"
           "                 twice at once and four times a second)\n";
}

int runUpdateCommand(const std::vector<std::string>& arguments, std::FILE* output,
                     std::FILE* errors) {
    Options options;
    if (const std::optional<std::string> mistake = parse(arguments, options)) {
        std::fprintf(errors, "aurelant update: %s\nTry 'aurelant update --help'.\n",
                     mistake->c_str());
        return 2;
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
