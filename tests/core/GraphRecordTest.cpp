// Byte-level tests: records are built and inspected at the literal offsets of
// the file format, so a wrong layout constant cannot hide behind itself.
#include "files/GraphRecord.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>

namespace {

void setI32(GraphRecord& r, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        r.bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint32_t rawI32(const GraphRecord& r, std::size_t at)
{
    return r.bytes[at] | r.bytes[at + 1] << 8 | r.bytes[at + 2] << 16
        | static_cast<std::uint32_t>(r.bytes[at + 3]) << 24;
}
void setF32(GraphRecord& r, std::size_t at, float v) { setI32(r, at, std::bit_cast<std::uint32_t>(v)); }
float rawF32(const GraphRecord& r, std::size_t at) { return std::bit_cast<float>(rawI32(r, at)); }
std::size_t entry(std::size_t base, int c, int j) { return base + (c * 250 + j) * 4; }

// A document with a distinct value in every stored field.
GraphDocument fullDocument()
{
    GraphDocument d;
    d.pointCount[0] = 3;
    d.pointCount[2] = 250;
    for (int c = 0; c < 3; ++c)
        for (int j = 0; j < d.pointCount[c]; ++j) {
            d.pixelX[c][j] = 50 + j + c;
            d.pixelY[c][j] = 378.5f - j;
            d.valueY[c][j] = -0.25f * j + c;
        }
    for (int k = 0; k < 10; ++k)
        d.yTicks[k] = 1.5f * k - 3;
    for (int i = 0; i < 20; ++i)
        std::snprintf(d.xLabels[i], 13, "L%02uabcdefghi", static_cast<unsigned>(i) % 100u);
    std::snprintf(d.captions[1], 37, "Second curve caption");
    std::snprintf(d.title, 81, "Weekly rainfall");
    d.yMin = -3;
    d.yMax = 10.5f;
    d.yScale = 360 / 13.5f;
    d.percentError = 12.5f;
    d.labelsEntered = 1;
    d.yRangeSet = 1;
    d.xLabelCount = 20;
    d.labelSpacing = 30;
    d.recordReserved = 0x0BADF00D;
    d.divisionsPerLabel = 3;
    d.largePoints = 1;
    d.labelPoints = 7;
    d.connectPoints = 1;
    d.captionBoxX = 480;
    d.captionBoxY = 41;
    d.captionsPlaced = 1;
    d.thickLines = 1;
    return d;
}

TEST(GraphRecord, PackPutsEveryFieldAtItsOffsetLittleEndian)
{
    GraphRecord r;
    packRecord(fullDocument(), r);
    EXPECT_EQ(r.bytes.size(), 9653u);
    EXPECT_EQ(r.bytes[9344], 0x0D); // least significant byte first
    EXPECT_EQ(r.bytes[9347], 0x0B);
    EXPECT_EQ(rawI32(r, 0), 3u);
    EXPECT_EQ(rawI32(r, 8), 250u);
    EXPECT_EQ(rawF32(r, 12 + 9 * 4), 1.5f * 9 - 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(&r.bytes[52 + 19 * 13]), "L19abcdefghi");
    EXPECT_EQ(rawF32(r, entry(312, 2, 249)), 50.0f + 249 + 2);
    EXPECT_EQ(rawF32(r, entry(3312, 0, 2)), 376.5f);
    EXPECT_EQ(rawF32(r, entry(6312, 2, 1)), 1.75f);
    EXPECT_EQ(rawF32(r, 9312), -3.0f);
    EXPECT_EQ(rawF32(r, 9316), 10.5f);
    EXPECT_EQ(rawF32(r, 9320), 360 / 13.5f);
    EXPECT_EQ(rawF32(r, 9324), 12.5f);
    const std::uint32_t ints[][2] = { { 9328, 1 }, { 9332, 1 }, { 9336, 20 }, { 9340, 30 }, { 9352, 3 },
        { 9356, 1 }, { 9360, 7 }, { 9364, 1 }, { 9520, 480 }, { 9524, 41 } };
    for (const auto& [at, v] : ints)
        EXPECT_EQ(rawI32(r, at), v) << "offset " << at;
    EXPECT_STREQ(reinterpret_cast<const char*>(&r.bytes[9372 + 37]), "Second curve caption");
    EXPECT_STREQ(reinterpret_cast<const char*>(&r.bytes[9483]), "Weekly rainfall");
    EXPECT_EQ(r.bytes[9528], 1);
    EXPECT_EQ(r.bytes[9529], 1);
}

TEST(GraphRecord, PackWritesOnlyPointsBelowTheCountsAndNoUnusedSlot)
{
    GraphRecord r;
    r.bytes.fill(0xAB);
    GraphDocument d;
    d.pointCount[0] = 2;
    d.pixelX[0][0] = 100;
    d.pixelX[0][1] = 200;
    d.pixelX[0][2] = 300; // a stale slot past the count
    std::snprintf(d.xLabels[0], 13, "Mon");
    packRecord(d, r);
    EXPECT_EQ(rawI32(r, 0), 2u);
    EXPECT_EQ(rawI32(r, 4), 0u);
    EXPECT_EQ(rawI32(r, 8), 0u);
    for (std::size_t base : { 312u, 3312u, 6312u }) {
        EXPECT_NE(rawI32(r, entry(base, 0, 1)), 0xABABABABu);
        EXPECT_EQ(rawI32(r, entry(base, 0, 2)), 0xABABABABu);
        EXPECT_EQ(rawI32(r, entry(base, 1, 0)), 0xABABABABu);
        EXPECT_EQ(rawI32(r, entry(base, 2, 0)), 0xABABABABu);
    }
    EXPECT_EQ(rawF32(r, entry(312, 0, 1)), 200.0f);
    EXPECT_EQ(rawI32(r, 9348), 0xABABABABu);
    EXPECT_EQ(rawI32(r, 9368), 0xABABABABu);
    for (std::size_t i = 9530; i < 9653; ++i)
        ASSERT_EQ(r.bytes[i], 0xAB) << i;
    EXPECT_EQ(r.bytes[52 + 3], 0); // terminator written...
    EXPECT_EQ(r.bytes[52 + 4], 0xAB); // ...and the bytes after it left alone
    EXPECT_EQ(r.bytes[52 + 13], 0); // every label slot is written, empty ones too
}

TEST(GraphRecord, GraphMadeFromScratchHasZeroReservedSlots)
{
    GraphRecord r; // as the process starts
    packRecord(fullDocument(), r);
    auto d = fullDocument();
    d.recordReserved = 0; // no file was ever read
    packRecord(d, r);
    for (std::size_t at : { 9344u, 9348u, 9368u })
        EXPECT_EQ(rawI32(r, at), 0u) << at;
    for (std::size_t i = 9530; i < 9653; ++i)
        ASSERT_EQ(r.bytes[i], 0) << i;
}

TEST(GraphRecord, TitleIsCutToItsSlotAndNeverRunsIntoTheCaptionBox)
{
    GraphDocument d;
    std::memset(d.title, 'T', 80);
    d.captionBoxX = 0x01020304;
    GraphRecord r;
    r.bytes.fill(0xEE);
    packRecord(d, r);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r.bytes[9483])), std::string(36, 'T'));
    EXPECT_EQ(r.bytes[9519], 0);
    EXPECT_EQ(rawI32(r, 9520), 0x01020304u);
    EXPECT_EQ(r.bytes[9482], 0xEE); // last caption byte before the title
}

