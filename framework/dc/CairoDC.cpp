#include "framework/dc/CairoDC.h"

#include "framework/dc/CairoText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

TCairoDC::TCairoDC(cairo_t* context)
    : TDCBase(defaultLogFont())
    , cr(context)
{
    cairo_save(cr);
    cairo_get_matrix(cr, &deviceMatrix);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_new_path(cr);
    target = cairo_get_group_target(cr);
    checkDirectDrawing();
}

TCairoDC::~TCairoDC()
{
    beginCairo();
    // States saved and never restored would otherwise stay on the caller's context.
    for (int i = saveDepth(); i > 0; --i)
        cairo_restore(cr);
    cairo_restore(cr);
}

void TCairoDC::checkDirectDrawing()
{
    // On a raster target a pen is never narrower than one pixel, as a
    // printer's or screen's thinnest pen is not: scaled below one pixel per
    // unit (a page rendered at a low resolution), an outline would otherwise
    // fall between pixel centres and vanish.
    minHalfPen = 0;
    if (cairo_status(cr) == CAIRO_STATUS_SUCCESS
        && cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE) {
        double ux = 1, uy = 1, sx = 1, sy = 1;
        cairo_user_to_device_distance(cr, &ux, &uy);
        cairo_surface_get_device_scale(target, &sx, &sy);
        const double pixelsPerUnit = std::min(std::fabs(ux * sx), std::fabs(uy * sy));
        if (pixelsPerUnit > 0 && pixelsPerUnit < 1)
            minHalfPen = 0.5 / pixelsPerUnit;
    }
    direct = false;
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS
        || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE)
        return;
    const cairo_format_t format = cairo_image_surface_get_format(target);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
        return;
    if (cairo_get_operator(cr) != CAIRO_OPERATOR_OVER && cairo_get_operator(cr) != CAIRO_OPERATOR_SOURCE)
        return;
    double scaleX, scaleY, deviceX, deviceY;
    cairo_surface_get_device_scale(target, &scaleX, &scaleY);
    cairo_surface_get_device_offset(target, &deviceX, &deviceY);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    const double dx = m.x0 + deviceX, dy = m.y0 + deviceY;
    if (scaleX != 1 || scaleY != 1 || m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || dx != std::floor(dx)
        || dy != std::floor(dy) || std::fabs(dx) > 1e6 || std::fabs(dy) > 1e6)
        return;

    raster.pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(target));
    raster.stride = cairo_image_surface_get_stride(target) / 4;
    raster.width = cairo_image_surface_get_width(target);
    raster.height = cairo_image_surface_get_height(target);
    raster.premultipliedAlpha = format == CAIRO_FORMAT_ARGB32;
    raster.offsetX = static_cast<int>(dx);
    raster.offsetY = static_cast<int>(dy);
    if (!raster.pixels)
        return;

    // The clip must be one rectangle (or none) to be honoured pixel by pixel.
    raster.clipLeft = 0;
    raster.clipTop = 0;
    raster.clipRight = raster.width;
    raster.clipBottom = raster.height;
    cairo_rectangle_list_t* clips = cairo_copy_clip_rectangle_list(cr);
    bool usable = clips->status == CAIRO_STATUS_SUCCESS && clips->num_rectangles <= 1;
    if (usable && clips->num_rectangles == 1) {
        const cairo_rectangle_t& r = clips->rectangles[0];
        const double l = r.x + dx, t = r.y + dy, rr = l + r.width, b = t + r.height;
        usable = l == std::floor(l) && t == std::floor(t) && rr == std::floor(rr) && b == std::floor(b);
        if (usable) {
            raster.clipLeft = static_cast<int>(std::clamp<double>(l, 0, raster.width));
            raster.clipTop = static_cast<int>(std::clamp<double>(t, 0, raster.height));
            raster.clipRight = static_cast<int>(std::clamp<double>(rr, 0, raster.width));
            raster.clipBottom = static_cast<int>(std::clamp<double>(b, 0, raster.height));
        }
    } else if (usable) {
        // No rectangles: either everything is clipped away, or cairo did not
        // say; only the first is certain enough to act on.
        double x0, y0, x1, y1;
        cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
        usable = !(x1 > x0 && y1 > y0);
        raster.clipRight = raster.clipLeft;
    }
    cairo_rectangle_list_destroy(clips);
    direct = usable;
}

