#include "files/GraphRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

GraphRecord graphRecord;

namespace L = RecordLayout;

std::int32_t getInt32(const GraphRecord& rec, std::size_t offset)
{
    const auto* p = rec.bytes.data() + offset;
    const std::uint32_t u = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
    return static_cast<std::int32_t>(u);
}

void putInt32(GraphRecord& rec, std::size_t offset, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    auto* p = rec.bytes.data() + offset;
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
    p[2] = static_cast<std::uint8_t>(u >> 16);
    p[3] = static_cast<std::uint8_t>(u >> 24);
}

float getFloat32(const GraphRecord& rec, std::size_t offset)
{
    static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);
    return std::bit_cast<float>(getInt32(rec, offset));
}

void putFloat32(GraphRecord& rec, std::size_t offset, float value)
{
    putInt32(rec, offset, std::bit_cast<std::int32_t>(value));
}

std::uint8_t getByte(const GraphRecord& rec, std::size_t offset) { return rec.bytes[offset]; }

void putByte(GraphRecord& rec, std::size_t offset, std::uint8_t value) { rec.bytes[offset] = value; }

int storedPixelToColumn(float stored)
{
    if (std::isnan(stored))
        return 0;
    // Compared as double: INT_MAX is not representable as a float, and a cast
    // of an out-of-range value to int is undefined.
    const double v = std::trunc(static_cast<double>(stored));
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

namespace {

// Writes the text and its terminator, at most slotSize - 1 characters, and
// leaves the slot's bytes behind the terminator as they were.
void putText(
    GraphRecord& rec, std::size_t offset, std::size_t slotSize, const char* text, std::size_t textSize)
{
    const std::size_t limit = std::min(slotSize, textSize) - 1;
    std::size_t n = 0;
    while (n < limit && text[n] != 0) {
        rec.bytes[offset + n] = static_cast<std::uint8_t>(text[n]);
        ++n;
    }
    rec.bytes[offset + n] = 0;
}

// Copies a slot's text into a document array, never reading past the slot or
// writing past the array, and always leaves the array terminated.
void getText(
    const GraphRecord& rec, std::size_t offset, std::size_t slotSize, char* text, std::size_t textSize)
{
    const std::size_t limit = std::min(slotSize, textSize) - 1;
    std::size_t n = 0;
    while (n < limit && rec.bytes[offset + n] != 0) {
        text[n] = static_cast<char>(rec.bytes[offset + n]);
        ++n;
    }
    std::fill(text + n, text + textSize, '\0');
}

int boundedCount(std::int32_t count, int most) { return std::clamp<std::int32_t>(count, 0, most); }

} // namespace

void packRecord(const GraphDocument& d, GraphRecord& rec)
{
    // The order follows the one the format was defined with; only the label
    // slots are written twice (emptied, then filled).
    for (int i = 0; i < kMaxLabels; ++i)
        rec.bytes[L::labelSlot(i)] = 0;

    for (int c = 0; c < kCurveCount; ++c) {
        putText(rec, L::captionSlot(c), L::captionSlotSize, d.captions[c], kCaptionSize);
        putInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4, d.pointCount[c]);
    }

    putFloat32(rec, L::yMin, d.yMin);
    putFloat32(rec, L::yMax, d.yMax);
    putInt32(rec, L::divisionsPerLabel, d.divisionsPerLabel);
    putInt32(rec, L::labelsEntered, d.labelsEntered);
    putInt32(rec, L::yRangeSet, d.yRangeSet);
    putFloat32(rec, L::yScale, d.yScale);
    putInt32(rec, L::labelSpacing, d.labelSpacing);
    putInt32(rec, L::reservedWord, d.recordReserved);
    putInt32(rec, L::xLabelCount, d.xLabelCount);
    putInt32(rec, L::largePoints, d.largePoints);
    putInt32(rec, L::labelPoints, d.labelPoints);
    putInt32(rec, L::connectPoints, d.connectPoints);
    putFloat32(rec, L::percentError, d.percentError);

    // A count outside 0..250 can only come from a broken document; writing
    // entries for it would run past the curve's arrays, so it is bounded here.
    for (int c = 0; c < kCurveCount; ++c) {
        const int n = boundedCount(d.pointCount[c], kMaxPoints);
        for (int j = 0; j < n; ++j) {
            putFloat32(rec, L::curveEntry(L::pixelX, c, j), static_cast<float>(d.pixelX[c][j]));
            putFloat32(rec, L::curveEntry(L::pixelY, c, j), d.pixelY[c][j]);
            putFloat32(rec, L::curveEntry(L::valueY, c, j), d.valueY[c][j]);
        }
    }

    for (int k = 0; k < kYTickCount; ++k)
        putFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4, d.yTicks[k]);

    for (int i = 0; i < kMaxLabels; ++i)
        putText(rec, L::labelSlot(i), L::labelSlotSize, d.xLabels[i], kLabelTextSize);

    // The document's title has room for 80 characters, the slot for 36.
    putText(rec, L::title, L::titleSlotSize, d.title, kTitleSize);

    putByte(rec, L::captionsPlaced, d.captionsPlaced);
    putInt32(rec, L::captionBoxX, d.captionBoxX);
    putInt32(rec, L::captionBoxY, d.captionBoxY);
    putByte(rec, L::thickLines, d.thickLines);
}

