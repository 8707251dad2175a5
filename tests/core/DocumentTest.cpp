#include "document/GraphDocument.h"
#include "document/PlotArea.h"

#include <gtest/gtest.h>

namespace {
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { doc = GraphDocument{}; }
    void addPoint(int c, int x, float y, float v)
    {
        int& n = doc.pointCount[c];
        doc.pixelX[c][n] = x;
        doc.pixelY[c][n] = y;
        doc.valueY[c][n] = v;
        ++n;
    }
};

TEST_F(DocumentTest, SortKeepsEqualColumnsInEntryOrderWithTheirValues)
{
    doc.currentCurve = 1;
    addPoint(1, 300, 10, 1);
    addPoint(1, 100, 20, 2);
    addPoint(1, 300, 30, 3);
    addPoint(1, 200, 40, 4);
    sortCurve();
    const int xs[] = { 100, 200, 300, 300 };
    const float ys[] = { 20, 40, 10, 30 };
    const float vs[] = { 2, 4, 1, 3 };
    for (int j = 0; j < 4; ++j) {
        EXPECT_EQ(doc.pixelX[1][j], xs[j]);
        EXPECT_EQ(doc.pixelY[1][j], ys[j]);
        EXPECT_EQ(doc.valueY[1][j], vs[j]);
    }
}

TEST_F(DocumentTest, SortLeavesOtherCurvesAndShortCurvesAlone)
{
    addPoint(0, 300, 1, 1);
    addPoint(0, 100, 2, 2);
    doc.currentCurve = 2;
    addPoint(2, 5, 5, 5);
    sortCurve();
    EXPECT_EQ(doc.pixelX[0][0], 300);
    EXPECT_EQ(doc.pixelX[2][0], 5);
}

TEST_F(DocumentTest, ClearGraphEmptiesCountsButZeroesOnlyTheCurrentCurvesPixels)
{
    addPoint(0, 120, 130, 11);
    addPoint(2, 140, 150, 13);
    addPoint(1, 160, 170, 12);
    doc.currentCurve = 1;
    std::snprintf(doc.xLabels[3], kLabelTextSize, "Mon");
    doc.xLabelCount = 4;
    doc.yTicks[9] = 90;
    std::snprintf(doc.title, kTitleSize, "Keep me");
    doc.yMax = 100;
    doc.dirty = 1;
    doc.divisionsPerLabel = 4;

    clearGraph();

    for (int c = 0; c < kCurveCount; ++c)
        EXPECT_EQ(doc.pointCount[c], 0);
    EXPECT_EQ(doc.pixelX[0][0], 120);
    EXPECT_EQ(doc.pixelY[2][0], 150);
    EXPECT_EQ(doc.pixelX[1][0], 0);
    EXPECT_EQ(doc.pixelY[1][0], 0);
    EXPECT_EQ(doc.valueY[1][0], 12);
    EXPECT_EQ(doc.xLabels[3][0], 0);
    EXPECT_EQ(doc.xLabelCount, 0);
    EXPECT_EQ(doc.yTicks[9], 0);
    EXPECT_STREQ(doc.title, "Keep me");
    EXPECT_EQ(doc.yMax, 100);
    EXPECT_EQ(doc.dirty, 1);
    EXPECT_EQ(doc.divisionsPerLabel, 4);
}

TEST_F(DocumentTest, PixelRulesWithoutARange)
{
    doc.yScale = 1.0f;
    EXPECT_EQ(pixelYToValue(doc, 380), -2);
    EXPECT_EQ(pixelYToValue(doc, 19), 359);
    EXPECT_EQ(valueToPixelY(doc, 360), 18);
}

TEST_F(DocumentTest, PixelRulesWithARangeRoundTrip)
{
    doc.yRangeSet = 1;
    doc.yMin = 0;
    doc.yMax = 100;
    doc.yScale = static_cast<float>(360.0 / 100.0);
    EXPECT_FLOAT_EQ(doc.yScale, 3.6f);
    EXPECT_EQ(valueToPixelY(doc, 50), 198);
    EXPECT_EQ(pixelYToValue(doc, 198), 50);
    // 3.6 is not exact as a float: the top lands a hair below row 18.
    EXPECT_EQ(static_cast<int>(valueToPixelY(doc, 100)), 18);
    EXPECT_NEAR(valueToPixelY(doc, 100), 18, 1e-4);
}

TEST_F(DocumentTest, LabelSpacingOfSevenLabelsEndsShortOfTheBand)
{
    const int spacing = PlotArea::labelBand / 7;
    EXPECT_EQ(spacing, 85);
    EXPECT_EQ(PlotArea::left + 7 * spacing, 645);
}
} // namespace
