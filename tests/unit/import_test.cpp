#include <gtest/gtest.h>

#include "import/recognition.h"

namespace aurelant::import {
namespace {

// Five rows, "DD" standing for the days 12 to 16 February 2024 (12 and up show the day order).
std::string fiveDays(std::string_view row) {
    std::string text;
    for (const char* day : {"12", "13", "14", "15", "16"}) {
        std::string line(row);
        line.replace(line.find("DD"), 2, day);
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> list;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        list.push_back(text.substr(at, text.find('\r', at) - at));
    }
    return list;
}

struct Layout {
    const char* header;
    const char* row;
    const char* expected;             // the daily line, "DD" the day
    std::optional<Difference> asked;  // the first difference, as Open names it
};

// Layouts of quote services, brokers and spreadsheets that give the same five days.
TEST(Recognise, LayoutsOfQuoteServices) {
    const Layout layouts[] = {
        {"Date,Open,High,Low,Close", "2024-02-DD,10.5,11,10.25,10.75",
         "2024-02-DD,10.5,11,10.25,10.75", std::nullopt},
        {"Date,Open,High,Low,Close,Adj Close,Volume", "2024-02-DD,10.5,11,10.25,10.75,10.7,1200",
         "2024-02-DD,10.5,11,10.25,10.75,1200", std::nullopt},
        {"", "2024.02.DD,10.5,11,10.25,10.75", "2024-02-DD,10.5,11,10.25,10.75", std::nullopt},
        {"", "2024-02-DDT00:00:00,10.5,11,10.25,10.75", "2024-02-DD,10.5,11,10.25,10.75",
         std::nullopt},
        {"Datum;Erster;Hoch;Tief;Schlusskurs;Volumen",
         "DD.02.2024;1.234,50;1.240,00;1.230,25;1.238,75;1.200",
         "2024-02-DD,1234.50,1240.00,1230.25,1238.75,1200", Difference::Semicolons},
        {"", "DD.02.2024;1'234.50;1'240.00;1'230.25;1'238.75",
         "2024-02-DD,1234.50,1240.00,1230.25,1238.75", Difference::Semicolons},
        {"Date\tOuverture\tHaut\tBas\tCl\xC3\xB4ture", "DD/02/2024\t10,5\t11\t10,25\t10,75",
         "2024-02-DD,10.5,11,10.25,10.75", Difference::DecimalCommas},
        {"Fecha   Apertura  M\xC3\xA1ximo  M\xC3\xADnimo  Cierre",
         "2024-02-DD  10.5  11  10.25  10.75", "2024-02-DD,10.5,11,10.25,10.75",
         Difference::Blanks},
        {"Data,Apertura,Massimo,Minimo,Chiusura",
         "DD-Feb-2024,\"1,234.50\",\"1,240.00\",\"1,230.25\",\"1,238.75\"",
         "2024-02-DD,1234.50,1240.00,1230.25,1238.75", Difference::Decorations},
        {"\"Date\",\"Price\",\"Open\",\"High\",\"Low\",\"Vol.\",\"Change %\"",
         "\"Feb DD, 2024\",\"10.75\",\"10.5\",\"11\",\"10.25\",\"1.2K\",\"0.5%\"",
         "2024-02-DD,10.5,11,10.25,10.75,1200", Difference::Decorations},
        {"Date,Close/Last,Volume,Open,High,Low", "02/DD/2024,$10.75,1200,$10.5,$11,$10.25",
         "2024-02-DD,10.5,11,10.25,10.75,1200", Difference::Decorations},
        {"<TICKER>,<PER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>,<OPENINT>",
         "ACME,D,202402DD,000000,10.5,11,10.25,10.75,1200,0", "2024-02-DD,10.5,11,10.25,10.75,1200",
         Difference::Columns},
        {"", "ACME\tDD Feb 2024\t10.5\t11\t10.25\t10.75\t1200",
         "2024-02-DD,10.5,11,10.25,10.75,1200", Difference::Columns},
        {"", "DD/02/24,10.5,11,10.25,10.75", "2024-02-DD,10.5,11,10.25,10.75",
         Difference::DayFirst},
    };
    for (const Layout& layout : layouts) {
        const std::string text =
            (*layout.header ? std::string(layout.header) + "\n" : "") + fiveDays(layout.row);
        const Recognition recognition = recognise(text);
        ASSERT_TRUE(recognition.recognised()) << layout.row << ": " << recognition.problem;
        EXPECT_EQ(dailyLines(recognition), lines(fiveDays(layout.expected))) << layout.row;
        const auto differences = recognition.differences();
        EXPECT_EQ(differences.empty() ? std::nullopt : std::optional(differences.front()),
                  layout.asked)
            << layout.row;
    }
}

struct Rows {
    const char* text;
    std::vector<std::string> expected;
    std::vector<Difference> differences;
};

// What becomes of rows: placeholders and impossible prices left out, newest first reversed, bars
// within the day joined, a repeated date the later row.
TEST(Recognise, RowsBecomeDailyRecords) {
    const Rows cases[] = {
        {"Date,Open,High,Low,Close,Adj Close,Volume\n2024-02-09,5,6,4,5.5,5.5,10\n"
         "2024-02-08,null,null,null,null,null,null\n2024-02-07,4,5,3,4.5,4.5,10\n"
         "2024-02-06,3,4,2,3.5,3.5,10\n2024-02-05,2,3,1,2.5,2.5,10\n2024-02-02,1,2,1,1.5,1.5,10\n",
         {"2024-02-02,1,2,1,1.5,10", "2024-02-05,2,3,1,2.5,10", "2024-02-06,3,4,2,3.5,10",
          "2024-02-07,4,5,3,4.5,10", "2024-02-09,5,6,4,5.5,10"},
         {Difference::Placeholders, Difference::NewestFirst}},
        {"Date,Time,Open,High,Low,Close,Volume\n2024-02-05,09:30,10,12,9,11,100\n"
         "2024-02-05,10:30,11,13,10,12.5,50\n2024-02-06,09:30,3,4,2,3.5,1\n"
         "2024-02-07,09:30,4,5,3,4.5,1\n2024-02-08,09:30,5,6,4,5.5,1\n2024-02-09,09:30,6,7,5,6.5,"
         "1\n",
         {"2024-02-05,10,13,9,12.5,150", "2024-02-06,3,4,2,3.5,1", "2024-02-07,4,5,3,4.5,1",
          "2024-02-08,5,6,4,5.5,1", "2024-02-09,6,7,5,6.5,1"},
         {Difference::Columns, Difference::Intraday}},
        {"2024-02-09 10:30,11,13,10,12.5\n2024-02-09 09:30,10,12,9,11\n2024-02-08,5,6,4,5.5\n"
         "2024-02-07,4,5,3,4.5\n2024-02-06,3,4,2,3.5\n2024-02-05,2,3,1,2.5\n",
         {"2024-02-05,2,3,1,2.5", "2024-02-06,3,4,2,3.5", "2024-02-07,4,5,3,4.5",
          "2024-02-08,5,6,4,5.5", "2024-02-09,10,13,9,12.5"},
         {Difference::Intraday, Difference::NewestFirst}},
        {"2024-02-05,1,2,1,1.5\n2024-02-05,2,3,1,2.5\n2024-02-06,3,4,2,3.5\n2024-02-07,4,5,3,4.5\n"
         "Source: a quote "
         "service\n2024-02-08,5,6,4,5.5\n2024-02-09,6,7,5,6.5\n2024-02-06,9,9,9,9\n",
         {"2024-02-05,2,3,1,2.5", "2024-02-06,9,9,9,9", "2024-02-07,4,5,3,4.5",
          "2024-02-08,5,6,4,5.5", "2024-02-09,6,7,5,6.5"},
         {Difference::Repeats}},
        {"2024-02-05,1,2,1,1.5\n2024-02-06,2,3,1,2.5\n2024-02-07,3,4,2,3.5\n"
         "2024-02-08,4,5,3,4.5\n2024-02-09,5,6,4,5.5\n2024-02-12,5,6,4,1000000000000.5\n",
         {"2024-02-05,1,2,1,1.5", "2024-02-06,2,3,1,2.5", "2024-02-07,3,4,2,3.5",
          "2024-02-08,4,5,3,4.5", "2024-02-09,5,6,4,5.5"},
         {}},  // a price beyond any that the prediction takes leaves its row out
    };
    for (const Rows& rows : cases) {
        const Recognition recognition = recognise(rows.text);
        ASSERT_TRUE(recognition.recognised()) << rows.text << recognition.problem;
        EXPECT_EQ(dailyLines(recognition), rows.expected) << rows.text;
        EXPECT_EQ(recognition.differences(), rows.differences) << rows.text;
    }
}

// A volume is written in full, however long: here 2 to the 240th, which a double holds exactly.
TEST(Recognise, VolumesOfAnyLength) {
    const std::string row =
        "2024-02-DD,1,2,1,1.5,"
        "1766847064778384329583297500742918515827483896875618958121606201292619776";
    EXPECT_EQ(dailyLines(recognise(fiveDays(row))), lines(fiveDays(row)));
}

// Dates that leave the order open follow the user's locale or choice; dates that contradict
// both orders are refused.
TEST(Recognise, DayOrderWhereTheFileLeavesItOpen) {
    const std::string open =
        "01/02/2024,1,2,1,1.5\n02/02/2024,1,2,1,1.5\n03/02/2024,1,2,1,1.5\n"
        "05/02/2024,1,2,1,1.5\n06/02/2024,1,2,1,1.5\n";
    EXPECT_EQ(recognise(open).days[0].date, (CalendarDate{2024, 1, 2}));
    EXPECT_EQ(recognise(open, {std::nullopt, true}).days[0].date, (CalendarDate{2024, 2, 1}));
    EXPECT_EQ(recognise(open, {true, false}).evidence.orderSource, OrderSource::User);
    EXPECT_TRUE(recognise(open).differences().empty());
    EXPECT_NE(recognise(open + "13/02/2024,1,2,1,1.5\n02/14/2024,1,2,1,1.5\n")
                  .problem.find("neither day order"),
              std::string::npos);
}

TEST(Recognise, FilesThatCannotBeImportedSayWhy) {
    const std::pair<std::string, const char*> cases[] = {
        {std::string("\xFF\xFE"
                     "D\0a\0",
                     6),
         "UTF-16"},
        {std::string("PK\3\4\0\0", 6), "not a text file"},
        {"Date,Open,High,Low,Close\n" + fiveDays("2024-02-DD,1,2,1,1.5").substr(0, 66), "only 3"},
        {"Date,Open,High,Close\n" + fiveDays("2024-02-DD,1,2,1.5"), "no Low column"},
        {fiveDays("ACME,DD,2,1,1.5,7"), "No column of this file holds dates"},
        {std::string(2 << 20, 'x'), "a million characters"},
    };
    for (const auto& [text, problem] : cases) {
        EXPECT_NE(recognise(text).problem.find(problem), std::string::npos)
            << problem << ": " << recognise(text).problem;
    }
}

}  // namespace
}  // namespace aurelant::import
