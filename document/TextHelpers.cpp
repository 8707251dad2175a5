#include "document/TextHelpers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace {
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

bool inAlphabet(char ch) { return labelAlphabet.find(ch) != std::string_view::npos; }

} // namespace

bool isBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }
} // namespace

bool isLabelText(std::string_view text)
{
    for (char ch : text)
        if (ch == 0)
            break;
        else if (!inAlphabet(ch))
            return false;
    return true;
}

bool hasLabelCharacter(std::string_view text)
{
    for (char ch : text) {
        if (ch == 0)
            break;
        if (inAlphabet(ch))
            return true;
    }
    return false;
}

std::string_view leadingChars(std::string_view text, std::size_t limit)
{
    return text.substr(0, std::min(limit, text.size()));
}

int textToInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

double textToReal(std::string_view text)
{
    // Copy just the characters a number can be made of, so the conversion
    // never reads past what the caller gave and a locale's decimal comma
    // never matters: the C locale is used explicitly.
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    bool digits = false;
    while (i < text.size() && isDigit(text[i])) {
        number += text[i++];
        digits = true;
    }
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        while (i < text.size() && isDigit(text[i])) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            exponent += text[j++];
        bool expDigits = false;
        while (j < text.size() && isDigit(text[j])) {
            exponent += text[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    return strtod_l(number.c_str(), nullptr, cLocale());
}

std::string formatText(const char* format, ...)
{
    const locale_t previous = uselocale(cLocale());
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    uselocale(previous);
    if (n < 0)
        return {};
    return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string_view trimmed(std::string_view t)
{
    while (!t.empty() && isBlank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && isBlank(t.back()))
        t.remove_suffix(1);
    return t;
}

namespace {
// Skips digits from i on; true when there was at least one.
bool skipDigits(std::string_view t, std::size_t& i)
{
    const std::size_t from = i;
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i > from;
}
} // namespace

bool isWholeNumberText(std::string_view text)
{
    const std::string_view t = trimmed(text);
    std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    return skipDigits(t, i) && i == t.size();
}

bool isRealNumberText(std::string_view text)
{
    const std::string_view t = trimmed(text);
    std::size_t i = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    bool digits = skipDigits(t, i);
    if (i < t.size() && t[i] == '.') {
        ++i;
        digits = skipDigits(t, i) || digits;
    }
    if (!digits)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        if (!skipDigits(t, i))
            return false;
    }
    return i == t.size();
}

std::string decimalPointText(std::string_view text)
{
    std::string t(text);
    const std::size_t comma = t.find(',');
    if (comma != std::string::npos && t.find(',', comma + 1) == std::string::npos
        && t.find('.') == std::string::npos)
        t[comma] = '.';
    return t;
}

bool realNumberOf(std::string_view text, double& value)
{
    const std::string t = decimalPointText(text);
    if (!isRealNumberText(t))
        return false;
    value = textToReal(t);
    return true;
}

bool realNumberOf(std::string_view text, float& value)
{
    double v = 0;
    if (!realNumberOf(text, v))
        return false;
    value = static_cast<float>(v);
    return true;
}

bool wholeNumberOf(std::string_view text, int& value)
{
    double real = 0;
    if (!realNumberOf(text, real))
        return false;
    const double v = std::trunc(real);
    value = v >= INT_MAX ? INT_MAX : v <= INT_MIN ? INT_MIN : static_cast<int>(v);
    return true;
}
