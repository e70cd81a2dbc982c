#pragma once

#include <string>

namespace aurelant {

// What the viewer asks of the page display it holds. The Qt window implements it with a text
// browser and the network; tests with a scripted engine. The engine reports a page reached and
// a load ended through the viewer's handlers.
class BrowserEngine {
  public:
    virtual ~BrowserEngine() = default;

    virtual void navigate(const std::string& address) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void goHome() = 0;
    virtual void goSearch() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;

    virtual bool busy() const = 0;
    virtual std::string title() const = 0;
    virtual std::string address() const = 0;
};

// The viewer's own pages, shipped inside the program.
inline constexpr const char* kHomePageAddress = "qrc:/viewer/home.html";
inline constexpr const char* kSearchPageAddress = "qrc:/viewer/search.html";

}  // namespace aurelant
