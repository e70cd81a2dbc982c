#pragma once

#include <QString>
#include <string>

// The models keep CR LF between lines; Qt's text widgets use a single line feed.
namespace aurelant {

QString toDisplayText(const std::string& modelText);
std::string toModelText(const QString& displayText);

// The offset in `modelText` of the character shown at `displayOffset`.
std::size_t toModelOffset(const std::string& modelText, int displayOffset);

}  // namespace aurelant
