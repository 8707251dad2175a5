#include "drawing/RenderFile.h"

#include "document/CodePage.h"

#include "document/PlotArea.h"
#include "drawing/Painter.h"
#include "drawing/PngWriter.h"
#include "drawing/TWindowPrintout.h"
#include "files/FilePaths.h"
#include "files/SafeWriter.h"
#include "framework/dc/CairoDC.h"
#include "framework/dc/SvgDC.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Kind = PictureFormat;

std::string lowerExtension(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return ext;
}

// The picture is made in memory; the one safe writer puts it on disk.
struct Sink {
    std::string* memory;
};

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<Sink*>(closure)->memory->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// A PDF carries no date of its own making, so the same graph gives the same
// bytes; a reproducible build that sets SOURCE_DATE_EPOCH gets that date.
std::string pdfCreationDate()
{
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch)
        return {};
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(epoch, &end, 10);
    if (*end != '\0' || errno != 0 || seconds < 0 || seconds > 253402300799LL) // up to the year 9999
        return {};
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm utc {};
    if (!gmtime_r(&t, &utc))
        return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// The printed page, in points: white paper, the printable area inside the
// margins and the window printed into it as File, Print does, at a
// printer resolution of `dotsPerInch`.
void drawPage(cairo_t* cr, const GraphDocument& d, double dotsPerInch)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_translate(cr, kPageMargin, kPageMargin);
    cairo_scale(cr, 72 / dotsPerInch, 72 / dotsPerInch);
    const TSize pageSize { static_cast<int>(std::lround((kPageWidth - 2 * kPageMargin) * dotsPerInch / 72)),
        static_cast<int>(std::lround((kPageHeight - 2 * kPageMargin) * dotsPerInch / 72)) };
    TCairoDC dc(cr);
    TWindowPrintout(d).printPage(dc, pageSize);
}

// The graph as the printed page shows it, on white paper, at the window's
// own coordinates.
void drawFigure(cairo_t* cr, const GraphDocument& d)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    TCairoDC dc(cr);
    paintGraph(dc, d, PaintFor::figure);
}

// The figure drawn at the smallest whole scale that is at least the
// preview's size, then reduced with cairo's box filter, so thin lines turn
// lighter rather than vanishing and nothing is cut off.
cairo_surface_t* thumbnailImage(const GraphDocument& d, int side)
{
    const double ratio = static_cast<double>(side) / std::max(kFigureWidth, kFigureHeight);
    const int width = std::max(1, static_cast<int>(std::lround(kFigureWidth * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(kFigureHeight * ratio)));
    const int scale = std::clamp(static_cast<int>(std::ceil(ratio)), 1, kMaxRenderScale);
    cairo_surface_t* full
        = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kFigureWidth * scale, kFigureHeight * scale);
    cairo_surface_set_device_scale(full, scale, scale);
    cairo_t* cr = cairo_create(full);
    drawFigure(cr, d);
    cairo_destroy(cr);
    cairo_surface_flush(full);

    cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cr = cairo_create(small);
    cairo_scale(cr, static_cast<double>(width) / kFigureWidth, static_cast<double>(height) / kFigureHeight);
    cairo_set_source_surface(cr, full, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(full);
    cairo_surface_flush(small);
    return small;
}

std::string reasonOf(cairo_status_t status, const Sink&)
{
    if (status != CAIRO_STATUS_SUCCESS)
        return cairo_status_to_string(status);
    return {};
}

// Makes the whole file in memory; returns an empty text or the reason it failed.
std::string writeGraph(Kind kind, const GraphDocument& d, const RenderLayout& layout, Sink& sink)
{
    if (layout.thumbnail > 0) {
        cairo_surface_t* image = thumbnailImage(d, layout.thumbnail);
        cairo_status_t status = cairo_surface_status(image);
        if (status == CAIRO_STATUS_SUCCESS)
            status = writePng(image, writeChunk, &sink);
        cairo_surface_destroy(image);
        return reasonOf(status, sink);
    }
    const int scale = layout.scale;
    const double width = layout.page ? kPageWidth : layout.figure ? kFigureWidth : layout.width;
    const double height = layout.page ? kPageHeight : layout.figure ? kFigureHeight : layout.height;
    if (kind == Kind::svg) {
        // Our own SVG: texts stay texts, the size is in pixels (points for
        // the page), and a scale means nothing to a picture that scales itself.
        const bool page = layout.page;
        TSvgDC dc(static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)),
            layout.figure || page ? TRgb(255, 255, 255) : TRgb(192, 192, 192),
            page ? SvgPlacement { kPageMargin, kPageMargin, 72.0 / 600 } : SvgPlacement {});
        if (page)
            TWindowPrintout(d).printPage(dc,
                { static_cast<int>(std::lround((kPageWidth - 2 * kPageMargin) * 600 / 72)),
                    static_cast<int>(std::lround((kPageHeight - 2 * kPageMargin) * 600 / 72)) });
        else
            paintGraph(dc, d, layout.figure ? PaintFor::figure : PaintFor::screen);
        const std::string bytes = dc.document();
        return reasonOf(writeChunk(&sink, reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<unsigned>(bytes.size())),
            sink);
    }
    cairo_surface_t* surface = nullptr;
    switch (kind) {
    case Kind::png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::lround(width * scale)),
            static_cast<int>(std::lround(height * scale)));
        // The painter keeps its units; each becomes scale x scale pixels.
        cairo_surface_set_device_scale(surface, scale, scale);
        break;
    case Kind::svg:
        break;
    case Kind::pdf:
        surface = cairo_pdf_surface_create_for_stream(writeChunk, &sink, width * scale, height * scale);
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, pdfCreationDate().c_str());
        // A reader's title bar and a library's list show the graph's title.
        if (const std::string title = codePageToUtf8(std::string_view(d.title, strnlen(d.title, kTitleSize)));
            !title.empty())
            cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
        break;
    }
    cairo_status_t status = cairo_surface_status(surface);
    if (status == CAIRO_STATUS_SUCCESS) {
        cairo_t* cr = cairo_create(surface);
        if (kind != Kind::png)
            cairo_scale(cr, scale, scale);
        if (layout.figure)
            drawFigure(cr, d);
        else if (!layout.page)
            paintWindowPicture(cr, d);
        else
            // A picture prints at one dot per pixel; files that scale
            // themselves get a printer's finer grid.
            drawPage(cr, d, kind == Kind::png ? 72.0 * scale : 600.0);
        status = cairo_status(cr);
        cairo_destroy(cr);
    }
    if (status == CAIRO_STATUS_SUCCESS && kind == Kind::png) {
        cairo_surface_flush(surface);
        // A page is drawn in points, a 72nd of an inch, the rest in window pixels.
        const unsigned density = layout.page ? static_cast<unsigned>(std::lround(72.0 * scale / 0.0254))
                                             : pixelsPerMetreAt(scale);
        status = writePng(surface, writeChunk, &sink, 2, density);
    }
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    return reasonOf(status, sink);
}

