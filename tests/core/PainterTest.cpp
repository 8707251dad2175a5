// The painter checked on the recording context: positions, texts, pens,
// fonts and colours of what is drawn.

#include "drawing/Painter.h"
#include "document/GraphRules.h"
#include "framework/dc/CairoDC.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/RecordingDC.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr TColor black = TRgb(0, 0, 0);
constexpr TColor white = TRgb(255, 255, 255);
constexpr TColor grey = TRgb(200, 200, 200);
constexpr TColor red = TRgb(255, 0, 0);
constexpr TColor green = TRgb(0, 255, 0);
constexpr TColor blue = TRgb(0, 0, 255);

std::string face(const TRecordedCall& c)
{
    return std::string(c.font.faceName, strnlen(c.font.faceName, sizeof c.font.faceName));
}

struct Line {
    int x0, y0, x1, y1;
    int width;
    TColor colour;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Line& l)
{
    return os << "(" << l.x0 << "," << l.y0 << ")-(" << l.x1 << "," << l.y1 << ") w" << l.width << " rgb "
              << int(l.colour.r) << "," << int(l.colour.g) << "," << int(l.colour.b);
}

// One paint of a document, with views of what was drawn.
struct Painted {
    TRecordingDC dc;

    explicit Painted(const GraphDocument& d, PaintFor target = PaintFor::screen)
    {
        paintGraph(dc, d, target);
    }

    std::vector<TRecordedCall> texts() const { return dc.callsOf("TextOut"); }
    std::vector<TRecordedCall> textsInFont(const std::string& faceName) const
    {
        std::vector<TRecordedCall> out;
        for (const auto& c : texts())
            if (face(c) == faceName)
                out.push_back(c);
        return out;
    }
    const TRecordedCall* textAt(int x, int y) const
    {
        for (const auto& c : dc.calls)
            if (c.op == "TextOut" && c.args[0] == x && c.args[1] == y)
                return &c;
        return nullptr;
    }
    bool hasTextContaining(const std::string& part) const
    {
        for (const auto& c : texts())
            if (c.text.find(part) != std::string::npos)
                return true;
        return false;
    }
    std::vector<Line> lines() const
    {
        std::vector<Line> out;
        for (const auto& c : dc.callsOf("LineTo"))
            out.push_back({ c.from.x, c.from.y, c.args[0], c.args[1], c.penWidth, c.penColor });
        return out;
    }
    // Lines in the tick band under the plot, the axes left out.
    std::vector<Line> ticks() const
    {
        std::vector<Line> out;
        for (const Line& l : lines())
            if (l.x0 == l.x1 && l.y0 >= 371 && l.y1 <= 379 && l.y0 != 20)
                out.push_back(l);
        return out;
    }
    std::vector<TRecordedCall> ellipses() const { return dc.callsOf("Ellipse"); }
};

std::vector<int> xsOf(const std::vector<Line>& lines, int width)
{
    std::vector<int> xs;
    for (const Line& l : lines)
        if (l.width == width)
            xs.push_back(l.x0);
    return xs;
}

std::vector<int> rangeOf(int from, int to, int step)
{
    std::vector<int> v;
    for (int x = from; x <= to; x += step)
        v.push_back(x);
    return v;
}

// Every object made in the paint is gone when it ends, each deleted while
// nothing had it selected, and the context's state is as it was.
void expectCleanBookkeeping(const TRecordingDC& dc)
{
    EXPECT_EQ(dc.liveObjectCount(), 0);
    EXPECT_EQ(dc.saveDepth(), 0);
    for (const TRecordedCall& c : dc.callsOf("DeleteObject"))
        EXPECT_TRUE(c.ok);
}

} // namespace