void TCairoDC::beginDirect()
{
    if (cairoPending) {
        cairo_surface_flush(target);
        // Tells cairo before the pixels change, too, so that any snapshot
        // it keeps of them (a pattern made from this image) is copied first.
        cairo_surface_mark_dirty(target);
        cairoPending = false;
    }
    pixelsChanged = true;
}

void TCairoDC::beginCairo()
{
    if (pixelsChanged) {
        cairo_surface_mark_dirty(target);
        pixelsChanged = false;
    }
    cairoPending = true;
}

void TCairoDC::stateSaved() { cairo_save(cr); }

void TCairoDC::stateRestored(int levels)
{
    for (int i = 0; i < levels; ++i)
        cairo_restore(cr);
    checkDirectDrawing();
}

void TCairoDC::mappingChanged()
{
    const TDCMapping m = mapping();
    cairo_set_matrix(cr, &deviceMatrix);
    cairo_scale(cr, m.scaleX, m.scaleY);
    checkDirectDrawing();
}

void TCairoDC::setSource(TColor c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// Cairo keeps coordinates in 24.8 fixed point and misbehaves (up to crashing)
// far beyond it, so nothing handed to it may reach past this many device
// units. What lies beyond is off any page anyway.
constexpr double cairoReach = 1 << 22;

TCairoDC::Area TCairoDC::visibleArea() const
{
    Area a;
    cairo_clip_extents(cr, &a.left, &a.top, &a.right, &a.bottom);
    // Room for round ends and outlines that start just outside.
    const double margin = 2 + currentPen().width;
    a.left -= margin, a.top -= margin, a.right += margin, a.bottom += margin;
    return a;
}

bool TCairoDC::withinReach(double left, double top, double right, double bottom) const
{
    const double xs[2] = { left, right }, ys[2] = { top, bottom };
    for (double x : xs)
        for (double y : ys) {
            double dx = x, dy = y;
            cairo_user_to_device(cr, &dx, &dy);
            if (!(std::fabs(dx) < cairoReach && std::fabs(dy) < cairoReach))
                return false;
        }
    return true;
}

void TCairoDC::fillBox(double left, double top, double right, double bottom, TColor c)
{
    if (!(left < right && top < bottom))
        return;
    if (direct) {
        beginDirect();
        raster.fillBox(left, top, right, bottom, c);
        return;
    }
    const Area v = visibleArea();
    left = std::max(left, v.left), top = std::max(top, v.top);
    right = std::min(right, v.right), bottom = std::min(bottom, v.bottom);
    if (!(left < right && top < bottom) || !withinReach(left, top, right, bottom))
        return;
    beginCairo();
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, right - left, bottom - top);
    setSource(c);
    cairo_fill(cr);
}

namespace {
// An ellipse as four Bezier quarters, without touching the context's matrix.
void ellipsePath(cairo_t* cr, double cx, double cy, double rx, double ry)
{
    constexpr double k = 0.5522847498307936; // 4/3 (sqrt 2 - 1)
    const double kx = k * rx, ky = k * ry;
    cairo_move_to(cr, cx + rx, cy);
    cairo_curve_to(cr, cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry);
    cairo_curve_to(cr, cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy);
    cairo_curve_to(cr, cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry);
    cairo_curve_to(cr, cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy);
    cairo_close_path(cr);
}
} // namespace

