#include "scenario/generated_history.h"

#include <fstream>

#include "common/dates.h"

namespace aurelant {

void writeGeneratedHistory(const std::string& path, std::size_t count) {
    std::ofstream out(path, std::ios::binary);
    const double firstDay = dateNumber({2000, 1, 1});
    for (std::size_t day = 0; day < count; ++day) {
        const int open = 100 + static_cast<int>(day % 10);
        out << formatDate(dateFromNumber(firstDay + static_cast<double>(day))) << ',' << open
            << ".5," << open + 2 << ".25," << open - 1 << ".75," << open + 1 << "\r\n";
    }
}

}  // namespace aurelant