TEST(Painter, EmptyDocumentShowsFrameAxesAndDefaultScalesOnly)
{
    const auto d = std::make_unique<GraphDocument>();
    Painted p(*d);

    // The plot box with the context's own pen.
    const auto boxes = p.dc.callsOf("Rectangle");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].args, (std::vector<int> { 50, 20, 700, 380 }));
    EXPECT_EQ(boxes[0].penWidth, 1);
    EXPECT_EQ(boxes[0].penColor, black);

    // Only the two thick axes; no ticks, points or captions.
    EXPECT_EQ(
        p.lines(), (std::vector<Line> { { 50, 380, 700, 380, 3, black }, { 50, 20, 50, 380, 3, black } }));
    EXPECT_TRUE(p.ellipses().empty());

    // Default Y scale: 360 at the top down to 0, light grey cells, scale font.
    const auto scale = p.textsInFont("Times New Roman");
    ASSERT_EQ(scale.size(), 37u + 12u);
    for (int k = 0; k <= 36; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(scale[k].text, std::to_string(360 - 10 * k));
        EXPECT_EQ(scale[k].args, (std::vector<int> { 30, 15 + 10 * k }));
        EXPECT_EQ(scale[k].bkColor, grey);
        EXPECT_EQ(scale[k].textColor, black);
        EXPECT_EQ(scale[k].align, 6u);
        EXPECT_EQ(scale[k].font.height, 8);
        EXPECT_EQ(scale[k].font.width, 8);
        EXPECT_EQ(scale[k].font.weight, 1000);
    }
    // Default X scale, screen only: 50 .. 600 centred at 100 .. 650.
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(scale[37 + i].text, std::to_string(50 * (i + 1)));
        EXPECT_EQ(scale[37 + i].args, (std::vector<int> { 100 + 50 * i, 385 }));
    }

    // The entry-box labels, left-aligned in the default font on light grey.
    for (const auto& [x, text] : { std::pair { 10, "X =" }, std::pair { 95, "Y =" } }) {
        const TRecordedCall* t = p.textAt(x, 445);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->text, text);
        EXPECT_EQ(t->align, 0u);
        EXPECT_EQ(t->bkColor, grey);
        EXPECT_EQ(face(*t), "Liberation Sans");
    }

    // No statistics, no Y-axis values; the empty title is written in the title font.
    EXPECT_FALSE(p.hasTextContaining("Curve"));
    EXPECT_TRUE(p.textsInFont("Helv").empty());
    const auto titles = p.textsInFont("Arial");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].text, "");
    EXPECT_EQ(titles[0].args, (std::vector<int> { 320, -6 }));
    EXPECT_EQ(titles[0].font.height, 30);
    EXPECT_EQ(titles[0].font.width, 10);
    EXPECT_EQ(titles[0].font.weight, 1000);

    expectCleanBookkeeping(p.dc);
}

TEST(Painter, TicksNeedBothAYRangeAndLabels)
{
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, -5, 5);
    {
        Painted p(*d);
        EXPECT_TRUE(p.ticks().empty());
        // Y-axis values: yTicks[0] at the bottom, in the value font, black on grey.
        const auto values = p.textsInFont("Helv");
        ASSERT_EQ(values.size(), 10u);
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(values[k].args, (std::vector<int> { 25, 370 - 40 * k }));
            EXPECT_EQ(values[k].bkColor, grey);
            EXPECT_EQ(values[k].textColor, black);
            EXPECT_EQ(values[k].font.height, 10);
            EXPECT_EQ(values[k].font.width, 10);
        }
        EXPECT_EQ(values[0].text, "-5.0");
        EXPECT_EQ(values[9].text, "5.0");
        // The default Y scale gives way to the values; the X scale stays.
        EXPECT_EQ(p.textsInFont("Times New Roman").size(), 12u);
    }
    // A value too wide to centre on x = 25 starts at the window's edge, so
    // its sign and leading digits stay in view.
    setYRange(*d, -100000, 1000);
    {
        Painted p(*d);
        for (const auto& v : p.textsInFont("Helv")) {
            const int width = static_cast<int>(v.text.size()) * 10;
            EXPECT_EQ(v.args[0], std::max(25, (width + 1) / 2)) << v.text;
            EXPECT_GE(v.args[0] - width / 2, 0) << v.text;
        }
        EXPECT_EQ(p.textsInFont("Helv")[0].text, "-100000.0");
    }
    d = std::make_unique<GraphDocument>();
    setXLabels(*d, 5, 4);
    {
        Painted p(*d);
        EXPECT_TRUE(p.ticks().empty());
        EXPECT_FALSE(p.hasTextContaining("Week"));
        EXPECT_TRUE(p.textsInFont("Helv").empty());
        EXPECT_EQ(p.textsInFont("Times New Roman").size(), 37u + 12u);
    }
}