void TCairoDC::fillEllipse(double cx, double cy, double rx, double ry, TColor c)
{
    if (!(rx > 0 && ry > 0))
        return;
    if (direct) {
        beginDirect();
        raster.fillEllipse(cx, cy, rx, ry, c);
        return;
    }
    const Area v = visibleArea();
    if (cx + rx < v.left || cx - rx > v.right || cy + ry < v.top || cy - ry > v.bottom)
        return;
    // An ellipse too large for cairo's coordinates is left out.
    if (!withinReach(cx - rx, cy - ry, cx + rx, cy + ry))
        return;
    beginCairo();
    cairo_new_path(cr);
    ellipsePath(cr, cx, cy, rx, ry);
    setSource(c);
    cairo_fill(cr);
}

bool TCairoDC::Rectangle(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    if (right - static_cast<long>(left) < 1 || bottom - static_cast<long>(top) < 1)
        return true;
    // The outline is centred on the outermost pixels: paint its outer edge
    // in the pen colour, then the inside in white.
    const double h = std::max(currentPen().width / 2.0, minHalfPen);
    const double outL = left + 0.5 - h, outT = top + 0.5 - h, outR = right - 0.5 + h, outB = bottom - 0.5 + h;
    const double inL = left + 0.5 + h, inT = top + 0.5 + h, inR = right - 0.5 - h, inB = bottom - 0.5 - h;
    if (!(inL < inR && inT < inB)) {
        fillBox(outL, outT, outR, outB, currentPen().color);
        return true;
    }
    fillBox(inL, inT, inR, inB, TRgb(255, 255, 255));
    fillBox(outL, outT, outR, inT, currentPen().color);
    fillBox(outL, inB, outR, outB, currentPen().color);
    fillBox(outL, inT, inL, inB, currentPen().color);
    fillBox(inR, inT, outR, inB, currentPen().color);
    return true;
}

bool TCairoDC::Ellipse(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    TEllipse e;
    if (!ellipseIn(left, top, right, bottom, e))
        return true;
    const double h = currentPen().width / 2.0;
    fillEllipse(e.cx, e.cy, e.rx + h, e.ry + h, currentPen().color);
    fillEllipse(e.cx, e.cy, e.rx - h, e.ry - h, TRgb(255, 255, 255));
    return true;
}

namespace {
// Cuts the segment to the area; false when nothing of it is inside.
bool clipSegment(const TCairoDC::Area& a, double& x0, double& y0, double& x1, double& y1)
{
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0, t1 = 1;
    const double p[4] = { -dx, dx, -dy, dy };
    const double q[4] = { x0 - a.left, a.right - x0, y0 - a.top, a.bottom - y0 };
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (!(t0 <= t1))
        return false;
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
    x0 = nx0, y0 = ny0;
    return true;
}
} // namespace

bool TCairoDC::LineTo(int x, int y)
{
    const TPoint from = attributes().position;
    setPosition(TPoint { x, y });
    if (from == TPoint { x, y })
        return true;
    const int width = currentPen().width;
    double x0 = from.x + 0.5, y0 = from.y + 0.5;
    double x1 = x + 0.5, y1 = y + 0.5;
    const bool thin = width == 1;
    if (thin) {
        // A thin line covers the pixels from its start up to its end pixel,
        // which it leaves out: shift it back by half a pixel along its
        // direction, so both ends sit on pixel edges, not centres.
        const double dx = x1 - x0, dy = y1 - y0;
        const double len = std::hypot(dx, dy);
        const double ux = dx / len / 2, uy = dy / len / 2;
        x0 -= ux, y0 -= uy, x1 -= ux, y1 -= uy;
    }
    if (direct) {
        beginDirect();
        // Level and upright thin lines are plain boxes one pixel across.
        if (thin && y0 == y1)
            raster.fillBox(std::min(x0, x1), y0 - 0.5, std::max(x0, x1), y0 + 0.5, currentPen().color);
        else if (thin && x0 == x1)
            raster.fillBox(x0 - 0.5, std::min(y0, y1), x0 + 0.5, std::max(y0, y1), currentPen().color);
        else
            raster.fillSegment(x0, y0, x1, y1, width, !thin, currentPen().color);
        return true;
    }
    // Only the part of the line inside the visible area is handed to cairo.
    if (!clipSegment(visibleArea(), x0, y0, x1, y1)
        || !withinReach(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)))
        return true;
    beginCairo();
    cairo_new_path(cr);
    setSource(currentPen().color);
    if (thin) {
        // The band along the segment, ending square at both (shifted) points.
        const double dx = x1 - x0, dy = y1 - y0;
        const double len = std::hypot(dx, dy);
        const double half = std::max(0.5, minHalfPen);
        const double nx = -dy / len * half, ny = dx / len * half;
        cairo_move_to(cr, x0 + nx, y0 + ny);
        cairo_line_to(cr, x1 + nx, y1 + ny);
        cairo_line_to(cr, x1 - nx, y1 - ny);
        cairo_line_to(cr, x0 - nx, y0 - ny);
        cairo_close_path(cr);
        cairo_fill(cr);
        return true;
    }
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, std::max<double>(width, 2 * minHalfPen));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    return true;
}