void packRecord() { packRecord(doc, graphRecord); }

void unpackRecordDocument(const GraphRecord& rec, GraphDocument& d)
{
    for (int i = 0; i < kMaxLabels; ++i)
        getText(rec, L::labelSlot(i), L::labelSlotSize, d.xLabels[i], kLabelTextSize);

    for (int c = 0; c < kCurveCount; ++c) {
        getText(rec, L::captionSlot(c), L::captionSlotSize, d.captions[c], kCaptionSize);
        d.pointCount[c]
            = boundedCount(getInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4), kMaxPoints);
    }

    d.yMin = getFloat32(rec, L::yMin);
    d.yMax = getFloat32(rec, L::yMax);
    d.divisionsPerLabel = getInt32(rec, L::divisionsPerLabel);
    d.labelsEntered = getInt32(rec, L::labelsEntered);
    d.yRangeSet = getInt32(rec, L::yRangeSet);
    d.yScale = getFloat32(rec, L::yScale);
    d.labelSpacing = getInt32(rec, L::labelSpacing);
    d.recordReserved = getInt32(rec, L::reservedWord);
    d.xLabelCount = boundedCount(getInt32(rec, L::xLabelCount), kMaxLabels);
    d.largePoints = getInt32(rec, L::largePoints);
    d.labelPoints = getInt32(rec, L::labelPoints);
    d.connectPoints = getInt32(rec, L::connectPoints);
    d.percentError = getFloat32(rec, L::percentError);

    for (int c = 0; c < kCurveCount; ++c) {
        for (int j = 0; j < d.pointCount[c]; ++j) {
            d.pixelX[c][j] = storedPixelToColumn(getFloat32(rec, L::curveEntry(L::pixelX, c, j)));
            d.pixelY[c][j] = getFloat32(rec, L::curveEntry(L::pixelY, c, j));
            d.valueY[c][j] = getFloat32(rec, L::curveEntry(L::valueY, c, j));
        }
    }

    for (int k = 0; k < kYTickCount; ++k)
        d.yTicks[k] = getFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4);

    getText(rec, L::title, L::titleSlotSize, d.title, kTitleSize);

    d.captionsPlaced = getByte(rec, L::captionsPlaced);
    d.captionBoxX = getInt32(rec, L::captionBoxX);
    d.captionBoxY = getInt32(rec, L::captionBoxY);
    d.thickLines = getByte(rec, L::thickLines);
}

void unpackRecordDocument() { unpackRecordDocument(graphRecord, doc); }

void settleReadOptions(GraphDocument& d)
{
    d.largePoints = d.largePoints != 0;
    d.connectPoints = d.connectPoints != 0;
    d.labelPoints = d.labelPoints != 0;
    d.showErrorBars = d.percentError > 0;
}
