#pragma once
// Direct drawing into a 32-bit image buffer, for the cairo context's fast
// path when the target is an image at 1:1 with a rectangular clip. Every
// shape is filled by one rule: a pixel is painted when its centre lies in
// the shape (on a boundary: left and top edges in, right and bottom out),
// the same geometry the context hands to cairo on other targets.
// Coordinates are the context's logical units; `offsetX/Y` turn them into
// buffer pixels.

#include "framework/dc/TDC.h"

#include <cstdint>
#include <vector>

// An 8-bit coverage mask (a text's glyphs), kept as runs of non-zero
// coverage so that blending skips the empty space between glyphs.
struct TCoverage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> alpha; // row after row, `width` to a row
    struct Run {
        int row, column, length;
        std::size_t first; // index of the run's first value in alpha
    };
    std::vector<Run> runs;

    // Finds the runs once `alpha` is filled.
    void findRuns();
};

struct TPixelRaster {
    std::uint32_t* pixels = nullptr;
    int stride = 0; // in pixels
    int width = 0, height = 0;
    bool premultipliedAlpha = false; // ARGB32 rather than RGB24
    int offsetX = 0, offsetY = 0; // logical -> buffer pixels
    // Clip in buffer pixels, half-open.
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;

    // Pixels whose centres lie in [left, right) x [top, bottom).
    void fillBox(double left, double top, double right, double bottom, TColor c);
    void fillEllipse(double cx, double cy, double rx, double ry, TColor c);
    // The stroke of a segment: a band `band` wide along it, with round ends
    // when `roundEnds`, else ending square at the two points.
    void fillSegment(double x0, double y0, double x1, double y1, double band, bool roundEnds, TColor c);
    // Colour c through a coverage mask whose top left is at (x, y). Pixels
    // of the colour `under` (a text's own cell, mostly) are blended through
    // a table.
    void blendMask(const TCoverage& mask, int x, int y, TColor c, TColor under);

private:
    std::uint32_t blend(std::uint32_t d, std::uint32_t a, TColor c) const;
    // c over `under` at every coverage, for the colours last asked for.
    std::uint32_t table[256] = {};
    TColor tableColour, tableUnder;
    bool tableReady = false;

    // Paints the pixels of row `row` whose centres lie in [a, b).
    void span(int row, double a, double b, std::uint32_t value);
    std::uint32_t pixelValue(TColor c) const;
};
