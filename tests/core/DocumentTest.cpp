#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/PointRows.h"
#include "tests/support/GraphSamples.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { doc = GraphDocument {}; }
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

// A new graph keeps nothing of the last one that it would show or save:
// points, labels, captions, their box and the file; the pixel slots of
// other curves are left to their counts.
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
    doc.divisionsPerLabel = 4;
    std::snprintf(doc.captions[2], kCaptionSize, "Group A (north)");
    doc.captionBoxX = doc.captionBoxY = 40;
    doc.captionsPlaced = doc.placingCaption = 1;
    doc.fileName = "results-2025.gd2";

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
    EXPECT_EQ(doc.divisionsPerLabel, 4);
    EXPECT_EQ(doc.captions[2][0], 0);
    EXPECT_EQ(doc.captionBoxX + doc.captionBoxY + doc.captionsPlaced + doc.placingCaption, 0);
    EXPECT_EQ(doc.fileName, "");
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
// Pasted rows go in by Next Point's rules, all or none; the first refused
// row is named with the window's message. A comma separates fields only
// where it cannot be a decimal comma; one number alone is no row. Curve 2
// is current, the Y range 0..100, and curve 3 already holds 249 points.
TEST_F(DocumentTest, PastedRowsAreAddedByNextPointsRulesAllOrNone)
{
    struct Added {
        int curve, x;
        float y;
    };
    const struct {
        const char* text;
        std::vector<Added> added; // in the order they land in their curves
        const char* problem; // the refusal, when there is one
    } cases[] = {
        { "X\tY\n100\t12,5\r\n\n200\t7,25\n", { { 1, 100, 12.5f }, { 1, 200, 7.25f } }, "" },
        { "300;1,5\n100;2", { { 1, 100, 2 }, { 1, 300, 1.5f } }, "" },
        { "10, 20\n30,40.5\n 50   60 ", { { 1, 10, 20 }, { 1, 30, 40.5f }, { 1, 50, 60 } }, "" },
        { "curve,x,y\n1,5,6\n\"3\",70,8", { { 0, 5, 6 }, { 2, 70, 8 } }, "" },
        { "12.9\t1e1", { { 1, 12, 10 } }, "" },
        { "1.00E+02\t8", { { 1, 100, 8 } }, "" },
        { "1,5 2,5", { { 1, 1, 2.5f } }, "" },
        { "1,5, 2,5\n\"3\",\"4,5\"", { { 1, 1, 2.5f }, { 1, 3, 4.5f } }, "" },
        { "x,y\n100,8\n200,9", { { 1, 100, 8 }, { 1, 200, 9 } }, "" },
        { "41,101", {}, kOneValueNoRow },
        { " 17.5 \r\n", {}, kOneValueNoRow },
        { "100\t10\n671\t5", {}, "Row 2: The X-value if off the graph!" },
        { "100\t10\n200\t100.5", {}, "Row 2: The Y-value if off the graph!" },
        { "3\t1\t1\n3\t2\t2", {},
            "Row 2: You already have the mzximum number of points (250) in Curve No.3" },
        { "x y\n1 2\nthree 4", {}, "Row 3 is not an X and a Y value (or a curve, X and Y): \"three 4\"" },
        { "4\t1\t2", {}, "Row 1 is not an X and a Y value (or a curve, X and Y): \"4\t1\t2\"" },
        { "X\tY\n\n", {}, "There are no rows of X and Y values to paste." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        doc = GraphDocument {};
        doc.currentCurve = 1;
        doc.yRangeSet = 1;
        doc.yMax = 100;
        doc.yScale = 3.6f;
        doc.pointCount[2] = 249;
        for (int j = 0; j < 249; ++j)
            doc.pixelX[2][j] = 60;
        const GraphDocument before = doc;
        const PasteOutcome out = pasteRows(doc, c.text);
        EXPECT_EQ(out.ok, c.added.size() > 0);
        EXPECT_EQ(out.why.text.substr(0, std::string(c.problem).size()), c.problem);
        int n[kCurveCount] = { 0, 0, 249 };
        for (const Added& a : c.added) {
            const int j = n[a.curve];
            EXPECT_EQ(doc.pixelX[a.curve][j], a.x + PlotArea::left);
            EXPECT_EQ(doc.valueY[a.curve][j], a.y);
            ++n[a.curve];
        }
        for (int k = 0; k < kCurveCount; ++k)
            EXPECT_EQ(doc.pointCount[k], c.added.empty() ? before.pointCount[k] : n[k]) << k;
    }
    // Copy writes what Paste reads: X as typed, Y as stored.
    doc = GraphDocument {};
    ASSERT_TRUE(pasteRows(doc, cases[0].text).ok);
    EXPECT_EQ(curveRows(doc, 0), "100\t12.5\n200\t7.25\n");
    // A box takes one field, or one number, as its own Paste would.
    for (const char* one : { "41,101", " 17,5\n", "Jan", "1e2" })
        EXPECT_TRUE(isSingleValue(one)) << one;
    for (const char* rows : { "1\t2", "100 8", "1,670,10", "4\n5" })
        EXPECT_FALSE(isSingleValue(rows)) << rows;
}

// Numbers a person reads: as few decimals as give the value back, at most
// six, in the user's notation; rows copied out as text and as a table come
// back in through Paste as the same points; the label is the one drawn over
// the point's column.
TEST_F(DocumentTest, RowsGoOutInTheUsersNotationAndComeBackFromText)
{
    const struct {
        float value;
        char decimal;
        const char* text;
    } values[] = { { 17.5f, ',', "17,5" }, { 0.1f, '.', "0.1" }, { 1 / 3.0f, '.', "0.333333" },
        { 100, ',', "100" }, { -2.25f, ',', "-2,25" }, { 1e-7f, '.', "1e-07" }, { -1.5e-8f, ',', "-1,5e-08" },
        { -0.0f, '.', "0" } };
    for (const auto& v : values)
        EXPECT_EQ(valueText(v.value, v.decimal), v.text) << v.value;

    setYRange(doc, 0, 100);
    setXLabels(doc, 3, 1);
    ::addPoint(doc, 0, 100, 12.5f);
    ::addPoint(doc, 1, 5, 8.25f);
    const std::vector<PointRef> both = { { 0, 0 }, { 1, 0 } };
    const std::string text = pointRowsText(doc, both, ',');
    EXPECT_EQ(text, "1\t100\t12,5\n2\t5\t8,25\n");
    EXPECT_EQ(curveRows(doc, 0, ','), "100\t12,5\n");
    const std::string spreadsheet
        = "<TABLE><TR><TH>Curve</TH><TH>X</TH><TH>Y</TH></TR>\n<TR><TD ALIGN=right>1</TD>"
          "<TD>100</TD><TD SDVAL=\"12.5\"><FONT>12,5</FONT></TD></TR><tr><td>2<td>&nbsp;5<td>8,25</tr>";
    for (const std::string& copied :
        { text, htmlTableRows(pointRowsHtml(doc, both, ',')), htmlTableRows(spreadsheet) }) {
        GraphDocument back;
        setYRange(back, 0, 100);
        ASSERT_TRUE(pasteRows(back, copied).ok) << copied;
        EXPECT_EQ(pointRowsText(back, both, ','), text) << copied;
    }
    EXPECT_EQ(htmlTableRows("<p>no table</p>"), "");

    const std::pair<int, const char*> labels[] = { { 49, "" }, { 50, "Week 1" }, { 249, "Week 1" },
        { 250, "Week 2" }, { 649, "Week 3" }, { 650, "" }, { 900, "" } };
    for (auto [pixelX, label] : labels)
        EXPECT_EQ(labelUnder(doc, pixelX), label) << pixelX;
}
} // namespace
