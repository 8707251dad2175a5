// The window printout without a printer: its page method run on a recording
// and on an image the size of a page.

#include "drawing/Painter.h"
#include "drawing/TWindowPrintout.h"
#include "framework/dc/CairoDC.h"
#include "tests/support/RecordingDC.h"
#include "tests/core/GraphSamples.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
// Stands in for the main window: a client area and the painter as its paint method.
struct FakeWindow : TPaintWindow {
    FakeWindow(const GraphDocument& d, int width, int height)
        : d(d)
        , client { 0, 0, width, height }
    {
    }
    TRect clientRect() const override { return client; }
    void paint(TDC& dc, bool erase, const TRect& rect) override
    {
        ++paints;
        erased = erase;
        painted = rect;
        paintGraph(dc, d);
    }
    const GraphDocument& d;
    TRect client;
    int paints = 0;
    bool erased = true;
    TRect painted;
};

std::unique_ptr<GraphDocument> printedGraph()
{
    auto d = std::make_unique<GraphDocument>();
    d->printing = 1;
    d->yScale = 1.0f;
    addPoint(*d, 0, 100, 50);
    addPoint(*d, 0, 300, 120);
    return d;
}

// Runs the page method as the printer object does: device, then page 1 with
// the whole printable area.
TRect printOnePage(TWindowPrintout& printout, TDC& dc, TSize page)
{
    printout.setPrintParams(&dc, page);
    TRect rect { 0, 0, page.cx, page.cy };
    printout.printPage(1, rect, 0);
    return rect;
}

class PageImage {
public:
    PageImage(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height))
    {
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    ~PageImage() { cairo_surface_destroy(surface); }
    PageImage(const PageImage&) = delete;
    PageImage& operator=(const PageImage&) = delete;

    void print(TWindowPrintout& printout)
    {
        cairo_t* cr = cairo_create(surface);
        {
            TCairoDC dc(cr);
            printOnePage(printout, dc,
                TSize { cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface) });
        }
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    TColor at(double x, double y) const
    {
        const int stride = cairo_image_surface_get_stride(surface);
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            cairo_image_surface_get_data(surface) + stride * static_cast<int>(y));
        const std::uint32_t p = row[static_cast<int>(x)];
        return TRgb((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    bool blackAt(double x, double y) const { return at(x, y) == TRgb(0, 0, 0); }
    // True when nothing at all was drawn in rows [top, bottom).
    bool blankRows(int top, int bottom) const
    {
        const int w = cairo_image_surface_get_width(surface);
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < w; ++x)
                if (at(x, y) != TRgb(255, 255, 255))
                    return false;
        return true;
    }

private:
    cairo_surface_t* surface;
};
} // namespace

TEST(WindowPrintout, OffersNoPageRangeAndHasOnlyPageOne)
{
    GraphDocument d;
    FakeWindow window(d, 750, 520);
    TWindowPrintout printout("", window);
    int range[4] = { 7, 7, 7, 7 };
    printout.getDialogInfo(range[0], range[1], range[2], range[3]);
    EXPECT_EQ(std::count(range, range + 4, 0), 4);
    EXPECT_TRUE(printout.hasPage(1));
    EXPECT_FALSE(printout.hasPage(0));
    EXPECT_FALSE(printout.hasPage(2));
    EXPECT_TRUE(printout.scaleToPage);
    EXPECT_EQ(printout.getTitle(), "");
}

