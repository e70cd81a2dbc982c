#pragma once

#include <chrono>
#include <cstddef>
#include <stop_token>
#include <string>
#include <vector>

#include "common/dates.h"
#include "quotes/fetcher.h"
#include "quotes/source.h"

// Bringing a price file up to date from its source: the days after its latest one are asked
// for, checked against the days the file already holds, and appended in the file's own layout.
namespace aurelant::quotes {

struct UpdateRequest {
    std::string path;
    Source source;
    std::string key;     // the provider's key, where it needs one
    CalendarDate today;  // no day from this one on is appended: it has not ended
    bool dryRun = false;
    std::chrono::system_clock::time_point now = std::chrono::system_clock::now();
};

struct UpdateResult {
    enum class Outcome { Added, UpToDate, Failed };
    Outcome outcome = Outcome::Failed;
    std::vector<std::string> lines;  // the records added, or that a dry run would add
    std::string first;               // the dates of the first and last of them, as written
    std::string last;
    std::size_t leftOut = 0;  // the source's new days that were not fit to write
    std::string reason;       // why it failed

    // "3 days added (FIRST to LAST)", "up to date" or the reason, with the days left out.
    std::string summary(bool dryRun = false) const;
};

// Never throws: every failure becomes a result with its reason, and the file is then as it was.
// The key never appears in a reason.
UpdateResult updateFile(const UpdateRequest& request, PoliteFetcher& fetcher,
                        std::stop_token stop = {});

// Days before the file's latest one that are asked for again, to check the source against it.
inline constexpr int kOverlapDays = 10;

}  // namespace aurelant::quotes
