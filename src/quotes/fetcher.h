#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>

#include "quotes/httpclient.h"

namespace aurelant::quotes {

// How the program treats a quote service, within what the free services allow.
struct Manners {
    int perHost = 2;  // requests at once to one host
    // Between the starts of two requests to it: 250 ms and a margin, so that a request that a busy
    // machine sends a few milliseconds late never reaches the host within 250 ms of the next.
    std::chrono::milliseconds startGap{260};
    int retries = 3;                                 // after a failure, a timeout or a 5xx answer
    std::chrono::milliseconds firstRetryWait{1000};  // doubled for each further retry
    std::chrono::seconds longestRetryAfter{60};      // the most a 429 is waited for
};

// Asks through an HttpClient with those manners, for any number of threads at once.
class PoliteFetcher {
  public:
    explicit PoliteFetcher(HttpClient& client, Manners manners = {});
    // The final answer: a success, an answer that is no use asking again for, or the last
    // failure once the retries are spent. A stop ends the waits at once.
    HttpAnswer get(const std::string& address, std::stop_token stop = {});

  private:
    struct Host {
        int active = 0;
        std::chrono::steady_clock::time_point lastStart{};
    };
    // Waits for the host's turn; false when stopped meanwhile.
    bool enter(const std::string& host, const std::stop_token& stop);
    void leave(const std::string& host);
    bool pause(std::chrono::milliseconds span, const std::stop_token& stop);

    HttpClient& client_;
    Manners manners_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::map<std::string, Host> hosts_;
};

// "scheme://host:port" of an address, in lower case: the unit the manners count by.
std::string hostKey(std::string_view address);

}  // namespace aurelant::quotes
