#pragma once
// The stored form of a graph: one record of exactly 9653 bytes, little-endian,
// fields at fixed offsets, no header. The record is read and written field by
// field through the helpers below, never by laying a C++ struct over it, so
// the layout cannot depend on the compiler's padding or the machine's byte
// order.

#include "document/GraphDocument.h"

#include <array>
#include <cstddef>
#include <cstdint>

constexpr std::size_t kGraphRecordSize = 9653;

struct GraphRecord {
    std::array<std::uint8_t, kGraphRecordSize> bytes {};
};

// Byte offsets of every field. The curve arrays are curve-major: point j of
// curve c lies at base + (c * 250 + j) * 4 (see curveEntry).
namespace RecordLayout {
constexpr std::size_t pointCount = 0; // int32 x 3
constexpr std::size_t yTicks = 12; // float32 x 10
constexpr std::size_t xLabels = 52; // 20 slots of labelSlotSize bytes
constexpr std::size_t labelSlotSize = 13;
constexpr std::size_t pixelX = 312; // float32 x 3 x 250, whole numbers
constexpr std::size_t pixelY = 3312; // float32 x 3 x 250
constexpr std::size_t valueY = 6312; // float32 x 3 x 250
constexpr std::size_t yMin = 9312; // float32
constexpr std::size_t yMax = 9316; // float32
constexpr std::size_t yScale = 9320; // float32
constexpr std::size_t percentError = 9324; // float32
constexpr std::size_t labelsEntered = 9328; // int32
constexpr std::size_t yRangeSet = 9332; // int32
constexpr std::size_t xLabelCount = 9336; // int32
constexpr std::size_t labelSpacing = 9340; // int32
constexpr std::size_t reservedWord = 9344; // int32, carried through doc.recordReserved
constexpr std::size_t unusedWord1 = 9348; // 4 bytes nobody writes
constexpr std::size_t divisionsPerLabel = 9352; // int32
constexpr std::size_t largePoints = 9356; // int32
constexpr std::size_t labelPoints = 9360; // int32
constexpr std::size_t connectPoints = 9364; // int32
constexpr std::size_t unusedWord2 = 9368; // 4 bytes nobody writes
constexpr std::size_t captions = 9372; // 3 slots of captionSlotSize bytes
constexpr std::size_t captionSlotSize = 37;
constexpr std::size_t title = 9483; // odd offset: the layout has no padding
constexpr std::size_t titleSlotSize = 37;
constexpr std::size_t titleChars = titleSlotSize - 1; // what every title box takes
constexpr std::size_t captionBoxX = 9520; // int32
constexpr std::size_t captionBoxY = 9524; // int32
constexpr std::size_t captionsPlaced = 9528; // byte
constexpr std::size_t thickLines = 9529; // byte
constexpr std::size_t unusedTail = 9530; // 123 bytes nobody writes
constexpr std::size_t unusedTailSize = 123;

constexpr std::size_t curveEntry(std::size_t base, int curve, int point)
{
    return base + (static_cast<std::size_t>(curve) * kMaxPoints + static_cast<std::size_t>(point)) * 4;
}
constexpr std::size_t labelSlot(int i) { return xLabels + static_cast<std::size_t>(i) * labelSlotSize; }
constexpr std::size_t captionSlot(int c) { return captions + static_cast<std::size_t>(c) * captionSlotSize; }

static_assert(unusedTail + unusedTailSize == kGraphRecordSize);
static_assert(labelSlot(kMaxLabels) == pixelX);
static_assert(captionSlot(kCurveCount) == title);
static_assert(title + titleSlotSize == captionBoxX);
static_assert(curveEntry(pixelX, kCurveCount, 0) == pixelY);
static_assert(curveEntry(valueY, kCurveCount, 0) == yMin);
}

// Little-endian field access. Offsets are trusted: they come from RecordLayout.
std::int32_t getInt32(const GraphRecord& rec, std::size_t offset);
void putInt32(GraphRecord& rec, std::size_t offset, std::int32_t value);
float getFloat32(const GraphRecord& rec, std::size_t offset);
void putFloat32(GraphRecord& rec, std::size_t offset, float value);
std::uint8_t getByte(const GraphRecord& rec, std::size_t offset);
void putByte(GraphRecord& rec, std::size_t offset, std::uint8_t value);

// The one record buffer of the process: all zero at start, then the bytes of
// the last file read overlaid by the last packRecord. Never cleared.
extern GraphRecord graphRecord;

// Document to record. Slots the record does not take from the document
// (the unused words and tail, point entries past each count, text bytes after
// each terminator) keep whatever the record held. The title is cut to the 36
// characters its slot can hold.
void packRecord(const GraphDocument& d, GraphRecord& rec);
void packRecord();

// Record to document: everything the record holds, but not the window's
// option buttons, which the caller brings into line afterwards. Point slots at
// and past each count keep their old contents. Meant for records that passed
// checkRecord; on any other it still never writes past the document's arrays
// or copies more than a slot holds.
void unpackRecordDocument(const GraphRecord& rec, GraphDocument& d);
void unpackRecordDocument();

// What the window makes of an unpacked record shown on its own (no earlier
// state to keep): options become exactly 0 or 1, and a stored error
// percentage turns the bars on.
void settleReadOptions(GraphDocument& d);

// Stored X position to pixel column: truncated toward zero, and kept inside
// int for values no real graph holds (NaN gives 0).
int storedPixelToColumn(float stored);
