#pragma once

#include <chrono>
#include <optional>
#include <stop_token>
#include <string>

// One GET request and its answer: the seam between the quotes and the network, so that a test
// can stand a recorded answer in for the network's.
namespace aurelant::quotes {

struct HttpAnswer {
    long status = 0;  // 0: no answer came, and `failure` says why
    std::string body;
    std::string contentType;
    std::optional<std::chrono::seconds> retryAfter;  // of a 429 or 503
    std::string failure;
    bool lasting = false;  // a failure that asking again cannot mend (a certificate, a redirect)
};

class HttpClient {
  public:
    virtual ~HttpClient() = default;
    // Asks for `address`; a stop requested meanwhile ends the request as a failure.
    virtual HttpAnswer get(const std::string& address, std::stop_token stop) = 0;
};

struct HttpTimeouts {
    std::chrono::milliseconds connect{10'000};
    std::chrono::milliseconds whole{30'000};
};

// Whether an answer failed in a way that may pass when asked again: no answer, a timeout, a
// failure of the server.
inline bool worthRetrying(const HttpAnswer& answer) {
    return (answer.status == 0 && !answer.lasting) || answer.status >= 500;
}

}  // namespace aurelant::quotes
