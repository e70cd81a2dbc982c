#include "quotes/curlclient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>

namespace aurelant::quotes {
namespace {

constexpr curl_off_t kLargestAnswer = curl_off_t{64} << 20;
constexpr long kMostRedirects = 5;
constexpr const char* kSystemAuthorities = "/etc/ssl/certs/ca-certificates.crt";

struct Transfer {
    std::string body;
    bool tooLarge = false;
    std::optional<std::chrono::seconds> retryAfter;
    std::stop_token stop;
};

std::size_t keepBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer.body.size() + bytes > static_cast<std::size_t>(kLargestAnswer)) {
        transfer.tooLarge = true;
        return 0;  // ends the transfer
    }
    transfer.body.append(data, bytes);
    return bytes;
}

// "Retry-After: 120" or "Retry-After: Wed, 21 Oct 2026 07:28:00 GMT".
std::optional<std::chrono::seconds> retryAfter(std::string_view value) {
    const std::string text(value.substr(0, value.find_first_of("\r\n")));
    if (!text.empty() && std::all_of(text.begin(), text.end(), ::isdigit)) {
        return std::chrono::seconds(std::min(std::atoll(text.c_str()), 86400LL));
    }
    const time_t when = curl_getdate(text.c_str(), nullptr);
    if (when < 0) {
        return std::nullopt;
    }
    return std::chrono::seconds(std::max<long long>(0, when - std::time(nullptr)));
}

std::size_t readHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view kName = "retry-after:";
    if (line.starts_with("HTTP/")) {
        transfer.retryAfter.reset();  // a new answer after a redirect
    } else if (line.size() > kName.size() &&
               std::equal(kName.begin(), kName.end(), line.begin(),
                          [](char a, char b) { return a == std::tolower(b); })) {
        transfer.retryAfter = retryAfter(line.substr(line.find_first_not_of(' ', kName.size())));
    }
    return size * count;
}

int checkStop(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->stop.stop_requested() ? 1 : 0;
}

std::string readFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return in ? text.str() : std::string();
}

std::string hostOf(CURL* curl) {
    char* address = nullptr;
    curl_easy_getinfo(curl, CURLINFO_EFFECTIVE_URL, &address);
    std::string host = address != nullptr ? address : "";
    if (const std::size_t scheme = host.find("://"); scheme != std::string::npos) {
        host = host.substr(scheme + 3);
    }
    return host.substr(0, host.find_first_of("/?#"));
}

std::string seconds(std::chrono::milliseconds span) {
    std::ostringstream text;
    text << static_cast<double>(span.count()) / 1000;
    return text.str();
}

std::string failureText(CURLcode code, CURL* curl, const Transfer& transfer,
                        const HttpTimeouts& timeouts) {
    const std::string host = hostOf(curl);
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return "no answer from " + host + " within " + seconds(timeouts.whole) + " s";
        case CURLE_COULDNT_RESOLVE_HOST:
            return "the host " + host + " is not known";
        case CURLE_COULDNT_CONNECT:
            return "could not connect to " + host;
        case CURLE_PEER_FAILED_VERIFICATION:
            return "the certificate of " + host + " could not be verified";
        case CURLE_TOO_MANY_REDIRECTS:
            return host + " redirected more than 5 times";
        case CURLE_UNSUPPORTED_PROTOCOL:
            return "a redirect from https to a plain address was refused";
        case CURLE_ABORTED_BY_CALLBACK:
            return "cancelled";
        case CURLE_FILESIZE_EXCEEDED:
        case CURLE_WRITE_ERROR:
            if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
                return "the answer from " + host + " is larger than 64 MB";
            }
            break;
        default:
            break;
    }
    return std::string(curl_easy_strerror(code)) + " (" + host + ")";
}

}  // namespace

CurlClient::CurlClient(HttpTimeouts timeouts) : timeouts_(timeouts) {
    static std::once_flag started;
    std::call_once(started, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (const char* extra = std::getenv("AURELANT_CA_FILE"); extra != nullptr && *extra != '\0') {
        const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
        const char* system = info->cainfo != nullptr ? info->cainfo : kSystemAuthorities;
        // An extra file that cannot be read adds nothing; its server then fails verification.
        authorities_ = readFile(system) + "\n" + readFile(extra);
    }
}

HttpAnswer CurlClient::get(const std::string& address, std::stop_token stop) {
    const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
    Transfer transfer;
    transfer.stop = std::move(stop);
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    const bool secure = address.starts_with("https:");
    curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMostRedirects);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!authorities_.empty()) {
        curl_blob blob{authorities_.data(), authorities_.size(), CURL_BLOB_NOCOPY};
        curl_easy_setopt(handle, CURLOPT_CAINFO_BLOB, &blob);
    }
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(timeouts_.connect.count()));
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts_.whole.count()));
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, kLargestAnswer);
    curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");  // every coding libcurl unpacks
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);         // threads: no alarm for timeouts
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "aurelant");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, keepBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, checkStop);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);

    HttpAnswer answer;
    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        answer.failure = failureText(code, handle, transfer, timeouts_);
        answer.lasting = code == CURLE_PEER_FAILED_VERIFICATION ||
                         code == CURLE_TOO_MANY_REDIRECTS || code == CURLE_UNSUPPORTED_PROTOCOL ||
                         transfer.tooLarge;
        return answer;
    }
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.status);
    char* type = nullptr;
    curl_easy_getinfo(handle, CURLINFO_CONTENT_TYPE, &type);
    answer.contentType = type != nullptr ? type : "";
    answer.body = std::move(transfer.body);
    answer.retryAfter = transfer.retryAfter;
    return answer;
}

}  // namespace aurelant::quotes