TEST(Painter, TicksAndLabelsFallWhereTheIntegerStepPutsThem)
{
    struct Case {
        int labels, divisions;
        std::vector<int> minor, major;
        std::vector<std::pair<int, std::string>> texts; // centre x, text
    };
    std::vector<Case> cases;
    // One label, one division: ticks at both ends; slot 1 lands outside the box.
    cases.push_back({ 1, 1, { 50, 650 }, { 50, 650 }, { { 350, "Week 1" }, { 950, "" } } });
    // Twenty labels, one division: 21 major ticks, the last without a text.
    {
        Case c { 20, 1, rangeOf(50, 650, 30), rangeOf(50, 650, 30), {} };
        for (int k = 0; k < 20; ++k)
            c.texts.push_back({ 65 + 30 * k, "Week " + std::to_string(k + 1) });
        cases.push_back(c);
    }
    // Five labels, four divisions: spacing 120, step 30.
    {
        Case c { 5, 4, rangeOf(50, 650, 30), rangeOf(50, 650, 120), {} };
        for (int k = 0; k < 5; ++k)
            c.texts.push_back({ 110 + 120 * k, "Week " + std::to_string(k + 1) });
        c.texts.push_back({ 710, "" }); // slot 5, empty
        cases.push_back(c);
    }
    // Seven labels, four divisions: spacing 85, step 21, majors every 84.
    {
        Case c { 7, 4, rangeOf(50, 638, 21), rangeOf(50, 638, 84), {} };
        for (int k = 0; k < 8; ++k)
            c.texts.push_back({ 50 + 84 * k + 42, k < 7 ? "Week " + std::to_string(k + 1) : "" });
        cases.push_back(c);
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.labels) + " labels, " + std::to_string(c.divisions) + " divisions");
        auto d = std::make_unique<GraphDocument>();
        setYRange(*d, 0, 10);
        setXLabels(*d, c.labels, c.divisions);
        Painted p(*d);

        const auto ticks = p.ticks();
        for (const Line& t : ticks) {
            EXPECT_EQ(t.colour, black);
            if (t.width == 1)
                EXPECT_EQ(std::pair(t.y0, t.y1), std::pair(374, 379));
            else
                EXPECT_EQ(std::pair(t.y0, t.y1), std::pair(371, 377));
        }
        EXPECT_EQ(xsOf(ticks, 1), c.minor);
        EXPECT_EQ(xsOf(ticks, 3), c.major);

        std::vector<std::pair<int, std::string>> labels;
        for (const auto& t : p.texts())
            if (t.args[1] == 360) {
                labels.push_back({ t.args[0], t.text });
                EXPECT_EQ(t.align, 6u);
                EXPECT_EQ(t.bkColor, white);
            }
        EXPECT_EQ(labels, c.texts);
    }
}

TEST(Painter, AxisWithoutAWholeStepIsDrawnWithOneDivisionPerLabel)
{
    for (int divisions : { 0, -3, 500 }) {
        SCOPED_TRACE(divisions);
        auto d = std::make_unique<GraphDocument>();
        setYRange(*d, 0, 10);
        setXLabels(*d, 5, divisions);
        Painted p(*d);
        EXPECT_EQ(xsOf(p.ticks(), 3), rangeOf(50, 650, 120));
        EXPECT_EQ(xsOf(p.ticks(), 1), rangeOf(50, 650, 120));
    }
    // Labels counted but no spacing: nothing to divide, so no ticks at all.
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, 0, 10);
    setXLabels(*d, 5, 4);
    d->labelSpacing = 0;
    Painted p(*d);
    EXPECT_TRUE(p.ticks().empty());
    EXPECT_FALSE(p.hasTextContaining("Week"));
}

