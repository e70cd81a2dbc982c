#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "viewer/browserengine.h"

class QNetworkReply;
class QTextBrowser;

namespace aurelant {

// The viewer's page display: a text browser, which runs no scripts. Local files and the
// program's own pages show at once; web addresses load through the network in the background,
// so that the display is busy and can be stopped meanwhile. A page that cannot be shown is
// replaced by a page that says why.
class TextBrowserEngine : public QObject, public BrowserEngine {
    Q_OBJECT

  public:
    explicit TextBrowserEngine(QTextBrowser* display);

    void navigate(const std::string& address) override;
    void goBack() override;
    void goForward() override;
    void goHome() override { navigate(kHomePageAddress); }
    void goSearch() override { navigate(kSearchPageAddress); }
    void refresh() override;
    void stop() override;

    bool busy() const override { return !reply_.isNull(); }
    std::string title() const override;
    std::string address() const override { return address_; }

    // The address of a link on the current page, made whole against the page's own address.
    std::string linkAddress(const QUrl& link) const;

    std::function<void(const std::string&)> onPageReached;
    std::function<void()> onLoadEnded;

  private:
    void load(const std::string& address);
    void showLocalFile(const std::string& path);
    void showResource(const std::string& address);
    void showSource(const QUrl& url);
    void startDownload(const std::string& address);
    void finishDownload(QNetworkReply* reply);
    void showProblem(const std::string& text);
    void reportArrival();

    QTextBrowser* display_;
    QNetworkAccessManager network_;
    QPointer<QNetworkReply> reply_;
    std::vector<std::string> history_;
    std::size_t position_ = 0;
    std::string address_;       // the page loading or shown
    std::string shownAddress_;  // the page last shown
};

}  // namespace aurelant
