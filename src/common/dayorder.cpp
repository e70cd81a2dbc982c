#include "common/dayorder.h"

#include <langinfo.h>
#include <locale.h>

#include <string_view>

namespace aurelant {

bool localeWritesDayFirst() {
    // A locale of its own: the program's global locale stays "C" for its number texts.
    const locale_t locale = ::newlocale(LC_TIME_MASK, "", nullptr);
    if (locale == nullptr) {
        return false;
    }
    const std::string_view format = ::nl_langinfo_l(D_FMT, locale);
    const bool dayFirst = format.find("%d") < format.find("%m");
    ::freelocale(locale);
    return dayFirst;
}

}  // namespace aurelant
