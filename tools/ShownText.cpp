#include "tools/ShownText.h"

#include "document/CodePage.h"

#include <cstdio>

namespace {
// Length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t sequenceLength(std::string_view s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t n = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || n > s.size() || (n == 2 && b0 < 0xC2))
        return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return 0;
    const auto b1 = static_cast<unsigned char>(n > 1 ? s[1] : 0);
    if ((n == 3 && b0 == 0xE0 && b1 < 0xA0) || (n == 3 && b0 == 0xED && b1 >= 0xA0)
        || (n == 4 && b0 == 0xF0 && b1 < 0x90) || (n == 4 && (b0 > 0xF4 || (b0 == 0xF4 && b1 >= 0x90))))
        return 0;
    return n;
}

void appendHex(std::string& out, unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", value);
    out += buf;
}
} // namespace

std::string escapedUtf8(std::string_view utf8, bool quoted)
{
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t n = sequenceLength(utf8);
        const auto b0 = static_cast<unsigned char>(utf8[0]);
        if (n == 0) {
            appendHex(out, b0);
            utf8.remove_prefix(1);
            continue;
        }
        if (n == 1 && (b0 < 0x20 || b0 == 0x7F))
            appendHex(out, b0);
        else if (n == 2 && b0 == 0xC2 && static_cast<unsigned char>(utf8[1]) < 0xA0)
            appendHex(out, static_cast<unsigned char>(utf8[1])); // C1 control
        else if (quoted && (b0 == '\\' || b0 == '"')) {
            out += '\\';
            out += static_cast<char>(b0);
        } else
            out.append(utf8.substr(0, n));
        utf8.remove_prefix(n);
    }
    return out;
}

std::string shownText(std::string_view codePageBytes)
{
    return escapedUtf8(codePageToUtf8(codePageBytes), true);
}
