#include "scenario/generated_history.h"

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <random>

#include "common/dates.h"

namespace aurelant {
namespace {

// Writes `count` lines "date,prices" from 01-Jan-2000 on; `prices` writes a day's fields.
template <typename Prices>
void writeDays(const std::string& path, std::size_t count, Prices prices) {
    std::ofstream out(path, std::ios::binary);
    const double firstDay = dateNumber({2000, 1, 1});
    for (std::size_t day = 0; day < count; ++day) {
        out << formatDate(dateFromNumber(firstDay + static_cast<double>(day))) << ',';
        prices(out, day);
        out << "\r\n";
    }
}

}  // namespace

void writeGeneratedHistory(const std::string& path, std::size_t count) {
    writeDays(path, count, [](std::ostream& out, std::size_t day) {
        const int open = 100 + static_cast<int>(day % 10);
        out << open << ".5," << open + 2 << ".25," << open - 1 << ".75," << open + 1;
    });
}

void writeRandomWalkHistory(const std::string& path, std::size_t count) {
    std::mt19937 random(4);
    std::uniform_real_distribution<double> move(-0.02, 0.02);
    double open = 50;
    writeDays(path, count, [&](std::ostream& out, std::size_t day) {
        const double close = day % 97 == 0 ? open : open * (1 + move(random));
        const double high = std::max(open, close) * 1.01;
        const double low = std::min(open, close) * 0.99;
        out << std::fixed << std::setprecision(2) << open << ',' << high << ',' << low << ','
            << close;
        open = close;
    });
}

}  // namespace aurelant