TEST(Painter, StatisticsRowsAreFixedPerCurve)
{
    auto d = std::make_unique<GraphDocument>();
    for (float v : { 1.f, 2.f, 3.f, 4.f, 100.f })
        addPoint(*d, 0, 100, v);
    for (float v : { 9.f, 1.f, 2.f })
        addPoint(*d, 2, 200, v);
    // A deleted point keeps its slot: the count alone decides.
    d->pixelX[1][0] = 120;
    {
        Painted p(*d);
        const TRecordedCall* first = p.textAt(370, 400);
        const TRecordedCall* third = p.textAt(370, 430);
        ASSERT_NE(first, nullptr);
        ASSERT_NE(third, nullptr);
        EXPECT_EQ(first->text, " Curve 1:    Mean = 22.00,    Wtd-Mean = 13.56");
        EXPECT_EQ(third->text, " Curve 3:    Mean = 4.00,    Wtd-Mean = 3.50");
        EXPECT_EQ(p.textAt(370, 415), nullptr);
        EXPECT_EQ(first->align, 0u);
        EXPECT_EQ(first->bkColor, grey);
        EXPECT_EQ(face(*first), "Liberation Sans");
    }
    {
        Painted p(*d, PaintFor::paper);
        ASSERT_NE(p.textAt(200, 400), nullptr);
        EXPECT_EQ(p.textAt(200, 400)->bkColor, white);
        ASSERT_NE(p.textAt(200, 430), nullptr);
        EXPECT_EQ(p.textAt(370, 400), nullptr);
    }
    // Figures and value labels kept from one paint follow a changed value.
    d->valueY[0][4] = 6;
    d->labelPoints = 1;
    {
        Painted p(*d, PaintFor::paper);
        ASSERT_NE(p.textAt(200, 400), nullptr);
        EXPECT_EQ(p.textAt(200, 400)->text, " Curve 1:    Mean = 3.20,    Wtd-Mean = 3.11");
        EXPECT_TRUE(p.hasTextContaining("6.0"));
        EXPECT_FALSE(p.hasTextContaining("100.0"));
    }
}

TEST(Painter, PrintingDropsScreenOnlyTextsAndWhitensBackgrounds)
{
    auto d = std::make_unique<GraphDocument>();
    std::strcpy(d->title, "Paper");
    addPoint(*d, 1, 10, 20);
    Painted p(*d, PaintFor::paper);
    EXPECT_EQ(p.textAt(10, 445), nullptr);
    EXPECT_EQ(p.textAt(95, 445), nullptr);
    // Default Y scale only, still on light grey; no default X scale.
    const auto scale = p.textsInFont("Times New Roman");
    ASSERT_EQ(scale.size(), 37u);
    for (const auto& t : scale)
        EXPECT_EQ(t.bkColor, grey);
    for (const auto& t : p.texts()) {
        if (face(t) != "Times New Roman") {
            EXPECT_EQ(t.bkColor, white) << t.text;
        }
    }
    ASSERT_NE(p.textAt(200, 415), nullptr);

    setYRange(*d, 0, 1);
    Painted ranged(*d, PaintFor::paper);
    for (const auto& t : ranged.textsInFont("Helv"))
        EXPECT_EQ(t.bkColor, white);
    EXPECT_TRUE(ranged.textsInFont("Times New Roman").empty());
    expectCleanBookkeeping(ranged.dc);
}

TEST(Painter, ThickLinesWidenCurvesAndMarkersOnly)
{
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, 0, 10, 10);
    setXLabels(*d, 2, 2);
    d->connectPoints = d->showErrorBars = 1;
    for (int c = 0; c < 3; ++c) {
        addPoint(*d, c, 110, 2.f + c); // columns 160 and 380, clear of the ticks
        addPoint(*d, c, 330, 5.f + c);
    }
    const TColor colours[3] = { red, green, blue };
    for (int thick : { 0, 1 }) {
        SCOPED_TRACE(thick);
        d->thickLines = static_cast<std::uint8_t>(thick);
        Painted p(*d);
        const int curveWidth = thick ? 3 : 1;
        const auto markers = p.ellipses();
        ASSERT_EQ(markers.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(markers[i].penWidth, curveWidth);
            EXPECT_EQ(markers[i].penColor, colours[i / 2]);
        }
        int connecting = 0, bars = 0;
        for (const Line& l : p.lines()) {
            if (l.x0 != l.x1) {
                if (l.y0 == 380) {
                    EXPECT_EQ(l.width, 3); // the X axis
                    continue;
                }
                ++connecting;
                EXPECT_EQ(l.width, curveWidth);
            } else if (l.x0 == 160 || l.x0 == 380) {
                ++bars;
                EXPECT_EQ(l.width, 1);
                EXPECT_EQ(l.colour, red);
            }
        }
        EXPECT_EQ(connecting, 3);
        EXPECT_EQ(bars, 6);
        EXPECT_EQ(xsOf(p.ticks(), 3), (std::vector<int> { 50, 350, 650 }));
    }
}

