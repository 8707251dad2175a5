#pragma once
// Writes a 24-bit cairo image as a PNG through a write function, tuned for
// graphs: large flat areas and thin lines compress nearly as well with a
// fast level of a whole-buffer deflate and one fixed filter as with the
// usual encoder's slow defaults, at a fraction of the time.

#include <cairo.h>

// The row filter. On a graph's pixels no filter at all is faster than Sub,
// the usual choice for flat images, and than Up, and about as small
// (bench/PaintBench: encodePng); the others are kept for that comparison.
enum class PngFilter { none = 0, sub = 1, up = 2 };

// The image must be CAIRO_FORMAT_RGB24 or ARGB32 (alpha is dropped: the
// graph is opaque). Returns the first failure of `write`, or another error
// status when the encoder fails. `level` is the deflate effort, 1 to 12; 2
// was the fastest on the largest graph, and smaller than 1.
cairo_status_t writePng(cairo_surface_t* image, cairo_write_func_t write, void* closure,
    PngFilter filter = PngFilter::none, int level = 2);
