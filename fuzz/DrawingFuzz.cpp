// Arbitrary sequences of drawing calls with arbitrary arguments on the cairo
// context, straight into the pixels and through cairo, at 1:1 and scaled.
// No call may touch memory outside the image or leave the caller's context
// changed.
#include "framework/dc/CairoDC.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

class Reader {
public:
    Reader(const std::uint8_t* bytes, std::size_t count)
        : data(bytes)
        , size(count)
    {
    }
    bool more() const { return at < size; }
    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    int number()
    {
        // Mostly small values near the image, sometimes anything at all.
        const std::uint8_t kind = byte();
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | byte();
        if (kind & 1)
            return static_cast<int>(v);
        return static_cast<int>(v % 300) - 50;
    }
    std::string_view text()
    {
        const std::size_t n = std::min<std::size_t>(byte() % 40, size - at);
        std::string_view s(reinterpret_cast<const char*>(data + at), n);
        at += n;
        return s;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Reader in(data, size);
    static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 150);
    cairo_t* cr = cairo_create(surface);
    if (in.byte() & 1) { // a clip of two rectangles: everything through cairo
        cairo_rectangle(cr, 0, 0, 200, 149);
        cairo_rectangle(cr, 0, 149, 199, 1);
        cairo_clip(cr);
    }
    cairo_matrix_t before;
    cairo_get_matrix(cr, &before);
    {
        TCairoDC dc(cr);
        THandle made[8] = {};
        for (int step = 0; in.more() && step < 200; ++step) {
            switch (in.byte() % 16) {
            case 0:
                dc.SaveDC();
                break;
            case 1:
                dc.RestoreDC(in.number());
                break;
            case 2:
                made[step % 8] = dc.CreatePen(in.number() % 40, TRgb(in.byte(), in.byte(), in.byte()));
                break;
            case 3: {
                TLogFont f;
                f.height = in.number();
                f.width = in.number() % 500;
                f.weight = in.number();
                const std::string_view face = in.text();
                std::memcpy(f.faceName, face.data(), std::min(face.size(), sizeof f.faceName));
                made[step % 8] = dc.CreateFontIndirect(f);
                break;
            }
            case 4:
                dc.SelectObject(made[in.byte() % 8]);
                break;
            case 5:
                dc.DeleteObject(made[in.byte() % 8]);
                break;
            case 6:
                dc.Rectangle(in.number(), in.number(), in.number(), in.number());
                break;
            case 7:
                dc.Ellipse(in.number(), in.number(), in.number(), in.number());
                break;
            case 8:
                dc.MoveToEx(in.number(), in.number());
                break;
            case 9:
                dc.LineTo(in.number(), in.number());
                break;
            case 10: {
                const int x = in.number(), y = in.number();
                dc.TextOut(x, y, in.text());
                break;
            }
            case 11:
                dc.SetTextAlign(in.byte());
                break;
            case 12:
                dc.SetMapMode(in.byte() % 9);
                break;
            case 13:
                dc.SetViewportExtEx(in.number() % 1000, in.number() % 1000);
                break;
            case 14:
                dc.SetWindowExtEx(in.number(), in.number());
                break;
            case 15:
                dc.IntersectClipRect(in.number(), in.number(), in.number(), in.number());
                break;
            }
        }
    }
    cairo_matrix_t after;
    cairo_get_matrix(cr, &after);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "context broken: %s\n", cairo_status_to_string(cairo_status(cr)));
        std::abort();
    }
    if (std::memcmp(&before, &after, sizeof before) != 0) {
        std::fprintf(stderr, "matrix not handed back\n");
        std::abort();
    }
    cairo_destroy(cr);
    return 0;
}
