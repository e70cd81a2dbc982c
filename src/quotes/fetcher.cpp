#include "quotes/fetcher.h"

#include <algorithm>
#include <cctype>

namespace aurelant::quotes {

std::string hostKey(std::string_view address) {
    const std::size_t scheme = address.find("://");
    const std::size_t hostStart = scheme == std::string_view::npos ? 0 : scheme + 3;
    std::string key(address.substr(0, address.find_first_of("/?#", hostStart)));
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

PoliteFetcher::PoliteFetcher(HttpClient& client, Manners manners)
    : client_(client), manners_(manners) {}

bool PoliteFetcher::enter(const std::string& host, const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    Host& state = hosts_[host];
    for (;;) {
        if (stop.stop_requested()) {
            return false;
        }
        const auto now = std::chrono::steady_clock::now();
        const auto turn = state.lastStart + manners_.startGap;
        if (state.active < manners_.perHost && now >= turn) {
            ++state.active;
            state.lastStart = now;
            return true;
        }
        if (state.active < manners_.perHost) {
            changed_.wait_until(lock, stop, turn, [] { return false; });
        } else {
            changed_.wait(lock, stop, [&] { return state.active < manners_.perHost; });
        }
    }
}

void PoliteFetcher::leave(const std::string& host) {
    {
        const std::lock_guard lock(mutex_);
        --hosts_[host].active;
    }
    changed_.notify_all();
}

bool PoliteFetcher::pause(std::chrono::milliseconds span, const std::stop_token& stop) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, stop, span, [] { return false; });
    return !stop.stop_requested();
}

HttpAnswer PoliteFetcher::get(const std::string& address, std::stop_token stop) {
    const std::string host = hostKey(address);
    auto wait = manners_.firstRetryWait;
    HttpAnswer answer;
    for (int attempt = 0;; ++attempt) {
        if (!enter(host, stop)) {
            answer = HttpAnswer{};
            answer.failure = "cancelled";
            return answer;
        }
        answer = client_.get(address, stop);
        leave(host);
        const bool busy = answer.status == 429;
        if (attempt == manners_.retries || (!busy && !worthRetrying(answer)) ||
            stop.stop_requested()) {
            return answer;
        }
        // A busy service says how long to wait; its word counts up to a limit.
        const auto span = busy && answer.retryAfter
                              ? std::chrono::milliseconds(
                                    std::min(*answer.retryAfter, manners_.longestRetryAfter))
                              : wait;
        if (!pause(span, stop)) {
            return answer;
        }
        wait *= 2;
    }
}

}  // namespace aurelant::quotes
