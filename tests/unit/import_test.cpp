#include <gtest/gtest.h>

#include <algorithm>

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
        {"", "2024-02-DD,1.0500e+01,1.1000E+01,10.250e0,1.0750e1",
         "2024-02-DD,10.500,11.000,10.250,10.750", Difference::Decorations},
        {"", "2024-02-DD,1.05e-05,1.1e-05,0.01025e-3,1.075E-5",
         "2024-02-DD,0.0000105,0.000011,0.00001025,0.00001075", Difference::Decorations},
        {"Datum;Er\xC3\xB6"
         "ffnung;Hoch;Tief;Schluss",
         "DD.02.2024;10,50 EUR;11,00 EUR;10,25 EUR;10,75 EUR", "2024-02-DD,10.50,11.00,10.25,10.75",
         Difference::Semicolons},
        {"<TICKER>,<PER>,<DTYYYYMMDD>,<TIME>,<OPEN>,<HIGH>,<LOW>,<CLOSE>,<VOL>,<OPENINT>",
         "ACME,D,202402DD,000000,10.5,11,10.25,10.75,1200,0", "2024-02-DD,10.5,11,10.25,10.75,1200",
         Difference::Columns},
        {"", "ACME\tDD Feb 2024\t10.5\t11\t10.25\t10.75\t1200",
         "2024-02-DD,10.5,11,10.25,10.75,1200", Difference::Columns},
        {"", "DD/02/24,10.5,11,10.25,10.75", "2024-02-DD,10.5,11,10.25,10.75",
         Difference::DayFirst},
        {"Date,Open,High,Low,Close", "2024-02-DD,\"1,050\",\"1,100\",\"1,025\",\"1,075\"",
         "2024-02-DD,1050,1100,1025,1075", Difference::Decorations},  // commas separate fields
        {"", "2024-02-DD,.105,.11,.1025,.1075", "2024-02-DD,.105,.11,.1025,.1075", std::nullopt},
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
        EXPECT_FALSE(recognition.evidence.marksAmbiguous) << layout.row;
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
        {"Prices of ACME\n\n2024-02-05,1,2,1,1.5\n2024-02-05,2,3,1,2.5\n2024-02-06,3,4,2,3.5\n"
         "2024-02-07,4,5,3,4.5\n2024-02-08,5,6,4,5.5\n2024-02-09,6,7,5,6.5\n"
         "Downloaded from a quote service as of 2024-02-10, 10:00\n",
         {"2024-02-05,2,3,1,2.5", "2024-02-06,3,4,2,3.5", "2024-02-07,4,5,3,4.5",
          "2024-02-08,5,6,4,5.5", "2024-02-09,6,7,5,6.5"},
         {Difference::Repeats, Difference::OtherLines}},
        {"2024-02-05,1,2,1,1.5\n2024-02-06,2,3,1,2.5\n2024-02-07,3,4,2,3.5\n"
         "2024-02-08,4,5,3,4.5\n2024-02-09,5,6,4,5.5\n2024-02-12,5,6,4,1000000000000.5\n",
         {"2024-02-05,1,2,1,1.5", "2024-02-06,2,3,1,2.5", "2024-02-07,3,4,2,3.5",
          "2024-02-08,4,5,3,4.5", "2024-02-09,5,6,4,5.5"},
         {Difference::OtherLines}},  // a price beyond any that the prediction takes leaves its row
                                     // out
        {"2024.02.05,1,2,1,1.5\n2024.02.06,2,3,1,2.5\n2024..02.07,3,4,2,3.5\n2024.02.08,4,5,3,4.5\n"
         "2024.02.09,5,6,4,5.5\n",
         {"2024-02-05,1,2,1,1.5", "2024-02-06,2,3,1,2.5", "2024-02-07,3,4,2,3.5",
          "2024-02-08,4,5,3,4.5", "2024-02-09,5,6,4,5.5"},
         {}},  // a doubled point in a date, which the date reader reads through
        {"5 Feb 2024,1,2,1,1.5\n6 Feb 2024,2,3,1,2.5\nFeb7.2024,3,4,2,3.5\n8 Feb 2024,4,5,3,4.5\n"
         "9 Feb 2024,5,6,4,5.5\n",
         {"2024-02-05,1,2,1,1.5", "2024-02-06,2,3,1,2.5", "2024-02-07,3,4,2,3.5",
          "2024-02-08,4,5,3,4.5", "2024-02-09,5,6,4,5.5"},
         {}},  // a month's name glued to a number, a date rather than a price in a currency
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

