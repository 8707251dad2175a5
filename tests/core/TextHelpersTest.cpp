#include "document/TextHelpers.h"
#include "document/CodePage.h"
#include "files/GraphImport.h"
#include "files/PointRows.h"

#include <clocale>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>

TEST(TextHelpers, LabelTextAcceptsOnlyAsciiLettersAndDigits)
{
    EXPECT_TRUE(isLabelText("Monday"));
    EXPECT_TRUE(isLabelText("1999"));
    EXPECT_TRUE(isLabelText(""));
    EXPECT_FALSE(isLabelText("Jan 99"));
    EXPECT_FALSE(isLabelText("Mon-Fri"));
    EXPECT_FALSE(isLabelText("Q1."));
    EXPECT_FALSE(isLabelText("caf\xe9"));
    EXPECT_EQ(labelAlphabet.size(), 62u);
}

TEST(TextHelpers, HasLabelCharacterNeedsOneLetterOrDigit)
{
    EXPECT_TRUE(hasLabelCharacter("   x   "));
    EXPECT_FALSE(hasLabelCharacter(""));
    EXPECT_FALSE(hasLabelCharacter("     "));
    EXPECT_FALSE(hasLabelCharacter("-- !?"));
    EXPECT_FALSE(hasLabelCharacter("\xe9\xfc"));
}

TEST(TextHelpers, IntegerConversionTakesTheLeadingNumber)
{
    EXPECT_EQ(textToInt("abc"), 0);
    EXPECT_EQ(textToInt("12.9"), 12);
    EXPECT_EQ(textToInt("  12.9"), 12);
    EXPECT_EQ(textToInt("-1"), -1);
    EXPECT_EQ(textToInt("+7x"), 7);
    EXPECT_EQ(textToInt("5abc"), 5);
    EXPECT_EQ(textToInt(""), 0);
    EXPECT_EQ(textToInt("- 3"), 0);
    EXPECT_EQ(textToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(textToInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(TextHelpers, RealConversionTakesTheLeadingNumber)
{
    EXPECT_EQ(textToReal("1e2"), 100);
    EXPECT_EQ(textToReal("  -0.5kg"), -0.5);
    EXPECT_EQ(textToReal(".5"), 0.5);
    EXPECT_EQ(textToReal("5."), 5);
    EXPECT_EQ(textToReal("3e"), 3);
    EXPECT_EQ(textToReal("3e+"), 3);
    EXPECT_EQ(textToReal("abc"), 0);
    EXPECT_EQ(textToReal("."), 0);
    EXPECT_EQ(textToReal(""), 0);
}

// A number comes in alike wherever a person gives it: typed into a box (X
// whole, Y real), pasted as a row's field, or read from a row of gd2 new.
// The whole text must be the number; a decimal comma counts where the text
// has no full stop.
TEST(TextHelpers, BoxesPastedRowsAndRowFilesReadEveryNumberAlike)
{
    const struct {
        const char* text;
        bool number;
        double value;
    } cases[] = {
        { " 12.9 ", true, 12.9 },
        { "-2.9", true, -2.9 },
        { "1e2", true, 100 },
        { "1.00E+02", true, 100 },
        { "+7", true, 7 },
        { "17,5", true, 17.5 },
        { " 12,9", true, 12.9 },
        { ",5", true, 0.5 },
        { "1e99", true, 1e99 },
        { "-1e99", true, -1e99 },
        { "1OO", false, 0 },
        { "5abc", false, 0 },
        { "abc", false, 0 },
        { "", false, 0 },
        { " ", false, 0 },
        { "1e", false, 0 },
        { "1.000,5", false, 0 },
        { "1,5,0", false, 0 },
        { "nan", false, 0 },
        { "- 3", false, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        double real = -5;
        int whole = -5;
        ASSERT_EQ(realNumberOf(c.text, real), c.number);
        ASSERT_EQ(wholeNumberOf(c.text, whole), c.number);
        const double truncated = std::trunc(c.value);
        EXPECT_EQ(real, c.number ? c.value : -5);
        EXPECT_EQ(whole,
            !c.number                  ? -5
                : truncated >= INT_MAX ? INT_MAX
                : truncated <= INT_MIN ? INT_MIN
                                       : truncated);
        // The same text as a pasted X or Y and as a gd2 row's, on the default
        // Y axis (0 to 360).
        const bool xFits = c.number && truncated >= 0 && truncated <= 670;
        const float y = static_cast<float>(c.value);
        const bool yFits = c.number && y >= 0 && y <= 360;
        // A header first, so that no text is taken for one.
        const std::string t = c.text;
        for (const auto& [pasted, made, fits, isX] :
            { std::tuple { "X\tY\n" + t + "\t5", "X;Y\n1;" + t + ";5", xFits, true },
                std::tuple { "X\tY\n10\t" + t, "X;Y\n1;10;" + t, yFits, false } }) {
            GraphDocument viaPaste {}, viaRows {};
            viaPaste.yScale = 1;
            std::string error;
            EXPECT_EQ(pasteRows(viaPaste, pasted).ok, fits) << pasted;
            EXPECT_EQ(makeGraph({}, made, "rows", viaRows, error), fits) << made << error;
            if (!fits)
                continue;
            for (const GraphDocument* d : { &viaPaste, &viaRows }) {
                ASSERT_EQ(d->pointCount[0], 1);
                EXPECT_EQ(d->pixelX[0][0], isX ? static_cast<int>(truncated) + 50 : 60);
                EXPECT_EQ(d->valueY[0][0], isX ? 5 : y);
            }
        }
    }
}

TEST(TextHelpers, RealConversionIgnoresTheUsersLocale)
{
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(textToReal("2.5"), 2.5);
        EXPECT_EQ(textToReal("2,5"), 2);
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(TextHelpers, LeadingCharsBoundsTheRead)
{
    EXPECT_EQ(leadingChars("12.3456789", 7), "12.3456");
    EXPECT_EQ(leadingChars("ab", 7), "ab");
}

TEST(TextHelpers, CodePageConvertsEveryByteBothWays)
{
    for (int b = 1; b <= 0xFF; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = codePageToUtf8(byte);
        EXPECT_EQ(utf8ToCodePage(utf8), byte) << b;
    }
    struct Case {
        const char* bytes;
        const char* utf8;
    };
    for (const Case& c : { Case { "\x80", "\u20ac" }, Case { "\x8A", "\u0160" }, Case { "\x9F", "\u0178" },
             Case { "\xA0", "\u00a0" }, Case { "caf\xE9", "caf\u00e9" },
             Case { "\x81"
                    "A",
                 "\u0081"
                 "A" },
             Case { "\x9D\x80", "\u009d\u20ac" } })
        EXPECT_EQ(codePageToUtf8(c.bytes), c.utf8) << c.bytes;
    // Characters the code page cannot hold, and text that is not UTF-8.
    for (const char* refused : { "\u2713", "a\u4e2db", "\U0001F600", "\xE9", "\xC2", "\u0080" })
        EXPECT_FALSE(utf8ToCodePage(refused).has_value()) << refused;
    EXPECT_TRUE(codePageHolds(0x20AC));
    EXPECT_TRUE(codePageHolds(0x81));
    EXPECT_FALSE(codePageHolds(0x80));
    EXPECT_FALSE(codePageHolds(0x2713));
}
