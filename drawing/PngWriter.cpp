#include "drawing/PngWriter.h"

#include <libdeflate.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {
void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(v >> shift));
}

// One chunk: length, type, data and the checksum over type and data.
void putChunk(
    std::vector<unsigned char>& out, const char* type, const unsigned char* data, std::size_t length)
{
    put32(out, static_cast<std::uint32_t>(length));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + length);
    put32(out, libdeflate_crc32(0, out.data() + typeAt, length + 4));
}

constexpr unsigned char signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
// Buffers up to this size (a graph at three times its size) are kept.
constexpr std::size_t keptBytes = 16 << 20;

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A compressor holds large match tables; a batch render keeps one.
libdeflate_compressor* compressor(int level)
{
    thread_local std::unique_ptr<libdeflate_compressor, CompressorDeleter> kept;
    thread_local int keptLevel = 0;
    if (!kept || keptLevel != level) {
        kept.reset(libdeflate_alloc_compressor(level));
        keptLevel = level;
    }
    return kept.get();
}
} // namespace

cairo_status_t writePng(
    cairo_surface_t* image, cairo_write_func_t write, void* closure, int level, unsigned pixelsPerMetre)
{
    cairo_surface_flush(image);
    const cairo_format_t format = cairo_image_surface_get_format(image);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return CAIRO_STATUS_INVALID_FORMAT;
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    const int stride = cairo_image_surface_get_stride(image);
    const unsigned char* pixels = cairo_image_surface_get_data(image);
    if (!pixels || width <= 0 || height <= 0)
        return CAIRO_STATUS_INVALID_SIZE;

    // The rows as the format stores them: a filter byte, then red, green and
    // blue of each pixel (cairo keeps a pixel as a native 32-bit word).
    const std::size_t rowBytes = 1 + static_cast<std::size_t>(width) * 3;
    // Kept between calls: fresh buffers this large would each cost the
    // system's zeroing of new pages, as much as the encoding itself.
    thread_local std::vector<unsigned char> raw, packed;
    raw.resize(rowBytes * height);
    for (int y = 0; y < height; ++y) {
        const auto* from
            = reinterpret_cast<const std::uint32_t*>(pixels + static_cast<std::ptrdiff_t>(y) * stride);
        unsigned char* to = raw.data() + rowBytes * y;
        *to++ = 0; // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = from[x];
            *to++ = static_cast<unsigned char>(p >> 16);
            *to++ = static_cast<unsigned char>(p >> 8);
            *to++ = static_cast<unsigned char>(p);
        }
    }

    libdeflate_compressor* packer = compressor(level);
    if (!packer)
        return CAIRO_STATUS_NO_MEMORY;
    packed.resize(libdeflate_zlib_compress_bound(packer, raw.size()));
    const std::size_t packedSize
        = libdeflate_zlib_compress(packer, raw.data(), raw.size(), packed.data(), packed.size());
    if (packedSize == 0)
        return CAIRO_STATUS_NO_MEMORY;

    std::vector<unsigned char> head(signature, signature + 8), header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    // 8 bits a sample, RGB, deflate, adaptive filtering, no interlace.
    header.insert(header.end(), { 8, 2, 0, 0, 0 });
    putChunk(head, "IHDR", header.data(), header.size());
    if (pixelsPerMetre > 0) {
        std::vector<unsigned char> density;
        put32(density, pixelsPerMetre);
        put32(density, pixelsPerMetre);
        density.push_back(1); // per metre
        putChunk(head, "pHYs", density.data(), density.size());
    }
    // The picture's chunk is written around the packed bytes, not copied.
    put32(head, static_cast<std::uint32_t>(packedSize));
    head.insert(head.end(), { 'I', 'D', 'A', 'T' });
    std::vector<unsigned char> tail;
    put32(tail, libdeflate_crc32(libdeflate_crc32(0, "IDAT", 4), packed.data(), packedSize));
    putChunk(tail, "IEND", nullptr, 0);
    cairo_status_t status = write(closure, head.data(), static_cast<unsigned>(head.size()));
    if (status == CAIRO_STATUS_SUCCESS)
        status = write(closure, packed.data(), static_cast<unsigned>(packedSize));
    if (status == CAIRO_STATUS_SUCCESS)
        status = write(closure, tail.data(), static_cast<unsigned>(tail.size()));
    // A picture far larger than a graph on screen does not keep its buffers.
    if (raw.capacity() > keptBytes) {
        std::vector<unsigned char>().swap(raw);
        std::vector<unsigned char>().swap(packed);
    }
    return status;
}