// Five days in a layout, "D" standing for the day (12 to 16 February 2024) wherever the layout
// writes it, and the same prices each day: Open 10.5, High 11, Low 10.25, Close 10.75 and a volume
// of 1200 in the columns that the row names O, H, L, C and V.
struct Found {
    std::string text;
    const char* note;
};

std::string days(const std::string& header, const std::string& row,
                 const std::vector<std::string>& dayTexts) {
    std::string text = header.empty() ? "" : header + "\n";
    for (const std::string& day : dayTexts) {
        std::string line = row;
        line.replace(line.find('D'), 1, day);
        text += line + "\n";
    }
    return text;
}

// Open and Close differ from day to day so that continuity can tell them apart: each day opens at
// the previous close. A closing ask and bid lie just above and below Close.
std::string walk(const std::string& header, const std::string& row,
                 std::vector<std::string> dayTexts, bool newestFirst = false) {
    const char* opens[] = {"10.5", "10.75", "10.6", "10.9", "10.7"};
    const char* closes[] = {"10.75", "10.6", "10.9", "10.7", "10.8"};
    const char* asks[] = {"10.8", "10.65", "10.95", "10.75", "10.85"};
    const char* bids[] = {"10.7", "10.55", "10.85", "10.65", "10.75"};
    std::string text = header.empty() ? "" : header + "\n";
    std::vector<std::string> lines;
    for (std::size_t day = 0; day < dayTexts.size(); ++day) {
        std::string line = row;
        for (const auto& [mark, value] :
             std::vector<std::pair<std::string, std::string>>{{"A", asks[day]},
                                                              {"B", bids[day]},
                                                              {"D", dayTexts[day]},
                                                              {"O", opens[day]},
                                                              {"C", closes[day]},
                                                              {"H", "11"},
                                                              {"L", "10.25"},
                                                              {"V", "1200"}}) {
            for (auto at = line.find(mark); at != std::string::npos; at = line.find(mark)) {
                line.replace(at, 1, value);
            }
        }
        lines.push_back(line);
    }
    if (newestFirst) {
        std::reverse(lines.begin(), lines.end());
    }
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

const std::vector<std::string> kIso{"2024-02-12", "2024-02-13", "2024-02-14", "2024-02-15",
                                    "2024-02-16"};

// Tables in layouts that no list of names foresees: the date found by its cells, the prices by
// how they behave, whatever their order, their headings and the lines around them.
TEST(Recognise, TablesFoundByWhatTheyHold) {
    const std::vector<std::string> unixSeconds{"1707696000", "1707782400", "1707868800",
                                               "1707955200", "1708041600"};
    const std::vector<std::string> unixNanos{"1707696000000000000", "1707782400000000000",
                                             "1707868800000000000", "1707955200000000000",
                                             "1708041600000000000"};
    const Found cases[] = {
        {walk("ticker,volume,open,close,high,low,window_start", "xyz,V,O,C,H,L,D", unixNanos),
         "columns in any order, unix nanoseconds"},
        {walk("\xE6\x97\xA5\xE6\x9C\x9F,\xE8\x82\xA1\xE7\xA5\xA8\xE4\xBB\xA3\xE7\xA0\x81,"
              "\xE5\xBC\x80\xE7\x9B\x98,\xE6\x94\xB6\xE7\x9B\x98,\xE6\x9C\x80\xE9\xAB\x98,"
              "\xE6\x9C\x80\xE4\xBD\x8E",
              "D,600000,O,C,H,L", kIso),
         "Chinese headings, a stock code"},
        {walk("timestamp,open,high,low,close,volume", "D,O,H,L,C,V", unixSeconds, true),
         "newest first, unix seconds"},
        {walk("time,open,high,low,close", "D.0,O,H,L,C", unixSeconds),
         "unix seconds with a fraction"},
        {walk("Date,Open,High,Low,Close", "D,O,H,L,C",
              {"12FEB2024", "13FEB2024", "14FEB2024", "15FEB2024", "16FEB2024"}),
         "day, month and year written together"},
        {walk("Date,Open,High,Low,Close", "D,O,H,L,C", kIso) +
             "Downloaded from a quote service as of 2024-02-17\n",
         "a footer"},
        {"ACME daily prices\nsep=,\nhttps://example.com/acme\n" +
             walk("Date,Otwarcie,Najwyzszy,Najnizszy,Zamkniecie,Wolumen", "D,O,H,L,C,V", kIso),
         "title lines, Polish headings"},
        {walk("Price,Close,High,Low,Open,Volume\nTicker,ACME,ACME,ACME,ACME,ACME\nDate,,,,,",
              "D,C,H,L,O,V", kIso),
         "a header of three rows"},
        {walk("Datum;Er\xF6"
              "ffnung;Tageshoch;Tagestief;Schluss",
              "D;O;H;L;C", {"12.02.2024", "13.02.2024", "14.02.2024", "15.02.2024", "16.02.2024"}),
         "Windows-1252"},
        {walk("Fecha|Apertura|M\xC3\xA1ximo|M\xC3\xADnimo|\xC3\x9Altimo", "D|O|H|L|C",
              {"12 feb 2024", "13 feb 2024", "14 feb 2024", "15 feb 2024", "16 feb 2024"}),
         "vertical bars, Spanish month names"},
        {walk("date,PX_OPEN,PX_HIGH,PX_LOW,PX_LAST", "D,O,H,L,C",
              {"2024-02-12T00:00:00Z", "2024-02-13T00:00:00Z", "2024-02-14T00:00:00Z",
               "2024-02-15T00:00:00Z", "2024-02-16T00:00:00Z"}),
         "ISO 8601 with Z"},
        {walk("time,mid.o,mid.h,mid.l,mid.c", "D,O,H,L,C",
              {"2024-02-12T22:00:00.000000000+01:00", "2024-02-13T22:00:00.000000000+01:00",
               "2024-02-14T22:00:00.000000000+01:00", "2024-02-15T22:00:00.000000000+01:00",
               "2024-02-16T22:00:00.000000000+01:00"}),
         "fractions and an offset"},
        {walk("", "D,C,O,L,H", kIso), "no header: continuity tells Open from Close"},
        {walk("Date,Change %,High,Open,Low,Latest", "D,+0.5%,H,O,L,C", kIso),
         "a change column left out"},
        {walk("Date;Open;High;Low;Close", "D;O;H;L;C",
              {"Feb 12, 2024", "Feb 13, 2024", "Feb 14, 2024", "Feb 15, 2024", "Feb 16, 2024"}),
         "month first with a name"},
        {walk("P\xC3\xA4iv\xC3\xA4m\xC3\xA4\xC3\xA4r\xC3\xA4;Ostotarjous;Myyntitarjous;Avaus;Ylin;"
              "Alin;"
              "P\xC3\xA4\xC3\xA4t\xC3\xB6skurssi",
              "D;B;A;O;H;L;C", kIso),
         "a closing bid and ask, Finnish headings"},
        {walk("", "D;B;A;O;H;L;C", kIso), "a closing bid and ask, no header"},
        {walk("Date;Open;High;Low;Close", "D;R$ O;H z\xC5\x82;\xE2\x82\xB9L;CEUR", kIso),
         "currency signs and codes before and after the prices"},
        {walk("", "D,O,H,L,C",
              {"12 \xCE\xA6\xCE\xB5\xCE\xB2 2024", "13 \xCE\xA6\xCE\xB5\xCE\xB2 2024",
               "14 \xCE\xA6\xCE\xB5\xCE\xB2 2024", "15 \xCE\xA6\xCE\xB5\xCE\xB2 2024",
               "16 \xCE\xA6\xCE\xB5\xCE\xB2 2024"}),
         "Greek month names"},
    };
    const std::vector<std::string> expected{
        "2024-02-12,10.5,11,10.25,10.75", "2024-02-13,10.75,11,10.25,10.6",
        "2024-02-14,10.6,11,10.25,10.9", "2024-02-15,10.9,11,10.25,10.7",
        "2024-02-16,10.7,11,10.25,10.8"};
    for (const Found& found : cases) {
        const Recognition recognition = recognise(found.text);
        ASSERT_TRUE(recognition.recognised()) << found.note << ": " << recognition.problem;
        std::vector<std::string> lines = dailyLines(recognition);
        for (std::string& line : lines) {
            line = line.substr(
                0, line.rfind(",1200") == std::string::npos ? line.size() : line.rfind(",1200"));
        }
        EXPECT_EQ(lines, expected) << found.note << ": " << dailyLines(recognition)[0];
    }
}

// UTF-16 with a byte-order mark is decoded; text that is not UTF-8 is read as Windows-1252.
TEST(Recognise, TextInAnyCommonEncoding) {
    const std::string utf8 = walk("Date,Open,High,Low,Close", "D,O,H,L,C", kIso);
    std::string little("\xFF\xFE");
    std::string big("\xFE\xFF");
    for (const char c : utf8) {
        little += {c, '\0'};
        big += {'\0', c};
    }
    const std::pair<std::string, Encoding> cases[] = {
        {utf8, Encoding::Utf8},
        {"\xEF\xBB\xBF" + utf8, Encoding::Utf8},
        {little, Encoding::Utf16LittleEndian},
        {big, Encoding::Utf16BigEndian},
        {"Kurs \x80\n" + utf8, Encoding::Windows1252},
    };
    for (const auto& [text, encoding] : cases) {
        const Recognition recognition = recognise(text);
        ASSERT_TRUE(recognition.recognised()) << recognition.problem;
        EXPECT_EQ(recognition.evidence.encoding, encoding);
        EXPECT_EQ(recognition.days.size(), 5U);
    }
}

// Where content leaves Open and Close to choose, the preview offers the choice, and the user's
// pick is taken.
TEST(Recognise, ChoicesLeftToTheUser) {
    const std::string flat = days("", "D,1,2,1,1.5", kIso);
    const Recognition recognition = recognise(flat);
    ASSERT_TRUE(recognition.recognised());
    ASSERT_EQ(recognition.evidence.openCloseChoices.size(), 2U);
    const OpenClose swapped = recognition.evidence.openCloseChoices[1];
    EXPECT_EQ(dailyLines(recognise(flat, {std::nullopt, false, swapped}))[0],
              "2024-02-12,1.5,2,1,1");
    EXPECT_TRUE(recognise(walk("", "D,O,H,L,C", kIso)).evidence.openCloseChoices.empty());
    // Words that name only what cannot be Open or Close leave the choice to content.
    EXPECT_TRUE(recognise(walk("Date,Foo,High,Low,Adj Close", "D,O,H,L,C", kIso)).recognised());
}

// Hostile shapes among them: a table a hundred thousand columns wide, a body of one repeated line,
// more days than the program opens.
TEST(Recognise, FilesThatCannotBeImportedSayWhy) {
    std::string tooManyDays;
    for (long long second = 1'000'000'000; tooManyDays.size() < 32888 * 21; second += 86400) {
        tooManyDays += std::to_string(second) + ",1,2,1,1.5\n";
    }
    std::string repeated;
    for (int line = 0; line < 1000; ++line) {
        repeated += "2024-02-12,1,2,1,1.5\n";
    }
    std::string wide;
    for (const char* day : {"12", "13", "14", "15", "16"}) {
        wide += "2024-02-" + std::string(day);
        for (int column = 0; column < 100'000; ++column) {
            wide += ",1";
        }
        wide += "\n";
    }
    const std::pair<std::string, const char*> cases[] = {
        {std::string("PK\3\4\0\0", 6), "not a text file"},
        {"Date,Open,High,Low,Close\n" + fiveDays("2024-02-DD,1,2,1,1.5").substr(0, 66), "only 3"},
        {"Date,Open,High,Close\n" + fiveDays("2024-02-DD,1,2,1.5"), "a date and four prices"},
        {fiveDays("ACME,DD,2,1,1.5,7"), "a date and four prices"},
        {walk("", "D,O,C,L,O", kIso), "none of which behave as a day's High and Low"},
        {walk("Date,Shares,Price,Value,Cost", "D,100,C,1075.5,1000", kIso),
         "4 number columns, none of which behave"},  // a holding: its price and its value
        {fiveDays("2024-02-DD,10,12"), "a date and four prices"},
        {fiveDays("2024-02-12,1,2,1,1.5,DD"), "run one way"},
        {std::string(2 << 20, 'x'), "a million characters"},
        {tooManyDays, "32,888 daily records, more than the 32,887"},
        {repeated, "run one way"},
        {wide, "100000 columns of numbers"},
    };
    for (const auto& [text, problem] : cases) {
        const Recognition recognition = recognise(text);
        EXPECT_NE(recognition.problem.find(problem), std::string::npos)
            << problem << ": " << recognition.problem;
        EXPECT_TRUE(recognition.days.size() <= kMostHistoryRecords);
    }
}

}  // namespace
}  // namespace aurelant::import