// The size and scale a layout may ask for, or why not.
std::string layoutProblem(const RenderLayout& layout)
{
    const int width = layout.width, height = layout.height;
    constexpr int maxSide = 20000;
    if (layout.thumbnail != 0)
        return layout.thumbnail < 0 || layout.thumbnail > kMaxThumbnailSize ? "the preview size "
                + std::to_string(layout.thumbnail) + " is outside 1 .. " + std::to_string(kMaxThumbnailSize)
                                                                            : std::string();
    if (!layout.figure && (width < 1 || height < 1 || width > maxSide || height > maxSide))
        return "the picture size " + std::to_string(width) + " x " + std::to_string(height)
            + " is outside 1 .. " + std::to_string(maxSide);
    if (layout.scale < 1 || layout.scale > kMaxRenderScale)
        return "the scale " + std::to_string(layout.scale) + " is outside 1 .. "
            + std::to_string(kMaxRenderScale);
    if (layout.figure && layout.page)
        return "a picture is either the figure or the printed page";
    return {};
}

} // namespace

void paintWindowPicture(cairo_t* cr, const GraphDocument& d)
{
    cairo_set_source_rgb(cr, 192 / 255.0, 192 / 255.0, 192 / 255.0);
    cairo_paint(cr);
    TCairoDC dc(cr);
    paintGraph(dc, d);
}

bool renderGraph(const GraphDocument& d, const std::string& path, std::string& error, int width, int height)
{
    RenderLayout layout;
    layout.width = width;
    layout.height = height;
    return renderGraph(d, path, error, layout);
}

bool renderGraph(
    const GraphDocument& d, const std::string& path, std::string& error, const RenderLayout& layout)
{
    error.clear();
    auto fail = [&](const std::string& reason) {
        error = "Could not write \"" + path + "\": " + reason + ".";
        return false;
    };
    if (const std::string problem = layoutProblem(layout); !problem.empty())
        return fail(problem);
    if (path.empty())
        return fail("no file name given");

    const std::string ext = lowerExtension(path);
    Kind kind;
    if (ext == "png")
        kind = Kind::png;
    else if (ext == "svg")
        kind = Kind::svg;
    else if (ext == "pdf")
        kind = Kind::pdf;
    else if (layout.thumbnail > 0)
        kind = Kind::png; // file managers choose names of their own
    else
        return fail("the file name must end in .png, .svg or .pdf");

    // Drawn whole before anything is written, then written as every file
    // is: replacing the old one only once complete, keeping its owner,
    // permissions and other names. A file manager's thumbnail service hands
    // over a file it holds open and reads afterwards: that file is written
    // where it stands.
    std::string bytes;
    Sink sink { &bytes };
    if (std::string reason = writeGraph(kind, d, layout, sink); !reason.empty())
        return fail(reason);
    if (std::string reason = writeFileSafely(path, reinterpret_cast<const std::uint8_t*>(bytes.data()),
            bytes.size(), { .inPlace = layout.thumbnail > 0 });
        !reason.empty())
        return fail(reason);
    return true;
}

bool renderPicture(const GraphDocument& d, const RenderLayout& layout, PictureFormat format,
    std::string& bytes, std::string& error)
{
    bytes.clear();
    error = layoutProblem(layout);
    if (!error.empty())
        return false;
    Sink sink { &bytes };
    error = writeGraph(format, d, layout, sink);
    if (!error.empty())
        bytes.clear();
    return error.empty();
}
