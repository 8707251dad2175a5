#include "files/RecordCheck.h"

#include "document/CurveStatistics.h"
#include "document/GraphRules.h"
#include "tests/support/GraphSamples.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <random>
#include <vector>

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
    return recordOf(d);
}

std::size_t entry(std::size_t base, int c, int j) { return RecordLayout::curveEntry(base, c, j); }

TEST(RecordCheck, AcceptsEverythingTheProgramCanSave)
{
    EXPECT_EQ(checkRecord(GraphRecord {}), ""); // the empty graph at start

    GraphRecord r = savedGraph();
    EXPECT_EQ(checkRecord(r), "");

    // Flags of any value are brought back to 0 or 1 after a read.
    for (std::size_t flag : { RecordLayout::largePoints, RecordLayout::labelPoints,
             RecordLayout::connectPoints, RecordLayout::yRangeSet, RecordLayout::labelsEntered })
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

    // What the old program saved through ordinary use is kept as it stands:
    // a percentage the Y-Scale dialog refused, a range of zero (scale 0 once
    // read), values whose 32-bit sums overflow, a scale no range fits.
    const std::function<void(GraphRecord&)> kept[] = {
        [](auto& k) { putFloat32(k, RecordLayout::percentError, 150); },
        [](auto& k) { putFloat32(k, RecordLayout::percentError, -5); },
        [](auto& k) {
            putFloat32(k, RecordLayout::yMax, 0);
            putFloat32(k, RecordLayout::yScale, 0);
        },
        [](auto& k) { putFloat32(k, RecordLayout::yScale, 1e30f); },
        [](auto& k) {
            putFloat32(k, entry(RecordLayout::valueY, 0, 0), 3.4e38f);
            putFloat32(k, entry(RecordLayout::valueY, 0, 1), 3.4e38f);
        },
    };
    for (const auto& keep : kept) {
        GraphRecord k = savedGraph();
        keep(k);
        EXPECT_EQ(checkRecord(k), "");
    }
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
        { [](auto& r) { putInt32(r, L::xLabelCount, -2); }, "-2 X-axis labels" },
        { [](auto& r) { std::memset(&r.bytes[L::labelSlot(4)], 'a', 13); }, "X-axis label 5 runs past" },
        { [](auto& r) { std::memset(&r.bytes[L::captionSlot(2)], 'a', 37); },
            "caption of curve 3 runs past" },
        { [](auto& r) { std::memset(&r.bytes[L::title], 'a', 37); }, "title runs past" },
        { [](auto& r) { putFloat32(r, L::yMin, nan); }, "Y minimum is nan, not a finite number" },
        { [](auto& r) { putFloat32(r, L::yMax, -inf); }, "Y maximum is -inf" },
        { [](auto& r) { putFloat32(r, L::yScale, inf); }, "Y scale is inf" },
        { [](auto& r) { putFloat32(r, L::percentError, nan); }, "error-bar percentage is nan" },
        { [](auto& r) { putFloat32(r, L::yTicks + 36, inf); }, "Y-axis value 10 is inf" },
        { [](auto& r) { putFloat32(r, entry(L::pixelX, 0, 1), 3e9f); },
            "point 2 of curve 1 has the X position" },
        { [](auto& r) { putFloat32(r, entry(L::pixelY, 2, 0), nan); },
            "point 1 of curve 3 has the Y position" },
        { [](auto& r) { putFloat32(r, entry(L::valueY, 0, 0), inf); },
            "point 1 of curve 1 has the value inf" },
        { [](auto& r) { putInt32(r, L::labelSpacing, -5); }, "spacing cannot be negative" },
        { [](auto& r) { putInt32(r, L::captionBoxY, -2000000000); },
            "caption box lies at (600, -2000000000)" },
    };
    for (const auto& c : cases) {
        GraphRecord r = savedGraph();
        c.breakIt(r);
        EXPECT_NE(checkRecord(r).find(c.reason), std::string::npos)
            << "expected \"" << c.reason << "\", got \"" << checkRecord(r) << "\"";
    }
}

