#include "framework/dc/PixelRaster.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {
// First pixel whose centre is at or right of v: centre i + 0.5 >= v.
long firstCentreFrom(double v) { return static_cast<long>(std::ceil(v - 0.5)); }

// The rounding of an 8-bit product that image compositing uses.
inline std::uint32_t mul255(std::uint32_t a, std::uint32_t b)
{
    const std::uint32_t t = a * b + 0x80;
    return ((t >> 8) + t) >> 8;
}

constexpr double hugeExtent = 1e7; // beyond any buffer; keeps casts defined
double bounded(double v) { return std::clamp(v, -hugeExtent, hugeExtent); }
} // namespace

std::uint32_t TPixelRaster::pixelValue(TColor c) const
{
    return 0xFF000000u | (std::uint32_t(c.r) << 16) | (std::uint32_t(c.g) << 8) | c.b;
}

void TPixelRaster::span(int row, double a, double b, std::uint32_t value)
{
    const long y = static_cast<long>(row) + offsetY;
    if (y < clipTop || y >= clipBottom || !(a < b))
        return;
    long x0 = firstCentreFrom(bounded(a)) + offsetX;
    long x1 = firstCentreFrom(bounded(b)) + offsetX;
    x0 = std::max<long>(x0, clipLeft);
    x1 = std::min<long>(x1, clipRight);
    if (x0 >= x1)
        return;
    // wmemset is the C library's vectorised 32-bit fill.
    static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
    std::wmemset(reinterpret_cast<wchar_t*>(pixels + y * stride + x0), static_cast<wchar_t>(value),
        static_cast<std::size_t>(x1 - x0));
}

void TPixelRaster::fillBox(double left, double top, double right, double bottom, TColor c)
{
    const std::uint32_t value = pixelValue(c);
    const long r0 = std::max<long>(firstCentreFrom(bounded(top)), clipTop - offsetY);
    const long r1 = std::min<long>(firstCentreFrom(bounded(bottom)), clipBottom - offsetY);
    for (long row = r0; row < r1; ++row)
        span(static_cast<int>(row), left, right, value);
}

void TPixelRaster::fillEllipse(double cx, double cy, double rx, double ry, TColor c)
{
    if (!(rx > 0 && ry > 0))
        return;
    const std::uint32_t value = pixelValue(c);
    const long r0 = std::max<long>(firstCentreFrom(bounded(cy - ry)), clipTop - offsetY);
    const long r1 = std::min<long>(firstCentreFrom(bounded(cy + ry)), clipBottom - offsetY);
    for (long row = r0; row < r1; ++row) {
        const double dy = (row + 0.5 - cy) / ry;
        const double q = 1 - dy * dy;
        if (q <= 0)
            continue;
        const double half = rx * std::sqrt(q);
        span(static_cast<int>(row), cx - half, cx + half, value);
    }
}

void TPixelRaster::fillSegment(
    double x0, double y0, double x1, double y1, double band, bool roundEnds, TColor c)
{
    const double dx = x1 - x0, dy = y1 - y0;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || !(band > 0))
        return;
    const double h = band / 2;
    const double nx = -dy / length * h, ny = dx / length * h;
    const double qx[4] = { x0 + nx, x1 + nx, x1 - nx, x0 - nx };
    const double qy[4] = { y0 + ny, y1 + ny, y1 - ny, y0 - ny };
    double top = std::min({ qy[0], qy[1], qy[2], qy[3] });
    double bottom = std::max({ qy[0], qy[1], qy[2], qy[3] });
    if (roundEnds) {
        top = std::min({ top, y0 - h, y1 - h });
        bottom = std::max({ bottom, y0 + h, y1 + h });
    }
    const std::uint32_t value = pixelValue(c);
    const long r0 = std::max<long>(firstCentreFrom(bounded(top)), clipTop - offsetY);
    const long r1 = std::min<long>(firstCentreFrom(bounded(bottom)), clipBottom - offsetY);
    for (long row = r0; row < r1; ++row) {
        const double yc = row + 0.5;
        double a = INFINITY, b = -INFINITY;
        // The band is convex: where the row crosses it is one interval,
        // bounded by the crossings of its four edges.
        for (int e = 0; e < 4; ++e) {
            const int f = (e + 1) % 4;
            const double ya = qy[e], yb = qy[f];
            if ((yc < ya && yc < yb) || (yc > ya && yc > yb))
                continue;
            if (ya == yb) {
                a = std::min({ a, qx[e], qx[f] });
                b = std::max({ b, qx[e], qx[f] });
            } else {
                const double x = qx[e] + (yc - ya) / (yb - ya) * (qx[f] - qx[e]);
                a = std::min(a, x);
                b = std::max(b, x);
            }
        }
        // Round ends add a disc at each point; with them the whole stroke
        // is still convex, so the row is still one interval.
        if (roundEnds) {
            for (const auto& [px, py] : { std::pair { x0, y0 }, std::pair { x1, y1 } }) {
                const double ddy = yc - py;
                const double q = h * h - ddy * ddy;
                if (q > 0) {
                    const double half = std::sqrt(q);
                    a = std::min(a, px - half);
                    b = std::max(b, px + half);
                }
            }
        }
        span(static_cast<int>(row), a, b, value);
    }
}

std::uint32_t TPixelRaster::blend(std::uint32_t d, std::uint32_t a, TColor c) const
{
    const std::uint32_t inv = 255 - a;
    const std::uint32_t r = mul255(c.r, a) + mul255((d >> 16) & 0xFF, inv);
    const std::uint32_t g = mul255(c.g, a) + mul255((d >> 8) & 0xFF, inv);
    const std::uint32_t b = mul255(c.b, a) + mul255(d & 0xFF, inv);
    const std::uint32_t al = premultipliedAlpha ? a + mul255(d >> 24, inv) : 0xFF;
    return (al << 24) | (r << 16) | (g << 8) | b;
}

void TPixelRaster::blendMask(const TCoverage& mask, int x, int y, TColor c, TColor under)
{
    const std::uint32_t underValue = pixelValue(under);
    if (!tableReady || tableColour != c || tableUnder != under) {
        for (std::uint32_t a = 0; a < 256; ++a)
            table[a] = blend(underValue, a, c);
        tableColour = c;
        tableUnder = under;
        tableReady = true;
    }
    const long left = static_cast<long>(x) + offsetX;
    const long top = static_cast<long>(y) + offsetY;
    for (const TCoverage::Run& run : mask.runs) {
        const long row = top + run.row;
        if (row < clipTop || row >= clipBottom)
            continue;
        const long from = std::max<long>(left + run.column, clipLeft);
        const long to = std::min<long>(left + run.column + run.length, clipRight);
        const std::uint8_t* a = mask.alpha.data() + run.first - (left + run.column);
        std::uint32_t* p = pixels + row * stride;
        for (long i = from; i < to; ++i)
            p[i] = p[i] == underValue ? table[a[i]] : blend(p[i], a[i], c);
    }
}

void TCoverage::findRuns()
{
    runs.clear();
    for (int j = 0; j < height; ++j) {
        const std::uint8_t* row = alpha.data() + static_cast<std::size_t>(j) * width;
        for (int i = 0; i < width;) {
            if (row[i] == 0) {
                ++i;
                continue;
            }
            const int start = i;
            while (i < width && row[i] != 0)
                ++i;
            runs.push_back({ j, start, i - start, static_cast<std::size_t>(j) * width + start });
        }
    }
}
