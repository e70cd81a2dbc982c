#pragma once

#include <string>

#include "quotes/httpclient.h"

namespace aurelant::quotes {

// The HTTP client on libcurl. TLS is always verified, against the system's authorities and the
// one extra authority file named in AURELANT_CA_FILE; proxies come from https_proxy, http_proxy
// and no_proxy; answers are unpacked from gzip and capped at 64 MB; at most 5 redirects are
// followed, never from https to http. Safe to use from several threads at once.
class CurlClient : public HttpClient {
  public:
    explicit CurlClient(HttpTimeouts timeouts = {});
    HttpAnswer get(const std::string& address, std::stop_token stop) override;

  private:
    HttpTimeouts timeouts_;
    std::string authorities_;  // the system's and the extra authorities, when one is given
};

}  // namespace aurelant::quotes
