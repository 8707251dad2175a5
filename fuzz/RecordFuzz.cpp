// Arbitrary bytes as a graph record. Any record, accepted or not, must unpack
// and pack without touching memory outside the document and the record. A
// record that checkRecord accepts must come back from unpack-then-pack
// byte for byte, except that X positions lose any fraction. Every file the
// reader takes, repaired or not, must save as a record that passes every
// check and opens again as the same graph, with nothing left to repair.
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

void fail(const char* what, std::size_t offset)
{
    std::fprintf(stderr, "round trip broke %s at offset %zu\n", what, offset);
    std::abort();
}

} // namespace

namespace {
void repairedRoundTrip(const std::uint8_t* data, std::size_t size)
{
    GraphRecord read;
    std::vector<std::string> repairs;
    if (!recordFromBytes(data, size, read, repairs).empty())
        return;
    if (!checkRecord(read).empty())
        fail("the repaired record's checks", 0);
    // As the window saves it: unpacked, the flags settled, packed over the
    // bytes read.
    auto d = std::make_unique<GraphDocument>();
    unpackRecordDocument(read, *d);
    settleReadOptions(*d);
    GraphRecord saved = read;
    packRecord(*d, saved);
    if (!checkRecord(saved).empty())
        fail("the saved record's checks", 0);
    GraphRecord reopened;
    std::vector<std::string> again;
    if (!recordFromBytes(saved.bytes.data(), saved.bytes.size(), reopened, again).empty() || !again.empty())
        fail("the saved record's reopening", 0);
    if (reopened.bytes != saved.bytes)
        fail("the reopened record", 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    repairedRoundTrip(data, std::min(size, kMostRecordFileBytes));
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
