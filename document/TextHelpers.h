#pragma once
// The character set that X labels may use and that makes a caption visible,
// and the conversions of typed numbers. The conversions read only the
// characters they are given and never depend on the user's locale.

#include <string>
#include <string_view>

inline constexpr std::string_view labelAlphabet
    = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// True when every character is in labelAlphabet (true for the empty text).
bool isLabelText(std::string_view text);
// True when at least one character is in labelAlphabet.
bool hasLabelCharacter(std::string_view text);

// Whole number from the leading characters: blanks, one sign, digits; text
// without a number gives 0. Values beyond int saturate.
int textToInt(std::string_view text);
// Real number from the leading characters: blanks, sign, digits, a full stop
// and an exponent; text without a number gives 0.
double textToReal(std::string_view text);

// printf-style formatting that always uses the C locale (a full stop for
// the decimal point), whatever locale the toolkit has switched the process to.
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Blanks as the number rules skip them: space, tab and the line and page ends.
bool isBlank(char ch);
// The text without the blanks around it.
std::string_view trimmed(std::string_view text);
// Reads at most `limit` characters of a control's text, as a bounded buffer
// of limit + 1 bytes would.
std::string_view leadingChars(std::string_view text, std::size_t limit);

// Whether the whole text (blanks around it allowed) is one whole number,
// with an optional sign.
bool isWholeNumberText(std::string_view text);
// Whether the whole text (blanks around it allowed) is one real number as
// textToReal reads it: sign, digits with an optional full stop, exponent.
bool isRealNumberText(std::string_view text);
// The text with its one comma read as a decimal point, when it has a single
// comma and no full stop ("17,5" is "17.5"): a German user types numbers so,
// and a German spreadsheet copies them so. Any other text is returned as it is.
std::string decimalPointText(std::string_view text);
// A box that takes a real number: the whole text (blanks around it allowed)
// spells one, with a decimal point or comma as decimalPointText reads it;
// false, with `value` untouched, when it does not.
bool realNumberOf(std::string_view text, double& value);
bool realNumberOf(std::string_view text, float& value);
// A box that takes a whole number: the real number the whole text spells,
// truncated toward zero and held within int (so 12.9 and 12,9 are 12 and
// 1e2 is 100); false, with `value` untouched, when the text is not a number.
bool wholeNumberOf(std::string_view text, int& value);
