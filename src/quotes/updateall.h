#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "quotes/update.h"

namespace aurelant::quotes {

struct FileJob {
    std::string path;
    Source source;
    std::string failure;  // a job that failed before it began, for this reason
};

struct UpdateOptions {
    CalendarDate today;
    bool dryRun = false;
    unsigned jobs = 4;  // files at once; the fetcher's manners hold each host back further
};

// Updates every file on `options.jobs` threads, each with its provider's key. `done` hears of
// each file as it ends, from the thread that updated it, one at a time. A stop leaves the files
// not yet begun as they are, failed as "cancelled". The results stand in the order of the jobs.
std::vector<UpdateResult> updateAll(
    const std::vector<FileJob>& jobs, const UpdateOptions& options, PoliteFetcher& fetcher,
    std::stop_token stop = {},
    const std::function<void(std::size_t, const UpdateResult&)>& done = {});

}  // namespace aurelant::quotes
