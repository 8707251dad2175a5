// The window printout without a printer: its page method run on a recording
// and on an image the size of a page.

#include "drawing/Painter.h"
#include "drawing/TWindowPrintout.h"
#include "framework/dc/CairoDC.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/RecordingDC.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {
std::unique_ptr<GraphDocument> printedGraph()
{
    auto d = std::make_unique<GraphDocument>();
    d->yScale = 1.0f;
    addPoint(*d, 0, 100, 50);
    addPoint(*d, 0, 300, 120);
    return d;
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

    void print(const TWindowPrintout& printout)
    {
        cairo_t* cr = cairo_create(surface);
        {
            TCairoDC dc(cr);
            printout.printPage(dc,
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

TEST(WindowPrintout, PagePaintsThePrintingVariantAndHandsTheContextBack)
{
    auto d = printedGraph();
    TRecordingDC dc;
    TWindowPrintout(*d).printPage(dc, TSize { 2480, 3508 });

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
    EXPECT_EQ(dc.attributes().mapMode, TMapMode::text);
    EXPECT_EQ(dc.saveDepth(), 0);
    EXPECT_EQ(dc.liveObjectCount(), 0);
}

// The whole client-area layout, whatever the window's size, at one scale
// that fits the page, from its top left corner; nothing below the layout.
TEST(WindowPrintout, TheLayoutIsScaledToThePageAtItsTopLeft)
{
    auto d = printedGraph();
    struct Case {
        int pageWidth, pageHeight;
    };
    // Portrait A4 at 300 dpi (the width limits) and a short wide page (the height limits).
    for (const Case page : { Case { 2480, 3508 }, Case { 2480, 1000 } }) {
        SCOPED_TRACE(testing::Message() << page.pageWidth << " x " << page.pageHeight);
        const double s = std::min(page.pageWidth / 742.0, page.pageHeight / 499.0);
        PageImage image(page.pageWidth, page.pageHeight);
        image.print(TWindowPrintout(*d));

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
        EXPECT_TRUE(image.blankRows(static_cast<int>(std::ceil(499 * s)), page.pageHeight));
    }
}
