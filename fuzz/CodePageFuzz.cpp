// Arbitrary bytes as a stored text and as typed UTF-8. Every stored text
// survives the trip to UTF-8 and back; typed text either converts to bytes
// that show as that same text or is refused.
#include "document/CodePage.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = codePageToUtf8(bytes);
    const auto back = utf8ToCodePage(utf8);
    if (!back || *back != bytes) {
        std::fprintf(stderr, "a stored text did not come back\n");
        std::abort();
    }
    if (const auto typed = utf8ToCodePage(bytes); typed && codePageToUtf8(*typed) != bytes) {
        std::fprintf(stderr, "a typed text shows as something else\n");
        std::abort();
    }
    return 0;
}
