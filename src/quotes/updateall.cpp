#include "quotes/updateall.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "quotes/remembered.h"

namespace aurelant::quotes {

std::vector<UpdateResult> updateAll(
    const std::vector<FileJob>& jobs, const UpdateOptions& options, PoliteFetcher& fetcher,
    std::stop_token stop, const std::function<void(std::size_t, const UpdateResult&)>& done) {
    std::vector<UpdateResult> results(jobs.size());
    std::atomic<std::size_t> next = 0;
    std::mutex reporting;
    const auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) {
            const FileJob& job = jobs[i];
            UpdateResult& result = results[i];
            if (!job.failure.empty() || stop.stop_requested()) {
                result.reason = job.failure.empty() ? "cancelled" : job.failure;
            } else {
                const UpdateRequest request{job.path, job.source, providerKey(job.source.provider),
                                            options.today, options.dryRun};
                result = updateFile(request, fetcher, stop);
            }
            if (done) {
                const std::lock_guard lock(reporting);
                done(i, result);
            }
        }
    };
    std::vector<std::jthread> workers;
    const std::size_t extra = std::min<std::size_t>(std::max(1U, options.jobs), jobs.size());
    for (std::size_t i = 1; i < extra; ++i) {
        workers.emplace_back(work);
    }
    work();
    return results;
}

}  // namespace aurelant::quotes