const TCairoFont& TCairoDC::font()
{
    // Handles are never reused within a context, so the last one resolved
    // stays valid for as long as the same handle is current.
    TextEngine& engine = TextEngine::instance();
    if (!resolvedFont || fontHandle != attributes().font || fontGeneration != engine.generation()) {
        resolvedFont = &engine.font(currentFont().logFont);
        fontHandle = attributes().font;
        fontGeneration = engine.generation();
    }
    return *resolvedFont;
}

TSize TCairoDC::GetTextExtentPoint(std::string_view text)
{
    const TCairoFont& f = font();
    const CachedText& t = TextEngine::instance().text(f, text);
    return TSize { static_cast<int>(std::lround(t.width * f.stretch)), static_cast<int>(f.cell) };
}

int TCairoDC::GetTextInkTop(std::string_view text) { return TextEngine::instance().inkTop(font(), text); }

bool TCairoDC::TextOut(int x, int y, std::string_view text)
{
    if (text.empty())
        return true;
    TextEngine& engine = TextEngine::instance();
    const TCairoFont& f = font();
    CachedText& t = engine.text(f, text);
    const TDCAttributes& a = attributes();
    const auto [left, top, w, h] = textCell(f, t, a.textAlign, x, y);

    fillBox(left, top, left + w, top + h, a.bkColor);
    if (direct) {
        const CachedText& m = engine.withMask(f, t);
        if (!m.mask.runs.empty()) {
            beginDirect();
            raster.blendMask(m.mask, static_cast<int>(left + m.maskX), static_cast<int>(top + m.maskY),
                a.textColor, a.bkColor);
        }
        return true;
    }
    const Area v = visibleArea();
    if (left + w < v.left || left > v.right || top + h < v.top || top > v.bottom
        || !withinReach(static_cast<double>(left), static_cast<double>(top), static_cast<double>(left + w),
            static_cast<double>(top + h)))
        return true;
    // Text far larger than any page (a huge font, or a huge scale) has its
    // cell filled but no glyphs drawn.
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double scaleX, scaleY;
    cairo_surface_get_device_scale(target, &scaleX, &scaleY);
    const double deviceScale
        = std::max({ std::hypot(m.xx, m.yx) * scaleX, std::hypot(m.xy, m.yy) * scaleY, 1e-9 });
    const double glyphPixels = f.cellHeight * std::max(f.stretch, 1.0) * deviceScale;
    if (!(glyphPixels < TextEngine::maxGlyphPixels) || glyphPixels * 64 < 1)
        return true;
    beginCairo();
    cairo_save(cr);
    cairo_translate(cr, left, top + (h - f.cellHeight) / 2);
    if (f.stretch != 1)
        cairo_scale(cr, f.stretch, 1);
    setSource(a.textColor);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, t.layout);
    cairo_restore(cr);
    return true;
}

int TCairoDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top);
    cairo_clip(cr);
    checkDirectDrawing();
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    return x1 > x0 && y1 > y0 ? TRegion::simple : TRegion::null;
}
