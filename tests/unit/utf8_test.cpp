#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "common/utf8.h"
#include "pricefile/convertcommand.h"
#include "pricefile/historyformat.h"

namespace aurelant {
namespace {

TEST(UpperCase, TurnsEveryLetterAndKeepsBrokenBytes) {
    EXPECT_EQ(upperCase("/home/me/prices.csv"), "/HOME/ME/PRICES.CSV");
    EXPECT_EQ(upperCase("Kurse für Öl ß.csv"), "KURSE FÜR ÖL ß.CSV");
    EXPECT_EQ(upperCase("цены αβγ ÿ"), "ЦЕНЫ ΑΒΓ Ÿ");
    EXPECT_EQ(upperCase("a\xff"
                        "b\xc3"),
              "A\xff"
              "B\xc3");
    EXPECT_EQ(upperCase("\xe0\x80\x80x"), "\xe0\x80\x80X");  // an overlong form stays
    EXPECT_EQ(upperCase("\xf8\x90\x80\x80y"), "\xf8\x90\x80\x80Y");
}

// A NUL or a line end in a value shows in the message instead of cutting or breaking it.
TEST(ShownValue, EscapesControlsAndCutsAtFortyCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("10\0.5", 5), "\"10\\0.5\""},
        {"a\r\n\tb\x1b\x7f", "\"a\\r\\n\\tb\\x1B\\x7F\""},
        {std::string(19, 'x') + "\xC3\xB6\xC3\xB6" + std::string(20, 'y'),
         "\"" + std::string(19, 'x') + "\xC3\xB6\xC3\xB6" + std::string(19, 'y') + "...\""},
    };
    for (const auto& [value, shown] : cases) {
        EXPECT_EQ(shownValue(value), shown) << value;
    }
}

TEST(Characters, CountLettersNotBytesAlsoInTheLengthRules) {
    EXPECT_EQ(characterCount("abc"), 3u);
    EXPECT_EQ(characterCount("Öl für"), 6u);
    EXPECT_EQ(characterCount("a\xff"
                             "b"),
              3u);  // a stray byte is one character
    EXPECT_EQ(characterPrefixLength("Ölpreis", 2), 3u);
    EXPECT_EQ(characterPrefixLength("ab", 8), 2u);
    // The length rules of history files count characters.
    EXPECT_TRUE(isShortLine("Börsenkurs Öl:"));  // 14 characters in 16 bytes
    EXPECT_FALSE(isShortLine("Börsenkurs Öl::"));
    EXPECT_EQ(csvFromSpaceSeparated("Jän 1/03 12.50 12.75 12"), "Jän 1/03,12.50,12.75,12");
}

// The count takes runs of ASCII bytes at once; it agrees with stepping character by character.
TEST(Characters, CountAgreesWithSteppingThroughTheText) {
    const std::string pieces[] = {"a", "Ö", "€", "\xf0\x9d\x84\x9e", "\xff", "\xc3", "01.5,20.25,"};
    std::mt19937 random(11);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        for (auto n = random() % 40; n > 0; --n) {
            text += pieces[random() % std::size(pieces)];
        }
        std::size_t stepped = 0;
        for (std::size_t at = 0; at < text.size(); at += characterLength(text, at)) {
            ++stepped;
        }
        ASSERT_EQ(characterCount(text), stepped) << text;
    }
}

}  // namespace
}  // namespace aurelant
