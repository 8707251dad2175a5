#include "document/TextHelpers.h"
#include "document/CodePage.h"

#include <clocale>
#include <gtest/gtest.h>

#include <climits>

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

TEST(TextHelpers, AWholeNumberBoxTakesOnlyATextThatIsANumber)
{
    const std::pair<const char*, int> taken[] = { { " 12.9 ", 12 }, { "-2.9", -2 }, { "1e2", 100 },
        { "+7", 7 }, { "1e99", INT_MAX }, { "-1e99", INT_MIN } };
    for (auto [text, expected] : taken) {
        int value = -5;
        EXPECT_TRUE(wholeNumberOf(text, value)) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* refused : { "1OO", "5abc", "abc", "", " ", "1e", "1,5", "nan", "- 3" }) {
        int value = -5;
        EXPECT_FALSE(wholeNumberOf(refused, value)) << refused;
        EXPECT_EQ(value, -5) << refused;
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
