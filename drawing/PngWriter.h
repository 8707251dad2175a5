#pragma once
// Writes a 24-bit cairo image as a PNG through a write function, tuned for
// graphs: large flat areas and thin lines compress nearly as well with a
// fast zlib level and one fixed filter as with the library's slow defaults,
// at a fraction of the time.

#include <cairo.h>

// The row filter. On a graph's pixels no filter at all is both faster and
// smaller than Sub, the usual choice for flat images (bench/PaintBench:
// encodePng); the other is kept for that comparison.
enum class PngFilter { none, sub };

// The image must be CAIRO_FORMAT_RGB24 or ARGB32 (alpha is dropped: the
// graph is opaque). Returns the first failure of `write`, or another error
// status when the encoder fails.
cairo_status_t writePng(
    cairo_surface_t* image, cairo_write_func_t write, void* closure, PngFilter filter = PngFilter::none);
