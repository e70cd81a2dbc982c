#include "textconversion.h"

#include "common/utf8.h"

namespace aurelant {

QString toDisplayText(const std::string& modelText) {
    QString text = QString::fromUtf8(modelText.data(), static_cast<qsizetype>(modelText.size()));
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    return text;
}

std::string toModelText(const QString& displayText) {
    QString text = displayText;
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');
    text.replace(QChar::ParagraphSeparator, '\n');
    text.replace('\n', "\r\n");
    return text.toStdString();
}

std::size_t toModelOffset(const std::string& modelText, int displayOffset) {
    std::size_t at = 0;
    for (int shown = 0; at < modelText.size() && shown < displayOffset; ++shown) {
        if (modelText.compare(at, 2, "\r\n") == 0) {
            at += 2;  // one line break on screen
            continue;
        }
        const std::size_t length = characterLength(modelText, at);
        at += length;
        if (length == 4) {
            ++shown;  // QString counts a character beyond the basic plane twice
        }
    }
    return at;
}

}  // namespace aurelant
