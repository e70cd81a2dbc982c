#pragma once

#include <string>
#include <vector>

#include "import/recognition.h"

// What the recognition found, in plain words for the user.
namespace aurelant::import {

// One line each: separator, number marks, decorations, columns, dates and their order, order of
// the rows, rows skipped and why, bars joined, repeated dates.
std::vector<std::string> describe(const Recognition& recognition);

// A column as the user knows it: its heading in quotes, or "column 3".
std::string columnLabel(const Evidence& evidence, std::size_t column);

// One sentence on a difference from the program's own layout, as Open's question gives it:
// "The prices in this file use decimal commas."
std::string differenceSentence(Difference difference);

}  // namespace aurelant::import
