#pragma once

#include <string>
#include <vector>

#include "predict/fileprediction.h"

namespace aurelant {

// A CSV field: quoted when it holds a comma, a quote or a line end. A text beginning with = + - @,
// a tab or a CR gets a ' before it and is quoted, so that a spreadsheet shows it as text.
std::string csvField(const std::string& text);

// The header row of the CSV table: "file,last_date,records,...".
std::string predictionTableHeader();

enum class TableFormat { Report, Csv, Json };

// The predictions of several files, one for each path in the same order, as a text: the report
// blocks (each after "== PATH" when there are several), a CSV table with a header row, or a JSON
// array of objects with the CSV's keys. Refused files are left out.
std::string predictionTable(const std::vector<std::string>& paths,
                            const std::vector<FilePrediction>& predictions, TableFormat format);

}  // namespace aurelant
