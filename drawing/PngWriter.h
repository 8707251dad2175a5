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
// was the fastest on the largest graph, and smaller than 1.
cairo_status_t writePng(cairo_surface_t* image, cairo_write_func_t write, void* closure, int level = 2);
