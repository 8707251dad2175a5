#include "document/CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace {

constexpr std::string_view codePageName = "WINDOWS-1252";

bool undefinedByte(unsigned char b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }

// One converter a direction and thread: opening one costs far more than a
// short text's conversion, and the painter converts every text it draws.
class Converter {
public:
    Converter(const char* to, const char* from)
        : cd(iconv_open(to, from))
    {
    }
    ~Converter()
    {
        if (valid())
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd != reinterpret_cast<iconv_t>(-1); }

    // Converts one run; false when the input holds something the target
    // cannot take.
    bool convert(std::string_view in, std::string& out)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* from = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buffer[256];
        while (left > 0) {
            char* to = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t done = iconv(cd, &from, &left, &to, &room);
            out.append(buffer, static_cast<std::size_t>(to - buffer));
            if (done == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t cd;
};

Converter& toUtf8()
{
    thread_local Converter c("UTF-8", codePageName.data());
    return c;
}

Converter& fromUtf8()
{
    thread_local Converter c(codePageName.data(), "UTF-8");
    return c;
}

void appendUtf8(char32_t u, std::string& out)
{
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

} // namespace

std::string codePageToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    // The converter refuses the undefined bytes, so the text goes over in
    // runs between them.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && !undefinedByte(static_cast<unsigned char>(bytes[i])))
            continue;
        const std::string_view run = bytes.substr(start, i - start);
        const std::size_t before = out.size();
        if (!run.empty() && !(toUtf8().valid() && toUtf8().convert(run, out))) {
            out.resize(before); // no converter: the bytes are at least Latin-1
            for (unsigned char b : run)
                appendUtf8(b, out);
        }
        if (i < bytes.size())
            appendUtf8(static_cast<unsigned char>(bytes[i]), out);
        start = i + 1;
    }
    return out;
}

std::optional<std::string> utf8ToCodePage(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    // The undefined bytes' control characters go back to their bytes; the
    // converter takes everything else.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= utf8.size(); ++i) {
        const bool undefined = i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i]) == 0xC2
            && undefinedByte(static_cast<unsigned char>(utf8[i + 1]));
        if (i < utf8.size() && !undefined)
            continue;
        const std::string_view run = utf8.substr(start, i - start);
        if (!run.empty() && !(fromUtf8().valid() && fromUtf8().convert(run, out)))
            return std::nullopt;
        if (undefined)
            out += utf8[++i];
        start = i + 1;
    }
    return out;
}

bool codePageHolds(char32_t ch)
{
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        return false;
    std::string utf8;
    if (ch < 0x10000) {
        appendUtf8(ch, utf8);
    } else {
        utf8 += static_cast<char>(0xF0 | (ch >> 18));
        utf8 += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (ch & 0x3F));
    }
    return utf8ToCodePage(utf8).has_value();
}