TEST(Painter, CaptionsWithoutALetterOrDigitTakeNoRow)
{
    auto d = std::make_unique<GraphDocument>();
    std::strcpy(d->captions[0], "Alpha");
    std::strcpy(d->captions[1], " .,;- ");
    std::strcpy(d->captions[2], "Gamma 3");
    d->captionBoxX = 500;
    d->captionBoxY = 40;
    {
        Painted p(*d); // not placed yet
        EXPECT_FALSE(p.hasTextContaining("Alpha"));
        EXPECT_TRUE(p.ellipses().empty());
    }
    d->captionsPlaced = 1;
    Painted p(*d);
    const auto markers = p.ellipses();
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].args, (std::vector<int> { 497, 37, 503, 43 }));
    EXPECT_EQ(markers[0].penColor, red);
    EXPECT_EQ(markers[0].penWidth, 3);
    EXPECT_EQ(markers[1].args, (std::vector<int> { 497, 53, 503, 59 }));
    EXPECT_EQ(markers[1].penColor, blue);
    for (const auto& [y, text] : { std::pair { 31, "Alpha" }, std::pair { 47, "Gamma 3" } }) {
        const TRecordedCall* t = p.textAt(515, y);
        ASSERT_NE(t, nullptr) << text;
        EXPECT_EQ(t->text, text);
        EXPECT_EQ(t->align, 0u);
        EXPECT_EQ(t->bkColor, white);
        EXPECT_EQ(t->textColor, black);
    }
    EXPECT_FALSE(p.hasTextContaining(".,;"));
}

TEST(Painter, ErrorBarsAreAShareOfTheAxisHeight)
{
    struct Case {
        float yMax;
        float percent;
        int half;
    };
    // 0..100 leaves the float scale's product at 359, 0..3 at 360.
    for (const Case& c :
        { Case { 100, 10, 17 }, Case { 100, 100, 179 }, Case { 3, 10, 18 }, Case { 3, 100, 180 } }) {
        SCOPED_TRACE(std::to_string(c.yMax) + " / " + std::to_string(c.percent));
        auto d = std::make_unique<GraphDocument>();
        setYRange(*d, 0, c.yMax, c.percent);
        if (c.yMax == 100)
            d->yScale = static_cast<float>(360 / 100.0);
        d->showErrorBars = 1;
        d->pointCount[1] = 1; // a green point: the bar is red all the same
        d->pixelX[1][0] = 300;
        d->pixelY[1][0] = 200.5f;
        Painted p(*d);
        std::vector<Line> bars;
        for (const Line& l : p.lines())
            if (l.x0 == 300)
                bars.push_back(l);
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(bars[0],
            (Line {
                300, static_cast<int>(200.5f + c.half), 300, static_cast<int>(200.5f - c.half), 1, red }));
    }
    // Without a Y range the bar has no length.
    auto d = std::make_unique<GraphDocument>();
    d->showErrorBars = 1;
    d->percentError = 50;
    addPoint(*d, 0, 100, 40);
    Painted p(*d);
    EXPECT_EQ(p.lines().back(), (Line { 150, 338, 150, 338, 1, red }));
}

TEST(Painter, PointPositionsAreTruncatedFromTheFloatRow)
{
    auto d = std::make_unique<GraphDocument>();
    d->connectPoints = d->labelPoints = 1;
    d->pointCount[0] = 2;
    d->pixelX[0][0] = 100;
    d->pixelY[0][0] = 50.2f;
    d->valueY[0][0] = 327.8f;
    d->pixelX[0][1] = 200;
    d->pixelY[0][1] = 100.7f;
    d->valueY[0][1] = 277.25f;
    for (int large : { 0, 1 }) {
        d->largePoints = large;
        Painted p(*d);
        const auto markers = p.ellipses();
        ASSERT_EQ(markers.size(), 2u);
        if (large)
            EXPECT_EQ(markers[1].args, (std::vector<int> { 196, 96, 204, 104 }));
        else
            EXPECT_EQ(markers[1].args, (std::vector<int> { 198, 98, 202, 102 }));
        EXPECT_EQ(markers[0].args[1], large ? 46 : 48);
    }
    Painted p(*d);
    const auto lines = p.lines();
    EXPECT_EQ(lines.back(), (Line { 100, 50, 200, 100, 1, red }));
    // Value labels 20 units right of and above the point, one decimal.
    const TRecordedCall* label = p.textAt(220, 80);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, "277.2");
    EXPECT_EQ(label->align, 6u);
    EXPECT_EQ(label->bkColor, white);
    ASSERT_NE(p.textAt(120, 30), nullptr);
    EXPECT_EQ(p.textAt(120, 30)->text, "327.8");
}

