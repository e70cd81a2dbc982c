#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "predict/fileprediction.h"

namespace aurelant {

// A CSV field: quoted when it holds a comma, a quote or a line end. A text beginning with = + - @,
// a tab or a CR gets a ' before it and is quoted, so that a spreadsheet shows it as text.
std::string csvField(const std::string& text);

// The header row of the CSV table: "file,last_date,records,...".
std::string predictionTableHeader();

// The predictions of several files, one for each path in the same order, as a text. Refused
// files are left out.
using TableWriter = std::string (*)(const std::vector<std::string>& paths,
                                    const std::vector<FilePrediction>& predictions);

// A way to write the predictions, by the name that chooses it.
struct TableFormat {
    std::string_view name;
    TableWriter write;
    ReportText report;  // whether the writer shows the report blocks, or they are left unmade
};

// The report blocks (each after "== PATH" when there are several), a CSV table with a header row,
// or a JSON array of objects with the CSV's keys; the first is the default.
std::span<const TableFormat> tableFormats();

}  // namespace aurelant
