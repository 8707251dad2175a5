#include "drawing/PngWriter.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <vector>

namespace {
struct Output {
    cairo_write_func_t write;
    void* closure;
    cairo_status_t status = CAIRO_STATUS_SUCCESS;
};

void writeData(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Output*>(png_get_io_ptr(png));
    if (out->status == CAIRO_STATUS_SUCCESS)
        out->status = out->write(out->closure, data, static_cast<unsigned>(length));
    if (out->status != CAIRO_STATUS_SUCCESS)
        png_error(png, "write failed");
}

void flushData(png_structp) { }

// libpng reports errors by jumping back to the setjmp below.
void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) { }
} // namespace

cairo_status_t writePng(cairo_surface_t* image, cairo_write_func_t write, void* closure, PngFilter filter)
{
    cairo_surface_flush(image);
    const cairo_format_t format = cairo_image_surface_get_format(image);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return CAIRO_STATUS_INVALID_FORMAT;
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    unsigned char* pixels = cairo_image_surface_get_data(image);
    if (!pixels || width <= 0 || height <= 0)
        return CAIRO_STATUS_INVALID_SIZE;
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[y] = pixels + static_cast<std::ptrdiff_t>(y) * stride;

    Output out { write, closure };
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!png)
        return CAIRO_STATUS_NO_MEMORY;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return CAIRO_STATUS_NO_MEMORY;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return out.status != CAIRO_STATUS_SUCCESS ? out.status : CAIRO_STATUS_WRITE_ERROR;
    }
    png_set_write_fn(png, &out, writeData, flushData);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
        PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, filter == PngFilter::none ? PNG_FILTER_NONE : PNG_FILTER_SUB);
    png_write_info(png, info);
    // Cairo keeps a pixel as a native-endian 32-bit word: in memory blue,
    // green, red, unused on a little-endian machine, the reverse on a big one.
    if constexpr (std::endian::native == std::endian::little) {
        png_set_bgr(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(png, 0, PNG_FILLER_BEFORE);
    }
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out.status;
}