// A full graph draws every part in its place, each text in its own font.
TEST(Painter, AFullGraphDrawsEveryPartInItsFont)
{
    const auto d = maximalGraph();
    Painted p(*d);
    expectCleanBookkeeping(p.dc);

    const auto boxes = p.dc.callsOf("Rectangle");
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].args, (std::vector<int> { 50, 20, 700, 380 }));
    const auto lines = p.lines();
    for (const Line& axis : { Line { 50, 380, 700, 380, 3, black }, Line { 50, 20, 50, 380, 3, black } })
        EXPECT_NE(std::find(lines.begin(), lines.end(), axis), lines.end()) << axis;
    EXPECT_FALSE(p.ticks().empty());
    EXPECT_TRUE(p.hasTextContaining(" Curve"));
    // Three caption markers and 750 points.
    EXPECT_EQ(p.ellipses().size(), 3u + 750u);
    EXPECT_EQ(p.textsInFont("Helv").size(), 10u);
    EXPECT_FALSE(p.textsInFont("Times New Roman").empty());
    const auto titles = p.textsInFont("Arial");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].text, std::string(d->title, strnlen(d->title, sizeof d->title)));
}

TEST(Painter, DamagedDocumentsAreDrawnWithinBounds)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto d = std::make_unique<GraphDocument>();
    d->pointCount[0] = -7;
    d->pointCount[1] = 100000;
    d->pointCount[2] = 4;
    d->pixelX[2][0] = INT_MAX;
    d->pixelY[2][1] = nan;
    d->pixelY[2][2] = inf;
    d->pixelY[2][3] = 3e38f;
    for (int j = 0; j < kMaxPoints; ++j) {
        d->pixelX[1][j] = 60 + j;
        d->pixelY[1][j] = 100;
        d->valueY[1][j] = j % 2 ? nan : -inf;
    }
    d->yRangeSet = 1;
    d->yMin = -3e38f;
    d->yMax = 3e38f;
    d->yScale = 1e30f;
    d->percentError = nan;
    d->yTicks[3] = nan;
    d->xLabelCount = INT_MAX;
    d->labelSpacing = INT_MAX;
    d->divisionsPerLabel = INT_MIN;
    d->captionsPlaced = 1;
    d->captionBoxX = INT_MAX;
    d->captionBoxY = INT_MIN;
    // Texts without their terminators.
    std::memset(d->title, 'T', sizeof d->title);
    std::memset(d->captions, 'C', sizeof d->captions);
    std::memset(d->xLabels, 'L', sizeof d->xLabels);
    d->connectPoints = d->largePoints = d->labelPoints = d->showErrorBars = 1;

    Painted p(*d);
    expectCleanBookkeeping(p.dc);
    EXPECT_LT(p.dc.calls.size(), 6000u);
    for (const auto& c : p.dc.calls) {
        for (int v : c.args)
            EXPECT_LE(std::abs(static_cast<long long>(v)), 1'000'000) << c.op;
        EXPECT_LE(c.text.size(), 81u);
    }
    bool titleSeen = false;
    for (const auto& t : p.texts()) {
        if (!t.text.empty() && t.text[0] == 'T') {
            titleSeen = true;
            EXPECT_EQ(t.text, std::string(81, 'T'));
        }
    }
    EXPECT_TRUE(titleSeen);
    // The full curve is drawn as 250 points and counted as such.
    EXPECT_EQ(p.ellipses().size(), 250u);
    ASSERT_NE(p.textAt(370, 415), nullptr);
    EXPECT_EQ(p.textAt(370, 400), nullptr);
    ASSERT_NE(p.textAt(370, 430), nullptr);
}