TEST(WindowPrintout, MapsTheClientAreaOntoThePageAndRestoresTheMapping)
{
    auto d = printedGraph();
    FakeWindow window(*d, 750, 520);
    TWindowPrintout printout("", window);
    TRecordingDC dc;
    const TRect printed = printOnePage(printout, dc, TSize { 2480, 3508 });

    // The mapping comes first, exactly as the page method orders it.
    ASSERT_GE(dc.calls.size(), 5u);
    EXPECT_EQ(dc.calls[0].op, "SetMapMode");
    EXPECT_EQ(dc.calls[0].args, (std::vector<int> { TMapMode::isotropic }));
    EXPECT_EQ(dc.calls[1].op, "SetViewportExtEx");
    EXPECT_EQ(dc.calls[1].args, (std::vector<int> { 2480, 3508 }));
    EXPECT_EQ(dc.calls[2].op, "SetWindowExtEx");
    EXPECT_EQ(dc.calls[2].args, (std::vector<int> { 750, 520 }));
    EXPECT_EQ(dc.calls[3].op, "IntersectClipRect");
    EXPECT_EQ(dc.calls[3].args, (std::vector<int> { 0, 0, 750, 520 }));
    EXPECT_EQ(dc.calls[4].op, "DPtoLP");

    // The printed rectangle reaches the painter in window pixels: the width
    // is the limit (2480 / 750 < 3508 / 520), so the page is 750 wide.
    EXPECT_EQ(window.paints, 1);
    EXPECT_FALSE(window.erased);
    EXPECT_EQ(printed, (TRect { 0, 0, 750, 1061 }));
    EXPECT_EQ(window.painted, printed);

    // Window extent, viewport extent, then the mode come back, in that order.
    const std::size_t n = dc.calls.size();
    EXPECT_EQ(dc.calls[n - 3].op, "SetWindowExtEx");
    EXPECT_EQ(dc.calls[n - 3].args, (std::vector<int> { 1, 1 }));
    EXPECT_EQ(dc.calls[n - 2].op, "SetViewportExtEx");
    EXPECT_EQ(dc.calls[n - 2].args, (std::vector<int> { 1, 1 }));
    EXPECT_EQ(dc.calls[n - 1].op, "SetMapMode");
    EXPECT_EQ(dc.calls[n - 1].args, (std::vector<int> { TMapMode::text }));
    EXPECT_EQ(dc.attributes().mapMode, TMapMode::text);
    EXPECT_EQ(dc.saveDepth(), 0);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

TEST(WindowPrintout, PagePaintsThePrintingVariant)
{
    auto d = printedGraph();
    FakeWindow window(*d, 750, 520);
    TWindowPrintout printout("", window);
    TRecordingDC dc;
    printOnePage(printout, dc, TSize { 2480, 3508 });

    bool statistics = false;
    for (const TRecordedCall& c : dc.callsOf("TextOut")) {
        EXPECT_NE(c.text, "X =");
        EXPECT_NE(c.text, "Y =");
        if (c.text.rfind(" Curve 1:", 0) == 0) {
            statistics = true;
            EXPECT_EQ(c.args[0], 200);
            EXPECT_EQ(c.args[1], 400);
            EXPECT_EQ(c.bkColor, TRgb(255, 255, 255));
        }
        // No default X scale on paper: nothing is written on its row.
        EXPECT_NE(c.args[1], 385) << c.text;
    }
    EXPECT_TRUE(statistics);
}

TEST(WindowPrintout, GraphIsScaledToThePageAtItsTopLeft)
{
    auto d = printedGraph();
    FakeWindow window(*d, 750, 520);

    struct Case {
        int pageWidth, pageHeight;
    };
    // Portrait A4 at 300 dpi (the width limits) and a short wide page (the height limits).
    for (const Case page : { Case { 2480, 3508 }, Case { 2480, 1000 } }) {
        SCOPED_TRACE(testing::Message() << page.pageWidth << " x " << page.pageHeight);
        const double s = std::min(page.pageWidth / 750.0, page.pageHeight / 520.0);
        PageImage image(page.pageWidth, page.pageHeight);
        TWindowPrintout printout("", window);
        image.print(printout);

        const double row = 200.5 * s; // halfway down the plot box
        // The thick Y axis covers logical columns 49 to 51 around x = 50.
        EXPECT_TRUE(image.blackAt(50.5 * s, row));
        EXPECT_FALSE(image.blackAt(47.5 * s, row));
        // The frame's right edge is the last column of the box.
        EXPECT_TRUE(image.blackAt(699.5 * s, row));
        EXPECT_EQ(image.at(702.5 * s, row), TRgb(255, 255, 255));
        // Inside the box the page stays white; there is no window background.
        EXPECT_EQ(image.at(400.5 * s, 60.5 * s), TRgb(255, 255, 255));
        // The X axis at row 380.
        EXPECT_TRUE(image.blackAt(400.5 * s, 380.5 * s));
    }
}

TEST(WindowPrintout, OnlyTheClientAreaIsPrintedScaledUp)
{
    auto d = printedGraph();
    // A window only 300 pixels high: the box, the axis and the statistics
    // below that are cut off, and the rest fills the page width.
    FakeWindow window(*d, 750, 300);
    PageImage image(2480, 3508);
    TWindowPrintout printout("", window);
    image.print(printout);

    const double s = 2480 / 750.0;
    EXPECT_TRUE(image.blackAt(50.5 * s, 200.5 * s));
    EXPECT_TRUE(image.blankRows(static_cast<int>(std::ceil(300 * s)), 3508));

    // A narrow window prints larger: 400 pixels across fill the width.
    FakeWindow narrow(*d, 400, 520);
    PageImage wide(2480, 3508);
    TWindowPrintout narrowPrintout("", narrow);
    wide.print(narrowPrintout);
    const double t = 2480 / 400.0;
    EXPECT_TRUE(wide.blackAt(50.5 * t, 200.5 * t));
    EXPECT_TRUE(wide.blankRows(static_cast<int>(std::ceil(520 * t)), 3508));
}
