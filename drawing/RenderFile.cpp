#include "drawing/RenderFile.h"

#include "document/PlotArea.h"
#include "drawing/Painter.h"
#include "drawing/PngWriter.h"
#include "drawing/TWindowPrintout.h"
#include "files/FilePaths.h"
#include "framework/dc/CairoDC.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
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

// Into an open file, or into memory when there is no file.
struct Sink {
    FILE* file;
    int savedErrno = 0;
    std::string* memory = nullptr;
};

// The first failure is kept: some surfaces (PDF) go on, and even report
// success, after their stream has refused a write.
cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length)
{
    auto* sink = static_cast<Sink*>(closure);
    if (sink->savedErrno != 0)
        return CAIRO_STATUS_WRITE_ERROR;
    if (sink->memory) {
        sink->memory->append(reinterpret_cast<const char*>(data), length);
        return CAIRO_STATUS_SUCCESS;
    }
    if (std::fwrite(data, 1, length, sink->file) != length) {
        sink->savedErrno = errno != 0 ? errno : EIO;
        return CAIRO_STATUS_WRITE_ERROR;
    }
    return CAIRO_STATUS_SUCCESS;
}

// The SVG surface is collected here first, so its ids can be made the same
// from one render to the next before the file sees them.
cairo_status_t collectChunk(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Cairo names each SVG group after a counter shared by every surface the
// process has made, so the same graph drawn twice would differ. The graph's
// texts are drawn as glyph outlines, never as text, so "surface" followed by
// digits only ever occurs as such a name; they are renumbered by first use.
std::string stableSvgIds(const std::string& svg)
{
    static const std::string word = "surface";
    std::map<std::string, int> renamed;
    std::string out;
    out.reserve(svg.size());
    std::size_t from = 0;
    for (std::size_t at; (at = svg.find(word, from)) != std::string::npos;) {
        const std::size_t digits = at + word.size();
        std::size_t end = digits;
        while (end < svg.size() && svg[end] >= '0' && svg[end] <= '9')
            ++end;
        out.append(svg, from, digits - from);
        if (end > digits)
            out += std::to_string(
                renamed.emplace(svg.substr(digits, end - digits), int(renamed.size()) + 1).first->second);
        from = end;
    }
    out.append(svg, from, std::string::npos);
    return out;
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
    paintGraph(dc, d, PaintFor::paper);
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

// The stream's own failure comes first, whatever the surface says.
std::string reasonOf(cairo_status_t status, const Sink& sink)
{
    if (sink.savedErrno != 0)
        return std::strerror(sink.savedErrno);
    if (status != CAIRO_STATUS_SUCCESS)
        return cairo_status_to_string(status);
    return {};
}

// Writes the whole file to an open stream; returns an empty text or the reason it failed.
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
    cairo_surface_t* surface = nullptr;
    std::string svg;
    switch (kind) {
    case Kind::png:
        surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(std::lround(width * scale)),
            static_cast<int>(std::lround(height * scale)));
        // The painter keeps its units; each becomes scale x scale pixels.
        cairo_surface_set_device_scale(surface, scale, scale);
        break;
    case Kind::svg:
        surface = cairo_svg_surface_create_for_stream(collectChunk, &svg, width * scale, height * scale);
        break;
    case Kind::pdf:
        surface = cairo_pdf_surface_create_for_stream(writeChunk, &sink, width * scale, height * scale);
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, pdfCreationDate().c_str());
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
        status = writePng(surface, writeChunk, &sink);
    }
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS)
        status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (status == CAIRO_STATUS_SUCCESS && kind == Kind::svg) {
        const std::string stable = stableSvgIds(svg);
        status = writeChunk(&sink, reinterpret_cast<const unsigned char*>(stable.data()),
            static_cast<unsigned>(stable.size()));
    }
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

mode_t newFileMode()
{
    const mode_t mask = umask(022);
    umask(mask);
    return 0666 & ~mask;
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

    // Through a symbolic link the file it names is replaced, not the link.
    std::string target;
    int linkError = 0;
    if (!followLinks(path, target, linkError))
        return fail(std::strerror(linkError));
    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return fail(std::strerror(EISDIR));
    // Renaming over a pipe or a device would replace the node itself.
    if (exists && !S_ISREG(old.st_mode))
        return fail("it is not a regular file");
    // A file the user may not write stays as it is, even where the folder
    // would let a new file be renamed over it.
    if (exists && access(target.c_str(), W_OK) != 0)
        return fail(std::strerror(errno));

    // The temporary file sits beside the target, so the final rename stays
    // on one file system and replaces the target in one step.
    const std::string folder = folderOf(target) + "/";
    const std::string name = nameOf(target);
    // Cut so that a name at the file system's length limit still leaves room
    // for the dot and the random suffix.
    std::string temp = folder + "." + name.substr(0, 100) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return fail(std::strerror(errno));
    // A file that is replaced keeps its permissions; a new one gets the usual ones.
    fchmod(fd, exists ? old.st_mode & 07777 : newFileMode());
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int err = errno;
        close(fd);
        unlink(temp.c_str());
        return fail(std::strerror(err));
    }

    Sink sink { file };
    std::string reason = writeGraph(kind, d, layout, sink);
    if (reason.empty() && (std::fflush(file) != 0 || fsync(fileno(file)) != 0))
        reason = std::strerror(errno);
    if (reason.empty() && std::ferror(file))
        reason = std::strerror(EIO);
    if (std::fclose(file) != 0 && reason.empty())
        reason = std::strerror(errno);
    if (reason.empty() && std::rename(temp.c_str(), target.c_str()) != 0)
        reason = std::strerror(errno);
    if (!reason.empty()) {
        unlink(temp.c_str());
        return fail(reason);
    }
    return true;
}

bool renderPicture(const GraphDocument& d, const RenderLayout& layout, PictureFormat format,
    std::string& bytes, std::string& error)
{
    bytes.clear();
    error = layoutProblem(layout);
    if (!error.empty())
        return false;
    Sink sink { nullptr, 0, &bytes };
    error = writeGraph(format, d, layout, sink);
    if (!error.empty())
        bytes.clear();
    return error.empty();
}