// Where "%.1f" cannot tell the ten axis values apart, the fewest decimals
// (up to 6) that can, and as many more for value labels and statistics.
TEST(Painter, ASmallYRangeGetsTheDecimalsThatTellItsValuesApart)
{
    const struct {
        float min, max;
        const char* bottom; // yTicks[0] as written
        const char* label; // a point of value 0.0015
        const char* mean;
    } cases[] = {
        { 0, 90, "0.0", "0.0", "Mean = 0.00," }, { 0, 0.9f, "0.0", "0.0", "Mean = 0.00," },
        { -0.001f, 0.002f, "-0.0010", "0.0015", "Mean = 0.00150," },
        { 0.5f, 0.5000001f, "0.500000", "0.001500", "Mean = 0.0015000," }, // 6 is the most
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bottom);
        auto d = std::make_unique<GraphDocument>();
        d->yRangeSet = 1;
        d->yMin = c.min;
        d->yMax = c.max;
        computeYAxis(*d);
        d->labelPoints = 1;
        d->pointCount[0] = 1;
        d->pixelX[0][0] = 100;
        d->pixelY[0][0] = 200;
        d->valueY[0][0] = 0.0015f;
        Painted p(*d);
        const auto axis = p.textsInFont("Helv");
        ASSERT_EQ(axis.size(), 10u);
        EXPECT_EQ(axis[0].text, c.bottom);
        std::set<std::string> shown;
        for (const auto& t : axis)
            shown.insert(t.text);
        EXPECT_EQ(shown.size(), c.max - c.min > 1e-3f ? 10u : 1u);
        ASSERT_NE(p.textAt(120, 180), nullptr);
        EXPECT_EQ(p.textAt(120, 180)->text, c.label);
        EXPECT_TRUE(p.hasTextContaining(c.mean));
    }
}

// The title's glyphs are never cut at the client area's top edge: rendered
// with room above that edge, no ink of it lies above row 0.
TEST(Painter, TheTitleIsDrawnWhole)
{
    constexpr int room = 40;
    for (const char* title : { "Rainfall", "\xC9\xC5 (Jul) {Q}", "xyz", "" }) {
        SCOPED_TRACE(title);
        auto d = std::make_unique<GraphDocument>();
        std::strcpy(d->title, title);
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 750, 545 + room);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_translate(cr, 0, room);
        {
            TCairoDC dc(cr);
            paintGraph(dc, *d);
        }
        cairo_surface_flush(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        int top = -1;
        for (int y = 0; y < room + 20 && top < 0; ++y)
            for (int x = 100; x < 540 && top < 0; ++x)
                if ((*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xff) < 128)
                    top = y;
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        if (*title)
            EXPECT_GE(top, room);
        else
            EXPECT_EQ(top, -1);
    }
    // Where nothing reaches that high the title stays at its place.
    auto d = std::make_unique<GraphDocument>();
    std::strcpy(d->title, "xyz");
    Painted p(*d);
    EXPECT_EQ(p.textsInFont("Arial")[0].args, (std::vector<int> { 320, -6 }));
}

// The figure for reports and previews keeps the value labels of the last
// points inside its width; the page keeps them where the window has them.
TEST(Painter, TheFigureKeepsEveryValueLabelInsideItsWidth)
{
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, 0, 1000);
    d->labelPoints = 1;
    addPoint(*d, 0, 670, 987.5f);
    addPoint(*d, 0, 300, 500);
    int lastX[2] = {}, middleX[2] = {};
    for (int k : { 0, 1 }) {
        TRecordingDC dc;
        paintGraph(dc, *d, k ? PaintFor::figure : PaintFor::paper);
        for (const auto& t : dc.callsOf("TextOut")) {
            if (t.text.find("987.5") != std::string::npos)
                lastX[k] = t.args[0];
            if (t.text.find("500.0") != std::string::npos)
                middleX[k] = t.args[0];
        }
    }
    EXPECT_EQ(lastX[0], PlotArea::left + 670 + 20) << "the page is as it was";
    EXPECT_LT(lastX[1], lastX[0]);
    EXPECT_GT(lastX[1], lastX[0] - 40);
    EXPECT_EQ(middleX[1], middleX[0]);
}
