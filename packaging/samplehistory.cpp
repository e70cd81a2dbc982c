// Writes the sample history file that the package ships: ten years of daily prices, one record
// a weekday, from a random walk with a fixed seed, so that every build ships the same file and a
// prediction on it finds patterns, a back-test and price levels like a real share's.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <random>
#include <string_view>

#include "common/dates.h"

namespace {

constexpr const char* kUsage =
    "usage: aurelant-sample-history OUTPUT.csv\n"
    "Writes ten years of made-up daily prices, one record a weekday, into OUTPUT.csv.\n"
    "  --help  show this text\n";

constexpr aurelant::CalendarDate kFirstDay{2015, 1, 2};
constexpr aurelant::CalendarDate kLastDay{2024, 12, 31};

class RandomWalk {
  public:
    // One trading day: the Open gaps a little from the last Close, the Close moves about 1.2 %
    // with a slight upward drift, and High and Low reach beyond both.
    void writeDay(std::ostream& out) {
        const double open = close_ * std::exp(gap_(random_));
        const double close = open * std::exp(move_(random_));
        const double high = std::max(open, close) * std::exp(std::abs(reach_(random_)));
        const double low = std::min(open, close) * std::exp(-std::abs(reach_(random_)));
        out << std::fixed << std::setprecision(2) << open << ',' << high << ',' << low << ','
            << close;
        close_ = close;
    }

  private:
    std::mt19937 random_{20150102};
    std::normal_distribution<double> gap_{0.0, 0.003};
    std::normal_distribution<double> move_{0.0003, 0.012};
    std::normal_distribution<double> reach_{0.0, 0.006};
    double close_ = 42.50;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string_view argument = argc == 2 ? argv[1] : "";
    if (argument == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argument.empty() || argument.front() == '-') {
        if (argument.size() > 1) {
            std::fprintf(stderr, "aurelant-sample-history: unknown option %s\n", argv[1]);
        }
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << "Date,Open,High,Low,Close\r\n";
    RandomWalk walk;
    for (double day = aurelant::dateNumber(kFirstDay); day <= aurelant::dateNumber(kLastDay);
         ++day) {
        if (!aurelant::isWeekend(aurelant::dateFromNumber(day))) {
            out << aurelant::formatDate(aurelant::dateFromNumber(day)) << ',';
            walk.writeDay(out);
            out << "\r\n";
        }
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "aurelant-sample-history: %s cannot be written\n", argv[1]);
        return 1;
    }
    return 0;
}
