#pragma once
// Draws a graph as the window shows it (light grey background, then the
// painter) into a PNG, SVG or PDF file, chosen by the file's extension.
// Needs no display. The file is written under a temporary name in the same
// folder and renamed into place only when complete, so a failure never
// leaves a half-written or damaged file behind.

#include "document/GraphDocument.h"

#include <cairo.h>
#include <string>

// The page File, Print fills by default: A4 in points, with the toolkit's
// default margins.
inline constexpr double kPageWidth = 595.276;
inline constexpr double kPageHeight = 841.89;
inline constexpr double kPageMargin = 18;
inline constexpr int kMaxRenderScale = 8;

struct RenderLayout {
    int width = 750, height = 545; // the picture in window pixels
    int scale = 1; // device pixels (or units) per window pixel
    bool page = false; // the printed A4 page instead of the window
};

// Returns false and sets `error` to a message for the user when the file
// could not be written; the target is then untouched.
bool renderGraph(const GraphDocument& d, const std::string& path, std::string& error,
                 int width = 750, int height = 545);
bool renderGraph(
    const GraphDocument& d, const std::string& path, std::string& error, const RenderLayout& layout);

// The window's look on any cairo context: its light grey background, then
// the graph. The window and the rendered files both paint through this.
void paintWindowPicture(cairo_t* cr, const GraphDocument& d);
