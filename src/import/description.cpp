#include "import/description.h"

#include <array>

namespace aurelant::import {
namespace {

std::string separatorWords(char separator) {
    switch (separator) {
        case ';':
            return "semicolons";
        case '\t':
            return "TABs";
        case '|':
            return "vertical bars";
        case ' ':
            return "blanks";
        default:
            return "commas";
    }
}

std::string markName(char mark) {
    switch (mark) {
        case ',':
            return "comma";
        case '.':
            return "point";
        case ' ':
            return "blank";
        default:
            return "apostrophe";
    }
}

std::string numbersLine(const Evidence& evidence) {
    std::string line = "Decimal mark: " + markName(evidence.marks.decimal);
    if (evidence.marksChosen) {
        line += " (as chosen: every price has three digits after its mark)";
    } else if (evidence.marksAmbiguous) {
        line += " (every price has three digits after its mark, so this is a guess)";
    }
    if (evidence.marks.thousands != 0) {
        line += "; thousands separator: " + markName(evidence.marks.thousands);
    }
    const Decorations& d = evidence.decorations;
    std::string removed;
    for (const auto& [present, words] :
         {std::pair{d.quotes, "quotes"}, std::pair{d.currency, "currency signs"},
          std::pair{d.percent, "percent signs"}}) {
        if (present) {
            removed += (removed.empty() ? "" : ", ") + std::string(words);
        }
    }
    if (!removed.empty()) {
        line += "; " + removed + " removed";
    }
    if (d.suffixes) {
        line += "; volumes in K, M or B multiplied out";
    }
    if (d.exponents) {
        line += "; numbers in scientific notation written out";
    }
    return line + ".";
}

constexpr const char* kUseNames[] = {"Date",  "Time",   "Open",     "High",    "Low",
                                     "Close", "Volume", "left out", "not read"};

std::string columnsLine(const Evidence& evidence) {
    std::string line = "Columns:";
    const char* separator = " ";
    for (std::size_t column = 0; column < evidence.uses.size(); ++column) {
        line += separator + columnLabel(evidence, column) + ": " +
                kUseNames[static_cast<std::size_t>(evidence.uses[column])];
        separator = ", ";
    }
    return line + (evidence.header ? "." : "; the file has no header line.");
}

// Where the header's words and the prices' behaviour disagree, the behaviour counts.
std::string misnamedLine(const Evidence& evidence) {
    std::string line;
    for (const std::size_t column : evidence.misnamed) {
        line += (line.empty() ? "" : ", ") + columnLabel(evidence, column) + " is taken as " +
                kUseNames[static_cast<std::size_t>(evidence.uses[column])];
    }
    return "The header's words and the prices disagree: " + line +
           ", as the prices themselves behave.";
}

constexpr const char* kChoiceLine =
    "Which columns are Open and Close is not clear from the file: please check the choice below.";

std::string datesLine(const Evidence& evidence) {
    std::string line = "Dates such as " + evidence.dateExample;
    if (!evidence.numericDates) {
        return line + ".";
    }
    line += evidence.dayFirst ? ", read day first" : ", read month first";
    switch (evidence.orderSource) {
        case OrderSource::File:
            return line + " (the file shows it: " + evidence.orderProof + ").";
        case OrderSource::User:
            return line + " (as you chose).";
        default:
            return line + " (no date shows the order, so your locale's order is used).";
    }
}

std::string countOf(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

std::string columnLabel(const Evidence& evidence, std::size_t column) {
    const std::string& name =
        column < evidence.columnNames.size() ? evidence.columnNames[column] : std::string();
    return name.empty() ? "column " + std::to_string(column + 1) : "\"" + name + "\"";
}

std::vector<std::string> describe(const Recognition& recognition) {
    const Evidence& e = recognition.evidence;
    std::vector<std::string> lines{
        countOf(recognition.days.size(), "daily record", "daily records") + " to import."};
    if (e.encoding != Encoding::Utf8) {
        lines.push_back(std::string("Text read as ") + encodingName(e.encoding) + ".");
    }
    lines.insert(lines.end(), {"Fields separated by " + separatorWords(e.separator) + ".",
                               numbersLine(e), columnsLine(e), datesLine(e)});
    if (!e.misnamed.empty()) {
        lines.push_back(misnamedLine(e));
    }
    if (!e.openCloseChoices.empty()) {
        lines.emplace_back(kChoiceLine);
    }
    if (e.linesAbove + e.linesBelow > 0) {
        lines.push_back(countOf(e.linesAbove, "line", "lines") + " above the table and " +
                        countOf(e.linesBelow, "line", "lines") + " below it left out.");
    }
    if (e.reversed) {
        lines.emplace_back("The file lists the newest day first; the days are put oldest first.");
    }
    if (e.rowsWithoutPrices > 0) {
        lines.push_back(countOf(e.rowsWithoutPrices, "row", "rows") +
                        " without prices (such as \"null\" or \"-\") left out.");
    }
    if (e.rowsUnreadable > 0) {
        lines.push_back(countOf(e.rowsUnreadable, "line", "lines") +
                        " without a date and four prices left out.");
    }
    if (e.joinedDays > 0) {
        lines.push_back(countOf(e.barsJoined, "bar", "bars") + " within the day joined into " +
                        countOf(e.joinedDays, "daily record", "daily records") + ".");
    }
    if (e.repeatedDates > 0) {
        lines.push_back(countOf(e.repeatedDates, "date", "dates") +
                        " repeated; the later row kept each time.");
    }
    return lines;
}

std::string differenceSentence(Difference difference) {
    static const std::array<const char*, static_cast<std::size_t>(Difference::Count)> sentences{
        "The fields in this file are separated by semicolons.",
        "The fields in this file are separated by blanks.",
        "The prices in this file use decimal commas.",
        "The prices in this file are written with quotes, currency signs or thousands "
        "separators, or in scientific notation.",
        "Some rows of this file have no prices (such as \"null\").",
        "The columns of this file are not Date, Open, High, Low and Close in that order.",
        "The dates in this file put the day before the month.",
        "This file holds several bars a day, which must be joined into daily records.",
        "Some dates in this file stand on more than one row.",
        "This file lists the newest day first.",
        "This file is not written in UTF-8.",
        "This file holds lines that are not daily prices, above, below or among them.",
    };
    return sentences[static_cast<std::size_t>(difference)];
}

}  // namespace aurelant::import
