#include "predict/predictiontable.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/numtext.h"
#include "common/utf8.h"

namespace aurelant {
namespace {

constexpr std::array<const char*, 14> kKeys = {
    "file",        "last_date", "records",       "direction",      "probability",
    "confident",   "open",      "level75",       "level50",        "level25",
    "predictions", "right",     "percent_right", "percent_reached"};

// The CSV's last columns; JSON has these and more under "calibration".
constexpr std::array<const char*, 3> kCalibrationKeys = {"brier", "brier_base_rate", "skill"};

struct Field {
    std::string text;
    bool number = false;
};

std::array<Field, kKeys.size()> fieldsOf(const std::string& path, const FilePrediction& file) {
    const bool withLevels = file.predicted && file.levels.has_value();
    const auto level = [&](std::size_t i) {
        return Field{withLevels ? file.levels->levels[i] : "", true};
    };
    return {Field{path},
            Field{file.lastDate},
            Field{std::to_string(file.records), true},
            Field{directionName(file.direction())},
            Field{file.predicted ? file.probability : "", true},
            Field{file.predicted && file.confident ? "yes" : "no"},
            Field{withLevels ? file.levels->open : "", true},
            level(0),
            level(1),
            level(2),
            Field{std::to_string(file.confidentPredictions), true},
            Field{std::to_string(file.confidentRight), true},
            Field{file.percentRight, true},
            Field{file.percentReached, true}};
}

std::array<Field, kCalibrationKeys.size()> calibrationFields(const Calibration& calibration) {
    const std::optional<double> skill = calibration.skill();
    return {Field{trimmedNumberText(calibration.brier()), true},
            Field{trimmedNumberText(calibration.brierBaseRate()), true},
            Field{skill ? trimmedNumberText(*skill) : "", true}};
}

// Numbers as JSON has them: ".5" -> 0.5, "-.5" -> -0.5; null for none.
std::string jsonNumber(const std::string& text) {
    if (text.empty()) {
        return "null";
    }
    if (text.starts_with(".")) {
        return "0" + text;
    }
    if (text.starts_with("-.")) {
        return "-0" + text.substr(1);
    }
    return text;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD, so the document stays valid.
std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = characterLength(text, at);
        const std::string_view character = std::string_view(text).substr(at, length);
        at += length;
        const auto byte = static_cast<unsigned char>(character[0]);
        if (character == "\"" || character == "\\") {
            quoted += "\\" + std::string(character);
        } else if (byte < 0x20) {
            std::array<char, 8> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
            quoted += escaped.data();
        } else if (!isValidUtf8(character)) {
            quoted += "\\ufffd";
        } else {
            quoted += character;
        }
    }
    return quoted + "\"";
}

std::string csvCells(std::span<const Field> fields) {
    std::string row;
    for (const Field& field : fields) {
        row += (row.empty() ? "" : ",") + csvField(field.text);
    }
    return row;
}

std::string csvRow(const std::string& path, const FilePrediction& file) {
    return csvCells(fieldsOf(path, file)) + "," + csvCells(calibrationFields(file.calibration)) +
           "\n";
}

std::string jsonNumber(double value) {
    return jsonNumber(trimmedNumberText(value));
}

// {"probability": 54, "predictions": 3, "right": 2}, or with "year" in place of "probability".
std::string jsonShare(const char* key, const std::string& value, const Share& share) {
    return "{\"" + std::string(key) + "\": " + jsonNumber(value) +
           ", \"predictions\": " + std::to_string(share.predictions) +
           ", \"right\": " + std::to_string(share.right) + "}";
}

std::string jsonCalibration(const Calibration& calibration) {
    const std::optional<double> skill = calibration.skill();
    std::string object = "{\"judged\": " + std::to_string(calibration.judged()) +
                         ", \"brier\": " + jsonNumber(calibration.brier()) +
                         ", \"brier_base_rate\": " + jsonNumber(calibration.brierBaseRate()) +
                         ", \"skill\": " + (skill ? jsonNumber(*skill) : "null") +
                         ", \"by_probability\": [";
    for (const ProbabilityShare& stated : calibration.byProbability()) {
        object += (object.ends_with("[") ? "" : ", ") +
                  jsonShare("probability", trimmedNumberText(stated.probability), stated.share);
    }
    object += "], \"by_year\": [";
    for (const YearShare& year : calibration.byYear()) {
        object += (object.ends_with("[") ? "" : ", ") +
                  jsonShare("year", std::to_string(year.year), year.share);
    }
    return object + "]}";
}

std::string jsonObject(const std::string& path, const FilePrediction& file) {
    const auto fields = fieldsOf(path, file);
    std::string object = "{";
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const Field& field = fields[i];
        object += (i == 0 ? "\"" : ", \"") + std::string(kKeys[i]) +
                  "\": " + (field.number ? jsonNumber(field.text) : jsonString(field.text));
    }
    return object + ", \"calibration\": " + jsonCalibration(file.calibration) + "}";
}

// The report's lines, each with its control characters escaped, so that a name or date from a
// file can neither start a line nor move the terminal's cursor.
std::string escapedLines(std::string_view text) {
    std::string escaped;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        escaped += escapedControls(text.substr(start, end - start));
        escaped += end < text.size() ? "\n" : "";
        start = end + 1;
    }
    return escaped;
}

std::string reports(const std::vector<std::string>& paths,
                    const std::vector<FilePrediction>& predictions) {
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!predictions[i].refused()) {
            text += (paths.size() > 1 ? "== " + escapedControls(paths[i]) + "\n" : "") +
                    escapedLines(predictions[i].report) + "\n";
        }
    }
    return text;
}

std::string csvTable(const std::vector<std::string>& paths,
                     const std::vector<FilePrediction>& predictions) {
    std::string text = predictionTableHeader() + "\n";
    for (std::size_t i = 0; i < paths.size(); ++i) {
        text += predictions[i].refused() ? "" : csvRow(paths[i], predictions[i]);
    }
    return text;
}

std::string jsonArray(const std::vector<std::string>& paths,
                      const std::vector<FilePrediction>& predictions) {
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (!predictions[i].refused()) {
            text += (text.empty() ? "[\n  " : ",\n  ") + jsonObject(paths[i], predictions[i]);
        }
    }
    return text.empty() ? "[]\n" : text + "\n]\n";
}

}  // namespace

std::string predictionTableHeader() {
    std::string header;
    for (const char* key : kKeys) {
        header += (header.empty() ? "" : ",") + std::string(key);
    }
    for (const char* key : kCalibrationKeys) {
        header += "," + std::string(key);
    }
    return header;
}

std::string csvField(const std::string& text) {
    // A spreadsheet takes a cell beginning with one of these as a formula; a quote before it
    // makes it text. A plain number such as -2.5 is no formula and stays a number.
    double number = 0;
    const bool plainNumber = std::from_chars(text.data(), text.data() + text.size(), number).ptr ==
                             text.data() + text.size();
    const bool formula = !text.empty() && !plainNumber &&
                         std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    if (!formula && text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = formula ? "\"'" : "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::span<const TableFormat> tableFormats() {
    static constexpr std::array<TableFormat, 3> kFormats = {
        TableFormat{"report", reports, ReportText::Made},
        TableFormat{"csv", csvTable, ReportText::Left},
        TableFormat{"json", jsonArray, ReportText::Left}};
    return kFormats;
}

}  // namespace aurelant
