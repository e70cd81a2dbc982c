#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "quotes/curlclient.h"
#include "quotes/replayserver.h"
#include "quotes/update.h"
#include "tempfolder.h"

namespace aurelant::quotes {
namespace {

// Six trading days up to Monday 5 January 2026, with a Volume; the recorded answers hold them
// and the three days after.
constexpr const char* kCommaFile =
    "26-Dec-2025,100.10,101.50,99.25,100.87,1000000\r\n"
    "29-Dec-2025,101.10,102.50,100.25,101.87,1001000\r\n"
    "30-Dec-2025,102.10,103.50,101.25,102.87,1002000\r\n"
    "31-Dec-2025,103.10,104.50,102.25,103.87,1003000\r\n"
    "02-Jan-2026,104.10,105.50,103.25,104.87,1004000\r\n"
    "05-Jan-2026,105.10,106.50,104.25,105.87,1005000\r\n";
constexpr const char* kTabFile =
    "2025-12-29\t101.10\t102.50\t100.25\t101.87\r\n"
    "2026-01-02\t104.10\t105.50\t103.25\t104.87\r\n"
    "2026-01-05\t105.10\t106.50\t104.25\t105.87\r\n";
constexpr const char* kYahooDays =
    "06-Jan-2026,106.10,107.50,105.25,106.87,1006000\r\n"
    "07-Jan-2026,107.10,108.50,106.25,107.87,1007000\r\n"
    "08-Jan-2026,108.10,109.50,107.25,108.87,1008000\r\n";
constexpr const char* kTabDays =
    "2026-01-06\t106.10\t107.50\t105.25\t106.87\r\n"
    "2026-01-07\t107.10\t108.50\t106.25\t107.87\r\n"
    "2026-01-08\t108.10\t109.50\t107.25\t108.87\r\n";
constexpr const char* kKey = "K3Y0F7HEUSER";
constexpr CalendarDate kFriday{2026, 1, 9};

enum class Server { Plain, Tls, TlsUntrusted };

struct Case {
    const char* name;
    const char* source;  // {base} stands for the server's address
    const char* file;
    const char* expected;  // the summary, or its start for a failure that names the port
    const char* added;     // what the file gains; nothing for a file left as it was
    Server server = Server::Plain;
    CalendarDate today = kFriday;
    bool dryRun = false;
};

const Case kCases[] = {
    {"yahoo", "yahoo:AUR", kCommaFile, "3 days added (06-Jan-2026 to 08-Jan-2026)", kYahooDays},
    {"yahoo into TABs without volume", "yahoo:AUR", kTabFile,
     "3 days added (2026-01-06 to 2026-01-08)", kTabDays},
    {"binance leaves the open candle", "binance:AURUSDT", kTabFile,
     "3 days added (2026-01-06 to 2026-01-08)", kTabDays},
    {"alphavantage", "alphavantage:AUR", kCommaFile, "3 days added (06-Jan-2026 to 08-Jan-2026)",
     "06-Jan-2026,106.10,107.50,105.25,106.87,2000006\r\n"
     "07-Jan-2026,107.10,108.50,106.25,107.87,2000007\r\n"
     "08-Jan-2026,108.10,109.50,107.25,108.87,2000008\r\n"},
    {"url read by the recognition",
     "url:{base}/prices.csv?from={from}&to={to}&start={from_unix}&end={to_unix}", kCommaFile,
     "3 days added (06-Jan-2026 to 08-Jan-2026)",
     "06-Jan-2026,106.10,107.50,105.25,106.87,3006\r\n"
     "07-Jan-2026,107.10,108.50,106.25,107.87,3007\r\n"
     "08-Jan-2026,108.10,109.50,107.25,108.87,3008\r\n"},
    {"429 then 200", "yahoo:BUSY", kCommaFile, "3 days added", kYahooDays},
    {"500 and 502 then 200", "yahoo:FLAKY", kCommaFile, "3 days added", kYahooDays},
    {"a redirect", "yahoo:MOVED", kCommaFile, "3 days added", kYahooDays},
    {"gzip", "yahoo:PACKED", kCommaFile, "3 days added", kYahooDays},
    {"https", "yahoo:AUR", kCommaFile, "3 days added", kYahooDays, Server::Tls},
    {"a dry run writes nothing", "yahoo:AUR", kCommaFile,
     "3 days to add (06-Jan-2026 to 08-Jan-2026)", "", Server::Plain, kFriday, true},
    {"null prices", "yahoo:NULLS", kCommaFile,
     "2 days added (06-Jan-2026 to 08-Jan-2026); 1 day left out",
     "06-Jan-2026,106.10,107.50,105.25,106.87,1006000\r\n"
     "08-Jan-2026,108.10,109.50,107.25,108.87,1008000\r\n"},
    {"no new days",
     "yahoo:AUR",
     "08-Jan-2026,108.10,109.50,107.25,108.87,1008000\r\n",
     "up to date",
     "",
     Server::Plain,
     {2026, 1, 12}},
    {"latest day is yesterday: nothing asked",
     "yahoo:GONE",
     kCommaFile,
     "up to date",
     "",
     Server::Plain,
     {2026, 1, 6}},
    {"overlap mismatch", "yahoo:SPLIT", kCommaFile,
     "the source's Close for 26-Dec-2025 is 50.44, the file's is 100.87: a split or an "
     "adjustment? Nothing was written",
     ""},
    {"timeout", "yahoo:SLOW", kCommaFile, "no answer from 127.0.0.1:", ""},
    {"html with 200", "yahoo:PAGE", kCommaFile, "the answer is a web page, not prices", ""},
    {"alphavantage's note", "alphavantage:NOTE", kCommaFile,
     "the answer is a note, not prices: Thank you for using Alpha Vantage!", ""},
    {"an empty series", "yahoo:EMPTY", kCommaFile, "the answer holds no days", ""},
    {"404 with yahoo's error", "yahoo:GONE", kCommaFile,
     "the service answered 404: No data found, symbol may be delisted", ""},
    {"an authority not trusted", "yahoo:AUR", kCommaFile, "the certificate of 127.0.0.1:", "",
     Server::TlsUntrusted},
    {"never from https to http", "yahoo:DOWNGRADE", kCommaFile,
     "a redirect from https to a plain address was refused", "", Server::Tls},
};

void PrintTo(const Case& test, std::ostream* out) {
    *out << test.name;
}

class QuotesTest : public TempFolderTest, public ::testing::WithParamInterface<Case> {
  protected:
    // The servers start when a case first needs them, and end with the test program.
    static const ReplayServer& server(bool tls) {
        static ReplayServer plain(false);
        if (!tls) {
            return plain;
        }
        static ReplayServer secure(true);
        return secure;
    }
    static void TearDownTestSuite() {
        // Every case asks at most its retries' worth: four requests.
        CurlClient client;
        const HttpAnswer stats = client.get(server(false).address() + "/_stats", {});
        EXPECT_LE(nlohmann::json::parse(stats.body).at("requests").get<std::size_t>(),
                  4 * std::size(kCases));
    }
};

TEST_P(QuotesTest, UpdatesTheFileOrLeavesItAsItWas) {
    const Case& test = GetParam();
    const ReplayServer& server = QuotesTest::server(test.server != Server::Plain);
    for (const char* variable :
         {"AURELANT_YAHOO_URL", "AURELANT_BINANCE_URL", "AURELANT_ALPHAVANTAGE_URL"}) {
        ::setenv(variable, server.address().c_str(), 1);
    }
    if (test.server == Server::Tls) {
        ::setenv("AURELANT_CA_FILE", server.caFile().c_str(), 1);
    } else {
        ::unsetenv("AURELANT_CA_FILE");
    }
    std::string text = test.source;
    if (const std::size_t base = text.find("{base}"); base != std::string::npos) {
        text.replace(base, 6, server.address());
    }
    const std::string path = write("prices.csv", test.file);

    // Short waits, so that the timeouts and retries run in a few seconds.
    CurlClient client({std::chrono::milliseconds(1000), std::chrono::milliseconds(500)});
    PoliteFetcher fetcher(client, {2, std::chrono::milliseconds(10), 3,
                                   std::chrono::milliseconds(20), std::chrono::seconds(60)});
    const UpdateRequest request{path, *parseSource(text), kKey, test.today, test.dryRun};
    const UpdateResult result = updateFile(request, fetcher);

    EXPECT_TRUE(result.summary(test.dryRun).starts_with(test.expected))
        << result.summary(test.dryRun);
    EXPECT_EQ(read(path), std::string(test.file) + test.added);
    EXPECT_EQ(result.reason.find(kKey), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Answers, QuotesTest, ::testing::ValuesIn(kCases), [](const auto& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name;
});

TEST(QuoteSources, SpecsAndAddresses) {
    ::setenv("AURELANT_YAHOO_URL", "http://127.0.0.1:8/", 1);
    EXPECT_EQ(requestAddress(*parseSource("yahoo:^GSPC"), {2025, 12, 26}, {2026, 1, 8}),
              "http://127.0.0.1:8/v8/finance/chart/%5EGSPC?period1=1766707200&period2="
              "1767916800&interval=1d");
    EXPECT_EQ(requestAddress(*parseSource("url:https://x.org/q?a={from}&b={to_unix}"),
                             {2025, 12, 26}, {2026, 1, 8}),
              "https://x.org/q?a=2025-12-26&b=1767916799");
    std::string problem;
    for (const char* wrong : {"yahoo:", "yahoo:A B", "nasdaq:AUR", "url:ftp://x.org", "AUR"}) {
        EXPECT_FALSE(parseSource(wrong, &problem)) << wrong;
        EXPECT_FALSE(problem.empty());
    }
}

}  // namespace
}  // namespace aurelant::quotes
