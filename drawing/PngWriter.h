#pragma once
// Writes a 24-bit cairo image as a PNG through a write function, tuned for
// graphs: large flat areas and thin lines compress nearly as well with a
// fast level of a whole-buffer deflate and no row filter as with the usual
// encoder's slow defaults, at a fraction of the time. On a graph's pixels no
// filter is faster than Sub, the usual choice for flat images, and than Up,
// and about as small (measured with bench/PaintBench: encodePng).

#include <cairo.h>

// The image must be CAIRO_FORMAT_RGB24 or ARGB32 (alpha is dropped: the
// graph is opaque). Returns the first failure of `write`, or another error
// status when the encoder fails. `level` is the deflate effort, 1 to 12; 2
// was the fastest on the largest graph, and smaller than 1. A resolution
// above 0 is recorded (a pHYs chunk), so an office program places the
// picture at its size however many pixels it has.
cairo_status_t writePng(cairo_surface_t* image, cairo_write_func_t write, void* closure, int level = 2,
    unsigned pixelsPerMetre = 0);
// A window pixel is a 96th of an inch: the pixels per metre of a picture
// drawn at `scale` device pixels per window pixel.
constexpr unsigned pixelsPerMetreAt(int scale) { return static_cast<unsigned>(scale) * 3780u; }