using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const GraphRecord& r) { return Bytes(r.bytes.begin(), r.bytes.end()); }

// A file as the old program left it through ordinary use, or as a transfer
// left it: each opens, says what was repaired, keeps everything else, and
// saves into a record that passes every check and reopens unchanged.
TEST(RecordCheck, RepairsWhatOrdinaryUseAndTransfersLeftBehind)
{
    namespace L = RecordLayout;
    const GraphRecord saved = savedGraph();
    auto changed = [&](std::function<void(GraphRecord&)> change) {
        GraphRecord r = saved;
        change(r);
        return bytesOf(r);
    };
    // Ten points on curve 1: its count is a line feed, as are other bytes.
    GraphRecord feeds = saved;
    putInt32(feeds, L::pointCount, 10);
    for (int j = 0; j < 10; ++j) {
        putFloat32(feeds, entry(L::pixelX, 0, j), 60.0f + j);
        putFloat32(feeds, entry(L::pixelY, 0, j), 368);
        putFloat32(feeds, entry(L::valueY, 0, j), 2.7777f);
    }
    Bytes textCopy;
    for (std::uint8_t b : feeds.bytes) {
        if (b == '\n')
            textCopy.push_back('\r');
        textCopy.push_back(b);
    }
    const std::string longTitle = "Monthly rainfall at Station 3, 1987-1992";

    const struct {
        const char* state;
        Bytes bytes;
        const char* says; // empty: nothing needed repairing
        std::function<void(const GraphDocument&, const GraphRecord&)> shows;
    } cases[] = {
        { "long title", changed([&](auto& r) {
             std::memcpy(&r.bytes[L::title], longTitle.data(), longTitle.size()); // runs over the box
             putInt32(r, L::captionBoxX, 600);
             putInt32(r, L::captionBoxY, 40);
             r.bytes[L::captionsPlaced] = 1;
         }),
            "The title was longer than a graph file holds and was cut to 36 characters.",
            [&](const GraphDocument& d, const GraphRecord&) {
                EXPECT_EQ(std::string(d.title), longTitle.substr(0, 36));
                EXPECT_EQ(d.captionBoxX, 600);
                EXPECT_EQ(d.pointCount[0], 2);
            } },
        { "percentage 150", changed([](auto& r) { putFloat32(r, L::percentError, 150); }), "",
            [](const GraphDocument& d, const GraphRecord&) { EXPECT_EQ(d.percentError, 150); } },
        { "zero Y range", changed([](auto& r) {
             putFloat32(r, L::yMin, 0);
             putFloat32(r, L::yMax, 0);
             putFloat32(r, L::yScale, inf);
             for (int k = 0; k < 10; ++k)
                 putFloat32(r, L::yTicks + 4 * k, 0);
         }),
            "The Y range (0 to 0) has no usable scale",
            [](const GraphDocument& d, const GraphRecord&) {
                EXPECT_EQ(d.yScale, 0);
                EXPECT_EQ(d.pixelY[0][1], 198); // drawn where it was
                EXPECT_FALSE(yRangeUsable(d));
            } },
        { "Y extended to a smaller top", changed([](auto& r) {
             putFloat32(r, entry(L::pixelY, 0, 1), -inf);
             putFloat32(r, entry(L::pixelY, 0, 0), nan);
         }),
            "Curve 1: 2 points had lost their place on the Y axis and were put back at their values.",
            [](const GraphDocument& d, const GraphRecord&) {
                EXPECT_EQ(d.pixelY[0][1], 198); // 50 on 0..100
                EXPECT_EQ(d.pixelY[0][0], 378);
                EXPECT_EQ(d.valueY[0][1], 50);
            } },
        { "X extended below no labels", changed([](auto& r) {
             putInt32(r, L::xLabelCount, -2);
             putInt32(r, L::labelSpacing, -300);
         }),
            "it is shown without labels",
            [](const GraphDocument& d, const GraphRecord&) {
                EXPECT_EQ(d.xLabelCount, 0);
                EXPECT_EQ(d.labelSpacing, 0);
                EXPECT_EQ(d.pointCount[0], 2);
            } },
        { "sums beyond a float", changed([](auto& r) {
             putFloat32(r, L::yMax, 1e36f);
             putFloat32(r, entry(L::valueY, 0, 0), 3e38f);
             putFloat32(r, entry(L::valueY, 0, 1), 3e38f);
         }),
            "",
            [](const GraphDocument& d, const GraphRecord&) {
                EXPECT_FLOAT_EQ(curveStatistics(d, 0).mean, 3e38f);
                EXPECT_FLOAT_EQ(curveStatistics(d, 0).weightedMean, 3e38f);
            } },
        { "only the unused tail lost", Bytes(saved.bytes.begin(), saved.bytes.begin() + 9530), "",
            [&](const GraphDocument&, const GraphRecord& r) { EXPECT_EQ(r.bytes, saved.bytes); } },
        { "trailing zeros stripped", Bytes(saved.bytes.begin(), saved.bytes.begin() + 9529),
            "shorter than a graph file (9529 of 9653 bytes)",
            [](const GraphDocument& d, const GraphRecord&) { EXPECT_EQ(d.thickLines, 0); } },
        { "copied as text", textCopy, "This file had been copied as text; its line ends were put back.",
            [&](const GraphDocument&, const GraphRecord& r) { EXPECT_EQ(r.bytes, feeds.bytes); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        GraphRecord read;
        std::vector<std::string> repairs;
        ASSERT_EQ(recordFromBytes(c.bytes.data(), c.bytes.size(), read, repairs), "");
        const std::string said = repairSummary(repairs);
        EXPECT_EQ(said.empty(), !*c.says) << said;
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        auto d = std::make_unique<GraphDocument>();
        unpackRecordDocument(read, *d);
        settleReadOptions(*d);
        c.shows(*d, read);
        // Saved as the window saves it: strict, and the same graph again.
        GraphRecord again = read;
        packRecord(*d, again);
        EXPECT_EQ(checkRecord(again), "");
        GraphRecord reopened;
        std::vector<std::string> none;
        ASSERT_EQ(recordFromBytes(again.bytes.data(), again.bytes.size(), reopened, none), "");
        EXPECT_TRUE(none.empty()) << repairSummary(none);
        EXPECT_EQ(reopened.bytes, again.bytes);
    }
}

// Refused are only bytes that no use of the program can make, with the
// file's size where it is not a record's.
TEST(RecordCheck, RefusesBytesThatHoldNoGraph)
{
    const GraphRecord saved = savedGraph();
    Bytes noise(kGraphRecordSize);
    std::mt19937 random(7);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    GraphRecord labels = saved;
    putInt32(labels, RecordLayout::xLabelCount, 21);
    GraphRecord counts = saved;
    putInt32(counts, RecordLayout::pointCount, 2573);
    Bytes longer = bytesOf(counts);
    for (int i = 0; i < 20; ++i)
        longer.insert(longer.end(), { '\r', '\n' });

    const std::pair<Bytes, const char*> cases[] = {
        { Bytes {}, "it is empty" },
        { noise, "it is not a graph file: curve 1 claims" },
        { bytesOf(labels), "21 X-axis labels" },
        { bytesOf(counts), "curve 1 claims 2573 points" },
        { longer, "(the file holds 9693 bytes; a graph file holds 9653: it may have been copied as text)" },
        { Bytes(saved.bytes.begin(), saved.bytes.begin() + 3000),
            "it lost its end: curve 1 has 2 points, but the file ends before them" },
    };
    for (const auto& [bytes, reason] : cases) {
        GraphRecord out;
        out.bytes.fill(0x77);
        std::vector<std::string> repairs;
        const std::string refusal = recordFromBytes(bytes.data(), bytes.size(), out, repairs);
        EXPECT_NE(refusal.find(reason), std::string::npos) << refusal;
        EXPECT_EQ(out.bytes[0], 0x77);
    }
}

} // namespace
