// The cairo context checked pixel by pixel on image surfaces, with no
// display: the line, box and ellipse rules, text cells, mapping and clipping,
// and the painter's frame, axes, ticks and markers where the layout puts them.
// Each shape test runs both ways of drawing: straight into the pixels, and
// through cairo (forced by a clip that is not one rectangle).

#include "framework/dc/CairoDC.h"
#include "drawing/Painter.h"
#include "tests/support/GraphSamples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr TColor black = TRgb(0, 0, 0);
constexpr TColor white = TRgb(255, 255, 255);
constexpr TColor red = TRgb(255, 0, 0);
constexpr TColor windowGrey = TRgb(192, 192, 192);
constexpr TColor paper = TRgb(10, 20, 30); // background no drawing uses

class Canvas {
public:
    Canvas(int w, int h, TColor background = paper, cairo_format_t format = CAIRO_FORMAT_RGB24)
        : surface(cairo_image_surface_create(format, w, h))
        , cr(cairo_create(surface))
    {
        cairo_set_source_rgb(cr, background.r / 255.0, background.g / 255.0, background.b / 255.0);
        cairo_paint(cr);
    }
    ~Canvas()
    {
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Keeps the bottom right pixel out of reach: a clip of more than one
    // rectangle, which the context leaves to cairo, shapes and all.
    void forceCairoPath()
    {
        cairo_rectangle(cr, 0, 0, width(), height() - 1);
        cairo_rectangle(cr, 0, height() - 1, width() - 1, 1);
        cairo_clip(cr);
    }

    int width() const { return cairo_image_surface_get_width(surface); }
    int height() const { return cairo_image_surface_get_height(surface); }
    std::uint32_t raw(int x, int y) const
    {
        cairo_surface_flush(surface);
        const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
        return reinterpret_cast<const std::uint32_t*>(row)[x];
    }
    TColor at(int x, int y) const
    {
        const std::uint32_t p = raw(x, y);
        return TRgb((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The pixels of colour c inside the rectangle, as (x, y) pairs.
    std::set<std::pair<int, int>> pixelsOf(TColor c, int x0, int y0, int x1, int y1) const
    {
        std::set<std::pair<int, int>> out;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (at(x, y) == c)
                    out.insert({ x, y });
        return out;
    }

    cairo_surface_t* surface;
    cairo_t* cr;
};

std::set<std::pair<int, int>> box(int x0, int y0, int x1, int y1)
{
    std::set<std::pair<int, int>> out;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            out.insert({ x, y });
    return out;
}

class BothPaths : public ::testing::TestWithParam<bool> {
protected:
    void prepare(Canvas& c)
    {
        if (GetParam())
            c.forceCairoPath();
    }
    void expectPath(const TCairoDC& dc) { EXPECT_EQ(dc.drawsDirectly(), !GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(CairoDC, BothPaths, ::testing::Values(false, true),
    [](const auto& path) { return path.param ? "ThroughCairo" : "Direct"; });

} // namespace

TEST_P(BothPaths, ThinLinesLeaveOutTheirEndPoint)
{
    Canvas c(60, 40);
    prepare(c);
    {
        TCairoDC dc(c.cr);
        expectPath(dc);
        dc.MoveToEx(5, 5);
        dc.LineTo(15, 5); // right
        dc.MoveToEx(20, 12);
        dc.LineTo(20, 4); // up
        dc.MoveToEx(30, 10);
        dc.LineTo(35, 15); // diagonal
        dc.MoveToEx(40, 10);
        dc.LineTo(40, 10); // nothing
    }
    auto expected = box(5, 5, 15, 6);
    for (int y = 5; y <= 12; ++y)
        expected.insert({ 20, y });
    for (int i = 0; i < 5; ++i)
        expected.insert({ 30 + i, 10 + i });
    EXPECT_EQ(c.pixelsOf(black, 0, 0, 60, 40), expected);
}

TEST_P(BothPaths, ThickLinesRunCentreToCentreWithRoundEnds)
{
    Canvas c(40, 40);
    prepare(c);
    {
        TCairoDC dc(c.cr);
        dc.SelectObject(dc.CreatePen(3, red));
        dc.MoveToEx(10, 11);
        dc.LineTo(10, 17);
    }
    // Three columns wide, one row beyond each end.
    EXPECT_EQ(c.pixelsOf(red, 0, 0, 40, 40), box(9, 10, 12, 19));
}

TEST_P(BothPaths, RectangleOutlinesItsOuterPixelsAndFillsWhite)
{
    Canvas c(40, 30);
    prepare(c);
    {
        TCairoDC dc(c.cr);
        dc.Rectangle(5, 3, 15, 10);
        dc.Rectangle(20, 20, 20, 25); // empty: nothing
    }
    auto outline = box(5, 3, 15, 10);
    for (const auto& p : box(6, 4, 14, 9))
        outline.erase(p);
    EXPECT_EQ(c.pixelsOf(black, 0, 0, 40, 30), outline);
    EXPECT_EQ(c.pixelsOf(white, 0, 0, 40, 30), box(6, 4, 14, 9));
}

TEST_P(BothPaths, MarkersAreRingsInsideTheirBoxes)
{
    Canvas c(60, 30);
    prepare(c);
    {
        TCairoDC dc(c.cr);
        dc.SelectObject(dc.CreatePen(1, red));
        dc.Ellipse(8, 8, 12, 12); // small marker of a point at (10, 10)
        dc.Ellipse(26, 6, 34, 14); // large marker of a point at (30, 10)
        dc.SelectObject(dc.CreatePen(3, red));
        dc.Ellipse(47, 7, 53, 13); // caption marker at (50, 10)
    }
    const std::set<std::pair<int, int>> smallRing
        = { { 8, 9 }, { 8, 10 }, { 11, 9 }, { 11, 10 }, { 9, 8 }, { 10, 8 }, { 9, 11 }, { 10, 11 } };
    EXPECT_EQ(c.pixelsOf(red, 0, 0, 20, 30), smallRing);
    EXPECT_EQ(c.pixelsOf(white, 0, 0, 20, 30), box(9, 9, 11, 11));
    // Large: inside rows and columns 26..33, every row and column touched.
    const auto large = c.pixelsOf(red, 20, 0, 40, 30);
    std::set<int> rows, cols;
    for (const auto& [x, y] : large) {
        rows.insert(y);
        cols.insert(x);
    }
    EXPECT_EQ(rows, (std::set<int> { 6, 7, 8, 9, 10, 11, 12, 13 }));
    EXPECT_EQ(cols, (std::set<int> { 26, 27, 28, 29, 30, 31, 32, 33 }));
    EXPECT_EQ(c.at(30, 10), white);
    EXPECT_EQ(c.at(26, 6), paper);
    // A 3-unit outline reaches one pixel beyond the box and leaves a white heart.
    EXPECT_EQ(c.pixelsOf(white, 40, 0, 60, 30), box(49, 9, 51, 11));
    EXPECT_EQ(c.at(46, 10), red);
    EXPECT_EQ(c.at(45, 10), paper);
}

TEST_P(BothPaths, IsotropicMappingUsesTheSmallerScaleAndClipsInLogicalUnits)
{
    Canvas c(100, 60);
    prepare(c);
    {
        TCairoDC dc(c.cr);
        dc.SaveDC();
        EXPECT_EQ(dc.SetMapMode(TMapMode::isotropic), TMapMode::text);
        TSize oldViewport, oldWindow;
        EXPECT_TRUE(dc.SetViewportExtEx(80, 60, &oldViewport));
        EXPECT_TRUE(dc.SetWindowExtEx(20, 10, &oldWindow));
        EXPECT_EQ(oldViewport, (TSize { 1, 1 }));
        EXPECT_EQ(oldWindow, (TSize { 1, 1 }));
        EXPECT_FALSE(dc.drawsDirectly());
        EXPECT_EQ(dc.IntersectClipRect(0, 0, 8, 20), TRegion::simple);
        dc.Rectangle(2, 2, 12, 6); // 4 device pixels a unit; cut at x = 32
        dc.RestoreDC(-1);
        expectPath(dc);
        dc.Rectangle(50, 50, 53, 53);
    }
    EXPECT_EQ(c.at(8, 12), black); // outline: 2 units' worth of pixels
    EXPECT_EQ(c.at(11, 12), black);
    EXPECT_EQ(c.at(12, 12), white);
    EXPECT_EQ(c.at(31, 12), white);
    EXPECT_EQ(c.at(32, 12), paper); // clipped
    EXPECT_EQ(c.at(20, 8), black);
    EXPECT_EQ(c.at(20, 7), paper);
    // Back at 1:1 after the restore.
    EXPECT_EQ(c.pixelsOf(white, 45, 45, 60, 60), box(51, 51, 52, 52));
}

TEST(CairoDC, HandsTheCallersContextBackAndHonoursItsTranslation)
{
    Canvas c(40, 40);
    cairo_translate(c.cr, 10, 5);
    {
        TCairoDC dc(c.cr);
        EXPECT_TRUE(dc.drawsDirectly());
        dc.SaveDC();
        dc.SaveDC(); // never restored
        dc.SetMapMode(TMapMode::anisotropic);
        dc.SetViewportExtEx(3, 3);
        dc.RestoreDC(1);
        dc.Rectangle(0, 0, 3, 3);
        dc.SaveDC();
    }
    EXPECT_EQ(c.at(10, 5), black);
    EXPECT_EQ(c.at(11, 6), white);
    EXPECT_EQ(c.at(9, 5), paper);
    cairo_matrix_t m;
    cairo_get_matrix(c.cr, &m);
    EXPECT_EQ(m.x0, 10);
    EXPECT_EQ(m.y0, 5);
    EXPECT_EQ(m.xx, 1);
    EXPECT_EQ(cairo_get_antialias(c.cr), CAIRO_ANTIALIAS_DEFAULT);
}

TEST(CairoDC, DrawsOpaquePixelsOnTransparentSurfaces)
{
    Canvas c(20, 20, paper, CAIRO_FORMAT_ARGB32);
    cairo_set_operator(c.cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(c.cr);
    cairo_set_operator(c.cr, CAIRO_OPERATOR_OVER);
    {
        TCairoDC dc(c.cr);
        dc.Rectangle(2, 2, 10, 10);
        dc.TextOut(2, 11, "Ag");
    }
    EXPECT_EQ(c.raw(2, 2), 0xFF000000u);
    EXPECT_EQ(c.raw(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(c.raw(15, 5), 0u);
    EXPECT_EQ(c.raw(2, 11) >> 24, 0xFFu); // the text cell is opaque
}

TEST(CairoDC, TextFillsItsCellAndFontsMatchTheirCellHeights)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    Canvas c(200, 80);
    TSize cell;
    {
        TCairoDC dc(c.cr);
        EXPECT_EQ(dc.GetTextExtentPoint("Mg").cy, 16); // the default font's cell
        dc.SetBkColor(white);
        dc.SetTextColor(black);
        dc.SetTextAlign(6);
        cell = dc.GetTextExtentPoint("Mean");
        dc.TextOut(100, 20, "Mean");
    }
    const int left = 100 - cell.cx / 2;
    ASSERT_GT(cell.cx, 20);
    // Cell corners white, glyphs dark inside, nothing outside the cell.
    EXPECT_EQ(c.at(left, 20), white);
    EXPECT_EQ(c.at(left + cell.cx - 1, 20 + cell.cy - 1), white);
    EXPECT_EQ(c.at(left - 1, 25), paper);
    EXPECT_EQ(c.at(left + cell.cx, 25), paper);
    EXPECT_EQ(c.at(110, 19), paper);
    EXPECT_EQ(c.at(110, 20 + cell.cy), paper);
    int dark = 0;
    for (int y = 20; y < 20 + cell.cy; ++y)
        for (int x = left; x < left + cell.cx; ++x)
            dark += c.at(x, y).g < 100;
    EXPECT_GT(dark, 20);

    Canvas scratch(10, 10);
    TCairoDC dc(scratch.cr);
    auto extent = [&dc](int height, int width, int weight, const char* face, std::string_view text) {
        TLogFont f;
        f.height = height;
        f.width = width;
        f.weight = weight;
        std::strncpy(f.faceName, face, sizeof f.faceName - 1);
        const THandle h = dc.CreateFontIndirect(f);
        const THandle old = dc.SelectObject(h);
        const TSize s = dc.GetTextExtentPoint(text);
        dc.SelectObject(old);
        dc.DeleteObject(h);
        return s;
    };
    for (int height : { 8, 10, 16, 30 })
        EXPECT_EQ(extent(height, 0, 400, "Arial", "Xy").cy, height);
    // The old face names land on the same faces.
    const TSize arial = extent(30, 0, 400, "Arial", "Statistics");
    EXPECT_EQ(extent(30, 0, 400, "Helv", "Statistics"), arial);
    EXPECT_EQ(extent(30, 0, 400, "MS Sans Serif", "Statistics"), arial);
    EXPECT_NE(extent(30, 0, 400, "Times New Roman", "Statistics").cx, arial.cx);
    // Weight 1000 is bold; a width stretches the glyphs in proportion.
    EXPECT_GT(extent(30, 0, 1000, "Arial", "Statistics").cx, arial.cx);
    const int narrow = extent(20, 10, 400, "Arial", "Statistics").cx;
    const int wide = extent(20, 20, 400, "Arial", "Statistics").cx;
    EXPECT_NEAR(wide, 2 * narrow, 2);
    // Control characters keep to one line; high bytes are Western characters.
    EXPECT_EQ(extent(16, 0, 400, "Arial", "a\nb\tc").cy, 16);
    EXPECT_GT(extent(16, 0, 400, "Arial", "caf\xE9 \x80").cx, 0);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST(CairoDC, PainterPutsFrameAxesTicksAndMarkersOnTheirPixels)
{
    auto d = std::make_unique<GraphDocument>();
    setYRange(*d, 0, 10);
    setXLabels(*d, 5, 4);
    d->pointCount[0] = 1;
    d->pixelX[0][0] = 300;
    d->pixelY[0][0] = 200.25f;
    Canvas c(750, 545, windowGrey);
    {
        TCairoDC dc(c.cr);
        paintGraph(dc, *d);
    }
    // Frame: one black pixel wide, white inside, window grey outside.
    EXPECT_EQ(c.at(100, 20), black);
    EXPECT_EQ(c.at(100, 21), white);
    EXPECT_EQ(c.at(100, 19), windowGrey);
    EXPECT_EQ(c.at(699, 100), black);
    EXPECT_EQ(c.at(698, 100), white);
    EXPECT_EQ(c.at(700, 100), windowGrey);
    // Axes three pixels thick, centred on row 380 and column 50.
    for (int y : { 379, 380, 381 })
        EXPECT_EQ(c.at(305, y), black) << y;
    EXPECT_EQ(c.at(305, 378), white);
    EXPECT_EQ(c.at(305, 382), windowGrey);
    for (int x : { 49, 50, 51 })
        EXPECT_EQ(c.at(x, 200), black) << x;
    EXPECT_EQ(c.at(52, 200), white);
    EXPECT_EQ(c.at(48, 200), windowGrey);
    // Major tick at 170: columns 169..171 from row 370 down into the axis.
    EXPECT_EQ(c.pixelsOf(black, 165, 360, 176, 379), box(169, 370, 172, 379));
    // Minor tick at 80: one column, rows 374 to the axis.
    EXPECT_EQ(c.pixelsOf(black, 75, 360, 86, 379), box(80, 374, 81, 379));
    // The point's small marker: a red ring round a white heart.
    const std::set<std::pair<int, int>> ring = { { 298, 199 }, { 298, 200 }, { 301, 199 }, { 301, 200 },
        { 299, 198 }, { 300, 198 }, { 299, 201 }, { 300, 201 } };
    EXPECT_EQ(c.pixelsOf(red, 290, 190, 310, 210), ring);
}

TEST(CairoDC, BothWaysOfDrawingAgreeOnTheLargestGraph)
{
    const auto d = maximalGraph();
    Canvas direct(750, 545, windowGrey);
    Canvas throughCairo(750, 545, windowGrey);
    throughCairo.forceCairoPath();
    {
        TCairoDC a(direct.cr);
        TCairoDC b(throughCairo.cr);
        ASSERT_TRUE(a.drawsDirectly());
        ASSERT_FALSE(b.drawsDirectly());
        paintGraph(a, *d);
        paintGraph(b, *d);
    }
    int differ = 0, farApart = 0;
    for (int y = 0; y < 545; ++y)
        for (int x = 0; x < 750; ++x) {
            const TColor p = direct.at(x, y), q = throughCairo.at(x, y);
            if (p != q) {
                ++differ;
                farApart += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 96;
            }
        }
    // A pixel where a rounding falls the other way, here and there, at most.
    EXPECT_LT(differ, 40);
    EXPECT_LT(farApart, 10);
}