TEST(GraphRecord, UnpackReadsHandBuiltRecord)
{
    GraphRecord r;
    setI32(r, 0, 2);
    setF32(r, entry(312, 0, 0), 123.9f);
    setF32(r, entry(312, 0, 1), -7.8f);
    setF32(r, entry(3312, 0, 1), 200.25f);
    setF32(r, entry(6312, 0, 1), 44.5f);
    for (std::size_t flag : { 9356u, 9360u, 9364u, 9332u, 9328u })
        setI32(r, flag, 5);
    r.bytes[9528] = 5;
    r.bytes[9529] = 1;
    setI32(r, 9344, 0xCAFE);
    std::memcpy(&r.bytes[52 + 13], "Tue", 4);
    std::memcpy(&r.bytes[9372 + 74], "third", 6);
    std::memcpy(&r.bytes[9483], "Title", 6);

    GraphDocument d;
    d.pixelX[0][2] = 999; // past the count: must survive
    d.valueY[1][0] = 5.5f;
    unpackRecordDocument(r, d);
    EXPECT_EQ(d.pointCount[0], 2);
    EXPECT_EQ(d.pixelX[0][0], 123); // truncated toward zero
    EXPECT_EQ(d.pixelX[0][1], -7);
    EXPECT_EQ(d.pixelY[0][1], 200.25f);
    EXPECT_EQ(d.valueY[0][1], 44.5f);
    EXPECT_EQ(d.pixelX[0][2], 999);
    EXPECT_EQ(d.valueY[1][0], 5.5f);
    // Flags arrive as stored; the window brings them to 0 or 1 afterwards.
    EXPECT_EQ(d.largePoints, 5);
    EXPECT_EQ(d.labelPoints, 5);
    EXPECT_EQ(d.connectPoints, 5);
    EXPECT_EQ(d.yRangeSet, 5);
    EXPECT_EQ(d.labelsEntered, 5);
    EXPECT_EQ(d.captionsPlaced, 5);
    EXPECT_EQ(d.thickLines, 1);
    EXPECT_EQ(d.recordReserved, 0xCAFE);
    EXPECT_STREQ(d.xLabels[1], "Tue");
    EXPECT_STREQ(d.captions[2], "third");
    EXPECT_STREQ(d.title, "Title");
}

