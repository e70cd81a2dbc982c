#include "quotes/webupdate.h"

#include <filesystem>

#include "common/errors.h"
#include "pricefile/redisplaycommand.h"
#include "quotes/curlclient.h"
#include "quotes/remembered.h"
#include "quotes/update.h"
#include "quotes/updateform.h"
#include "state/appstate.h"

namespace aurelant {

void updateOpenFileFromWeb(AppState& window) {
    if (!window.globals.fileopen) {
        window.showMessage("You must first open a file");
        return;
    }
    const std::string path = window.globals.currentfile;
    quotes::UpdateForm form(quotes::rememberedSource(path),
                            !quotes::providerKey(quotes::Provider::AlphaVantage).empty());
    window.platform.showModal(form);
    if (!form.chosen()) {
        return;
    }
    const quotes::Source& source = *form.chosen();
    quotes::UpdateResult result;
    try {
        if (!form.typedKey().empty()) {
            quotes::rememberKey(source.provider, form.typedKey());
        }
        quotes::rememberSource(path, source);
        BusyPointer busy(window.platform);
        quotes::CurlClient client;
        quotes::PoliteFetcher fetcher(client);
        const std::string key =
            form.typedKey().empty() ? quotes::providerKey(source.provider) : form.typedKey();
        result = quotes::updateFile({path, source, key, window.platform.today()}, fetcher);
    } catch (const std::exception& exception) {
        window.showMessage(errorMessage(ErrorWording::Plain, asAppError(exception)));
        return;
    }
    const std::string name = std::filesystem::path(path).filename().string();
    if (result.outcome == quotes::UpdateResult::Outcome::Failed) {
        window.showMessage("The update of " + name + " failed: " + result.reason + ".");
        return;
    }
    window.showMessage(name + ": " + result.summary() + ".");
    if (result.outcome == quotes::UpdateResult::Outcome::Added) {
        redisplayOpenFile(window);
    }
}

}  // namespace aurelant
