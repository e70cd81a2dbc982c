#include "textbrowserengine.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
#include <QTextBrowser>

#include "viewer/pagesource.h"

namespace aurelant {
namespace {

constexpr int kTransferTimeoutMs = 30000;

QUrl addressUrl(const std::string& address) {
    if (addressKind(address) == AddressKind::LocalFile) {
        return QUrl::fromLocalFile(
            QFileInfo(QString::fromStdString(localPath(address))).absoluteFilePath());
    }
    return QUrl(QString::fromStdString(address));
}

}  // namespace

TextBrowserEngine::TextBrowserEngine(QTextBrowser* display) : display_(display) {
    display_->setOpenLinks(false);  // links go through the viewer, which keeps the history
}

void TextBrowserEngine::navigate(const std::string& address) {
    if (!history_.empty()) {
        history_.resize(position_ + 1);
    }
    history_.push_back(address);
    position_ = history_.size() - 1;
    load(address);
}

void TextBrowserEngine::goBack() {
    if (position_ > 0) {
        load(history_[--position_]);
    }
}

void TextBrowserEngine::goForward() {
    if (position_ + 1 < history_.size()) {
        load(history_[++position_]);
    }
}

void TextBrowserEngine::refresh() {
    if (!address_.empty()) {
        load(address_);
    }
}

// The page shown so far stays, and is the current page again: its title, its address.
void TextBrowserEngine::stop() {
    if (QNetworkReply* reply = reply_) {
        reply_.clear();
        reply->abort();
        reply->deleteLater();
        address_ = shownAddress_;
    }
}

std::string TextBrowserEngine::title() const {
    const QString title = display_->documentTitle();
    return title.isEmpty() ? address_ : title.toStdString();
}

std::string TextBrowserEngine::linkAddress(const QUrl& link) const {
    const QUrl whole = addressUrl(address_).resolved(link);
    return whole.isLocalFile() ? whole.toLocalFile().toStdString() : whole.toString().toStdString();
}

void TextBrowserEngine::load(const std::string& address) {
    stop();
    address_ = address;
    switch (addressKind(address)) {
        case AddressKind::Web:
            startDownload(address);
            return;
        case AddressKind::Resource:
            showResource(address);
            break;
        case AddressKind::LocalFile:
            showLocalFile(localPath(address));
            break;
    }
    reportArrival();
}

void TextBrowserEngine::showLocalFile(const std::string& path) {
    if (const auto problem = localFileProblem(path)) {
        showProblem(*problem);
        return;
    }
    showSource(addressUrl(path));
}

void TextBrowserEngine::showResource(const std::string& address) {
    const QUrl url = addressUrl(address);
    if (!QFile::exists(':' + url.path())) {
        showProblem("The page " + address + " is not one of this program's pages.");
        return;
    }
    showSource(url);
}

// Reads the page again when it is the one already shown.
void TextBrowserEngine::showSource(const QUrl& url) {
    if (display_->source() == url) {
        display_->reload();
    } else {
        display_->setSource(url);
    }
}

void TextBrowserEngine::startDownload(const std::string& address) {
    QNetworkRequest request(addressUrl(address));
    request.setTransferTimeout(kTransferTimeoutMs);
    request.setMaximumRedirectsAllowed(5);
    QNetworkReply* reply = network_.get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finishDownload(reply); });
}

void TextBrowserEngine::finishDownload(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != reply_) {
        return;  // stopped, or replaced by a newer load
    }
    reply_.clear();
    if (reply->error() != QNetworkReply::NoError) {
        showProblem("The address " + address_ +
                    " cannot be reached: " + reply->errorString().toStdString());
    } else if (reply->size() > static_cast<qint64>(kLargestShownPage)) {
        showProblem("The page at " + address_ + " is too large to be shown here.");
    } else {
        display_->document()->setBaseUrl(reply->url());
        display_->setHtml(QString::fromUtf8(reply->readAll()));
    }
    reportArrival();
}

void TextBrowserEngine::showProblem(const std::string& text) {
    display_->setHtml(QString::fromStdString(messagePage(kCannotShowTitle, text)));
}

void TextBrowserEngine::reportArrival() {
    shownAddress_ = address_;
    if (onPageReached) {
        onPageReached(address_);
    }
    if (onLoadEnded) {
        onLoadEnded();
    }
}

}  // namespace aurelant