TEST(GraphRecord, PackThenUnpackGivesBackEveryStoredField)
{
    const GraphDocument in = fullDocument();
    GraphRecord r;
    packRecord(in, r);
    GraphDocument out;
    out.pixelX[0][3] = 77; // past curve 1's count
    out.showErrorBars = 1; // not stored
    unpackRecordDocument(r, out);
    EXPECT_EQ(std::memcmp(out.pointCount, in.pointCount, sizeof in.pointCount), 0);
    for (int c = 0; c < 3; ++c)
        for (int j = 0; j < in.pointCount[c]; ++j) {
            ASSERT_EQ(out.pixelX[c][j], in.pixelX[c][j]);
            ASSERT_EQ(out.pixelY[c][j], in.pixelY[c][j]);
            ASSERT_EQ(out.valueY[c][j], in.valueY[c][j]);
        }
    EXPECT_EQ(out.pixelX[0][3], 77);
    EXPECT_EQ(std::memcmp(out.yTicks, in.yTicks, sizeof in.yTicks), 0);
    EXPECT_EQ(std::memcmp(out.xLabels, in.xLabels, sizeof in.xLabels), 0);
    EXPECT_EQ(std::memcmp(out.captions, in.captions, sizeof in.captions), 0);
    EXPECT_STREQ(out.title, in.title);
    EXPECT_EQ(out.yMin, in.yMin);
    EXPECT_EQ(out.yMax, in.yMax);
    EXPECT_EQ(out.yScale, in.yScale);
    EXPECT_EQ(out.percentError, in.percentError);
    EXPECT_EQ(out.labelsEntered, in.labelsEntered);
    EXPECT_EQ(out.yRangeSet, in.yRangeSet);
    EXPECT_EQ(out.xLabelCount, in.xLabelCount);
    EXPECT_EQ(out.labelSpacing, in.labelSpacing);
    EXPECT_EQ(out.recordReserved, in.recordReserved);
    EXPECT_EQ(out.divisionsPerLabel, in.divisionsPerLabel);
    EXPECT_EQ(out.largePoints, in.largePoints);
    EXPECT_EQ(out.labelPoints, in.labelPoints);
    EXPECT_EQ(out.connectPoints, in.connectPoints);
    EXPECT_EQ(out.captionBoxX, in.captionBoxX);
    EXPECT_EQ(out.captionBoxY, in.captionBoxY);
    EXPECT_EQ(out.captionsPlaced, in.captionsPlaced);
    EXPECT_EQ(out.thickLines, in.thickLines);
    EXPECT_EQ(out.showErrorBars, 1);
}

TEST(GraphRecord, UnpackThenPackLeavesTheRecordAsItWasIncludingTheReservedWord)
{
    GraphRecord r;
    packRecord(fullDocument(), r);
    for (std::size_t i = 9530; i < 9653; ++i)
        r.bytes[i] = static_cast<std::uint8_t>(i);
    setI32(r, 9344, 0x87654321);
    setI32(r, 9348, 0x11111111);
    const GraphRecord before = r;
    GraphDocument d;
    unpackRecordDocument(r, d);
    packRecord(d, r);
    EXPECT_EQ(r.bytes, before.bytes);
}

TEST(GraphRecord, UnpackOfAnUncheckedRecordStaysInsideTheDocument)
{
    GraphRecord r;
    r.bytes.fill('A'); // no terminator anywhere
    setI32(r, 0, 300);
    setI32(r, 4, static_cast<std::uint32_t>(-5));
    setI32(r, 9336, 99);
    setF32(r, entry(312, 0, 0), 1e20f);
    setF32(r, entry(312, 0, 1), std::bit_cast<float>(0x7FC00000u)); // NaN
    GraphDocument d;
    unpackRecordDocument(r, d);
    EXPECT_EQ(d.pointCount[0], 250);
    EXPECT_EQ(d.pointCount[1], 0);
    EXPECT_EQ(d.xLabelCount, 20);
    EXPECT_EQ(d.pixelX[0][0], std::numeric_limits<int>::max());
    EXPECT_EQ(d.pixelX[0][1], 0);
    EXPECT_EQ(std::strlen(d.xLabels[19]), 12u);
    EXPECT_EQ(std::strlen(d.captions[2]), 36u);
    EXPECT_EQ(std::strlen(d.title), 36u);
}

TEST(GraphRecord, GlobalBufferStartsZeroAndMovesTheGlobalDocument)
{
    for (auto b : graphRecord.bytes)
        ASSERT_EQ(b, 0);
    const GraphDocument saved = doc;
    doc = fullDocument();
    packRecord();
    doc = GraphDocument {};
    unpackRecordDocument();
    EXPECT_EQ(doc.pixelX[2][249], 50 + 249 + 2);
    EXPECT_STREQ(doc.title, "Weekly rainfall");
    doc = saved;
    graphRecord = GraphRecord {};
}

} // namespace
