#include "files/RecordCheck.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// What New Graph and a few clicks leave behind: labels on a Y range, points
// on two curves, error bars, a placed caption box.
GraphRecord savedGraph()
{
    GraphDocument d;
    d.xLabelCount = 3;
    d.labelSpacing = 200;
    d.divisionsPerLabel = 4;
    d.yRangeSet = 1;
    d.yMax = 100;
    d.yScale = 3.6f;
    d.percentError = 10;
    for (int k = 0; k < 10; ++k)
        d.yTicks[k] = 100.0f / 9 * k;
    d.pointCount[0] = 2;
    d.pointCount[2] = 1;
    d.pixelX[0][1] = 720;
    d.pixelY[0][1] = 198;
    d.valueY[0][1] = 50;
    d.captionBoxX = 600;
    d.captionBoxY = 40;
    d.captionsPlaced = 1;
    GraphRecord r;
    packRecord(d, r);
    return r;
}

std::size_t entry(std::size_t base, int c, int j) { return RecordLayout::curveEntry(base, c, j); }

TEST(RecordCheck, AcceptsEverythingTheProgramCanSave)
{
    EXPECT_EQ(checkRecord(GraphRecord {}), ""); // the empty graph at start

    GraphRecord r = savedGraph();
    EXPECT_EQ(checkRecord(r), "");

    // Flags of any value are brought back to 0 or 1 after a read.
    for (std::size_t flag : { RecordLayout::largePoints, RecordLayout::labelPoints, RecordLayout::connectPoints,
             RecordLayout::yRangeSet, RecordLayout::labelsEntered })
        putInt32(r, flag, 5);
    r.bytes[RecordLayout::captionsPlaced] = 5;
    r.bytes[RecordLayout::thickLines] = 200;
    // Slots past the counts, text bytes after terminators and the unused
    // slots may hold anything.
    putFloat32(r, entry(RecordLayout::pixelX, 0, 2), nan);
    putFloat32(r, entry(RecordLayout::valueY, 1, 0), inf);
    r.bytes[RecordLayout::title + 5] = 'x';
    r.bytes[RecordLayout::title + 36] = 'x';
    putInt32(r, RecordLayout::unusedWord1, -1);
    EXPECT_EQ(checkRecord(r), "");

    // The limits themselves: no bars, bars the full height, and values as
    // large as their sums still hold (the largest cancels out first).
    for (float percent : { 0.0f, 100.0f }) {
        putFloat32(r, RecordLayout::percentError, percent);
        EXPECT_EQ(checkRecord(r), "") << percent;
    }
    putFloat32(r, entry(RecordLayout::valueY, 0, 0), -3.4e38f);
    putFloat32(r, entry(RecordLayout::valueY, 0, 1), 3.4e38f);
    EXPECT_EQ(checkRecord(r), "");

    // Without a Y range there are no ticks, so the divisions do not matter,
    // and a scale of 0 is harmless.
    GraphRecord noRange = savedGraph();
    putInt32(noRange, RecordLayout::yRangeSet, 0);
    putFloat32(noRange, RecordLayout::yScale, 0);
    putInt32(noRange, RecordLayout::divisionsPerLabel, 0);
    EXPECT_EQ(checkRecord(noRange), "");

    GraphRecord noLabels = savedGraph();
    putInt32(noLabels, RecordLayout::xLabelCount, 0);
    putInt32(noLabels, RecordLayout::divisionsPerLabel, 0);
    EXPECT_EQ(checkRecord(noLabels), "");

    // Labels on a Y range whose divisions leave no whole tick step, as a
    // cancelled label prompt can leave them: drawn with one division each.
    for (int divisions : { 0, -3, 201 }) {
        GraphRecord noStep = savedGraph();
        putInt32(noStep, RecordLayout::divisionsPerLabel, divisions);
        EXPECT_EQ(checkRecord(noStep), "") << divisions;
    }
    GraphRecord noSpacing = savedGraph();
    putInt32(noSpacing, RecordLayout::labelSpacing, 0);
    EXPECT_EQ(checkRecord(noSpacing), "");
}

TEST(RecordCheck, RefusesEachBrokenLimitWithItsReason)
{
    namespace L = RecordLayout;
    const struct {
        std::function<void(GraphRecord&)> breakIt;
        const char* reason;
    } cases[] = {
        { [](auto& r) { putInt32(r, 4, 300); }, "curve 2 claims 300 points; a curve holds at most 250" },
        { [](auto& r) { putInt32(r, 8, -1); }, "curve 3 claims -1 points; a point count cannot be negative" },
        { [](auto& r) { putInt32(r, L::xLabelCount, 21); }, "21 X-axis labels" },
        { [](auto& r) { std::memset(&r.bytes[L::labelSlot(4)], 'a', 13); }, "X-axis label 5 runs past" },
        { [](auto& r) { std::memset(&r.bytes[L::captionSlot(2)], 'a', 37); }, "caption of curve 3 runs past" },
        { [](auto& r) { std::memset(&r.bytes[L::title], 'a', 37); }, "title runs past" },
        { [](auto& r) { putFloat32(r, L::yMin, nan); }, "Y minimum is nan, not a finite number" },
        { [](auto& r) { putFloat32(r, L::yMax, -inf); }, "Y maximum is -inf" },
        { [](auto& r) { putFloat32(r, L::yScale, inf); }, "Y scale is inf" },
        { [](auto& r) { putFloat32(r, L::percentError, nan); }, "error-bar percentage is nan" },
        { [](auto& r) { putFloat32(r, L::yTicks + 36, inf); }, "Y-axis value 10 is inf" },
        { [](auto& r) { putFloat32(r, L::percentError, 1e30f); },
            "percentage is 1e+30; it must lie between 0 and 100" },
        { [](auto& r) { putFloat32(r, L::percentError, -1); }, "percentage is -1; it must lie between" },
        { [](auto& r) {
             putFloat32(r, entry(L::valueY, 0, 0), 3.4e38f);
             putFloat32(r, entry(L::valueY, 0, 1), 3.4e38f);
         },
            "the values of curve 1 add up to more than a 32-bit number holds" },
        { [](auto& r) { putFloat32(r, L::yScale, 1e30f); }, "does not fit the plot" },
        { [](auto& r) { putFloat32(r, entry(L::pixelX, 0, 1), 3e9f); }, "point 2 of curve 1 has the X position" },
        { [](auto& r) { putFloat32(r, entry(L::pixelY, 2, 0), nan); }, "point 1 of curve 3 has the Y position" },
        { [](auto& r) { putFloat32(r, entry(L::valueY, 0, 0), inf); }, "point 1 of curve 1 has the value inf" },
        { [](auto& r) { putInt32(r, L::labelSpacing, -5); }, "spacing cannot be negative" },
        { [](auto& r) { putFloat32(r, L::yScale, 0); }, "a range but a scale of 0" },
        { [](auto& r) { putInt32(r, L::captionBoxY, -2000000000); }, "caption box lies at (600, -2000000000)" },
    };
    for (const auto& c : cases) {
        GraphRecord r = savedGraph();
        c.breakIt(r);
        EXPECT_NE(checkRecord(r).find(c.reason), std::string::npos)
            << "expected \"" << c.reason << "\", got \"" << checkRecord(r) << "\"";
    }
}

} // namespace
