#include "tools/ShownText.h"

#include "document/CodePage.h"

#include <charconv>
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

namespace {
// Quotes, backslashes and every control character (C0, DEL and the C1
// controls, U+0080..U+009F) are escaped; everything else is kept.
std::string jsonFromUtf8(std::string_view utf8)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto ch = static_cast<unsigned char>(utf8[i]);
        unsigned escaped = 0x100;
        if (ch < 0x20 || ch == 0x7F)
            escaped = ch;
        else if (ch == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) < 0xA0)
            escaped = static_cast<unsigned char>(utf8[++i]);
        if (escaped < 0x100) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", escaped);
            out += buf;
        } else {
            if (ch == '"' || ch == '\\')
                out += '\\';
            out += static_cast<char>(ch);
        }
    }
    return out + "\"";
}
} // namespace

std::string jsonText(std::string_view codePageBytes) { return jsonFromUtf8(codePageToUtf8(codePageBytes)); }

std::string jsonName(std::string_view bytes)
{
    std::string utf8;
    while (!bytes.empty()) {
        const std::size_t n = sequenceLength(bytes);
        if (n == 0) {
            const auto b = static_cast<unsigned char>(bytes[0]);
            utf8 += static_cast<char>(0xC0 | (b >> 6));
            utf8 += static_cast<char>(0x80 | (b & 0x3F));
            bytes.remove_prefix(1);
        } else {
            utf8.append(bytes.substr(0, n));
            bytes.remove_prefix(n);
        }
    }
    return jsonFromUtf8(utf8);
}

std::string floatText(float v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc {} ? std::string(buf, end) : std::string("null");
}
