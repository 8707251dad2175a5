#pragma once
// Draws a graph as the window shows it (light grey background, then the
// painter) into a PNG, SVG or PDF file, chosen by the file's extension.
// Needs no display. The picture is made whole in memory and written by the
// one safe writer, so a failure never leaves a half-written or damaged file
// behind, and a replaced file keeps its owner, permissions and other names.

#include "document/GraphDocument.h"

#include <cairo.h>
#include <string>

// The page File, Print fills by default: A4 in points, with the toolkit's
// default margins.
inline constexpr double kPageWidth = 595.276;
inline constexpr double kPageHeight = 841.89;
inline constexpr double kPageMargin = 18;
inline constexpr int kMaxRenderScale = 8;
// The figure: the client area down to the row where the window's controls
// begin, which holds the title, the plot, its axes and the caption box.
inline constexpr int kFigureWidth = 742;
inline constexpr int kFigureHeight = 400;

struct RenderLayout {
    int width = 750, height = 545; // the picture in window pixels
    int scale = 1; // device pixels (or units) per window pixel
    bool page = false; // the printed A4 page instead of the window
    // The graph as printed (white paper and text backgrounds, no "X =" and
    // "Y =" and no default X scale), cut to the client area above the
    // controls: the picture for a report. Its size is fixed, so width and
    // height are not read.
    bool figure = false;
    // When above 0, a PNG preview of the figure for file managers: reduced
    // with filtering so its longer side has this many pixels, whatever the
    // file's extension. Width, height and scale are not read.
    int thumbnail = 0;
};
inline constexpr int kMaxThumbnailSize = 2048;

enum class PictureFormat { png, svg, pdf };

// Returns false and sets `error` to a message for the user when the file
// could not be written; the target is then untouched.
bool renderGraph(
    const GraphDocument& d, const std::string& path, std::string& error, int width = 750, int height = 545);
bool renderGraph(
    const GraphDocument& d, const std::string& path, std::string& error, const RenderLayout& layout);

// The same picture as a file of that format, in memory (for the clipboard).
// Returns false and sets `error` when it could not be drawn.
bool renderPicture(const GraphDocument& d, const RenderLayout& layout, PictureFormat format,
    std::string& bytes, std::string& error);

// The window's look on any cairo context: its light grey background, then
// the graph. The window and the rendered files both paint through this.
void paintWindowPicture(cairo_t* cr, const GraphDocument& d);
