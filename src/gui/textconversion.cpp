#include "textconversion.h"

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

// Walks the model text one shown character at a time: CR LF is one, a UTF-8 sequence is one
// (or two, for characters outside the basic plane, as QString counts them).
namespace {

std::size_t modelStep(const std::string& text, std::size_t i, int& shown) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        shown = 1;
        return 2;
    }
    std::size_t length = 1;
    if (byte >= 0xF0) {
        length = 4;
    } else if (byte >= 0xE0) {
        length = 3;
    } else if (byte >= 0xC0) {
        length = 2;
    }
    shown = length == 4 ? 2 : 1;
    return std::min(length, text.size() - i);
}

// Walks the model text until `stop(modelOffset, shownOffset)` holds or the text ends.
template <typename Stop>
std::pair<std::size_t, int> walk(const std::string& text, Stop stop) {
    std::size_t i = 0;
    int shownSoFar = 0;
    while (i < text.size() && !stop(i, shownSoFar)) {
        int shown = 0;
        i += modelStep(text, i, shown);
        shownSoFar += shown;
    }
    return {i, shownSoFar};
}

}  // namespace

std::size_t toModelOffset(const std::string& modelText, int displayOffset) {
    return walk(modelText,
                [displayOffset](std::size_t, int shown) { return shown >= displayOffset; })
        .first;
}

int toDisplayOffset(const std::string& modelText, std::size_t modelOffset) {
    return walk(modelText, [modelOffset](std::size_t model, int) { return model >= modelOffset; })
        .second;
}

}  // namespace aurelant
