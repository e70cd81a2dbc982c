#include "pricefile/redisplaycommand.h"

#include "common/errors.h"
#include "common/textfile.h"
#include "pricefile/filetools.h"
#include "state/appstate.h"

namespace aurelant {

void redisplayOpenFile(AppState& window) {
    const Globals& g = window.globals;
    if (!g.fileopen) {
        return;
    }
    window.maintext.setText("");
    window.infolabel.caption = kInformationPanel;
    try {
        BusyPointer busy(window.platform);
        requireUserFile(g.currentfile, Access::Read);
        // Room for the whole file at once (an eighth more for LF line ends that become CR LF),
        // so that the screen text is not copied again and again as it grows.
        const std::uintmax_t size = fileSize(g.currentfile);
        window.maintext.text.reserve(static_cast<std::size_t>(size + size / 8));
        LineReader reader(g.currentfile);
        for (std::string_view line; reader.next(line);) {
            window.maintext.append(line);
            window.maintext.append(g.crlf);
        }
    } catch (const std::exception& exception) {
        window.showMessage(errorMessage(ErrorWording::Plain, asAppError(exception)));
    }
}

}  // namespace aurelant
