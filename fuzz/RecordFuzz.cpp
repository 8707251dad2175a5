// Arbitrary bytes as a graph record. Any record, accepted or not, must unpack
// and pack without touching memory outside the document and the record. A
// record that checkRecord accepts must come back from unpack-then-pack
// byte for byte, except that X positions lose any fraction.
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstdio>

namespace {

void fail(const char* what, std::size_t offset)
{
    std::fprintf(stderr, "round trip broke %s at offset %zu\n", what, offset);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GraphRecord rec;
    std::copy_n(data, std::min(size, kGraphRecordSize), rec.bytes.begin());
    const bool accepted = checkRecord(rec).empty();

    GraphDocument d;
    unpackRecordDocument(rec, d);
    GraphRecord again = rec;
    packRecord(d, again);
    if (!accepted)
        return 0;

    // X positions come back as whole columns; everything else unchanged.
    GraphRecord expected = rec;
    for (int c = 0; c < kCurveCount; ++c) {
        const std::int32_t n = getInt32(rec, RecordLayout::pointCount + static_cast<std::size_t>(c) * 4);
        for (int j = 0; j < n; ++j) {
            const std::size_t at = RecordLayout::curveEntry(RecordLayout::pixelX, c, j);
            putFloat32(expected, at, static_cast<float>(storedPixelToColumn(getFloat32(rec, at))));
        }
    }
    const auto [mine, theirs] = std::mismatch(again.bytes.begin(), again.bytes.end(), expected.bytes.begin());
    if (mine != again.bytes.end())
        fail("the record", static_cast<std::size_t>(mine - again.bytes.begin()));
    if (!checkRecord(again).empty())
        fail("the checks", 0);
    return 0;
}
