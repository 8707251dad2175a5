// Arbitrary text as a typed number. Both conversions read only what they
// are given, never the locale, and a number they print reads back as itself.
#include "document/TextHelpers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int whole = textToInt(text);
    const double real = textToReal(text);
    if (textToInt(formatText("%d", whole)) != whole) {
        std::fprintf(stderr, "%d does not read back\n", whole);
        std::abort();
    }
    if (std::isfinite(real) && textToReal(formatText("%.17g", real)) != real) {
        std::fprintf(stderr, "%.17g does not read back\n", real);
        std::abort();
    }
    return 0;
}
