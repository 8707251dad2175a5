#include "framework/dc/SvgDC.h"

#include "framework/dc/CairoText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {
// A coordinate with at most two decimals and no trailing zeros, the same
// bytes for the same number on every machine and in every locale.
std::string num(double v)
{
    const double rounded = std::round(v * 100) / 100;
    char buffer[32];
    const auto [end, ec] = std::to_chars(
        buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded, std::chars_format::fixed, 2);
    std::string text(buffer, ec == std::errc {} ? end : buffer);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

std::string colour(TColor c)
{
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "#";
    for (std::uint8_t part : { c.r, c.g, c.b }) {
        out += hex[part >> 4];
        out += hex[part & 15];
    }
    return out;
}

std::string escaped(std::string_view text)
{
    std::string out;
    for (char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += ch;
        }
    }
    return out;
}
} // namespace

TSvgDC::TSvgDC(int w, int h, TColor paper, SvgPlacement placement)
    : TDCBase(defaultLogFont())
    , width(w)
    , height(h)
    , background(paper)
    , placed(placement)
{
}

void TSvgDC::add(const std::string& element)
{
    if (clip.on)
        body += "<g clip-path=\"url(#c" + std::to_string(clip.id) + ")\">" + element + "</g>\n";
    else
        body += element + "\n";
}

void TSvgDC::box(double left, double top, double right, double bottom, TColor c)
{
    const TDCMapping m = mapping();
    add("<rect x=\"" + num(m.toDeviceX(left)) + "\" y=\"" + num(m.toDeviceY(top)) + "\" width=\""
        + num(m.toDeviceX(right - left)) + "\" height=\"" + num(m.toDeviceY(bottom - top)) + "\" fill=\""
        + colour(c) + "\"/>");
}

bool TSvgDC::Rectangle(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    if (right - static_cast<long>(left) < 1 || bottom - static_cast<long>(top) < 1)
        return true;
    // As the cairo context draws it: the outline centred on the outermost
    // pixels, the inside white.
    const TDCMapping m = mapping();
    const double pen = currentPen().width;
    add("<rect x=\"" + num(m.toDeviceX(left + 0.5)) + "\" y=\"" + num(m.toDeviceY(top + 0.5)) + "\" width=\""
        + num(m.toDeviceX(right - left - 1.0)) + "\" height=\"" + num(m.toDeviceY(bottom - top - 1.0))
        + "\" fill=\"#ffffff\" stroke=\"" + colour(currentPen().color) + "\" stroke-width=\""
        + num(m.toDeviceX(pen)) + "\"/>");
    return true;
}

bool TSvgDC::Ellipse(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    TEllipse e;
    if (!ellipseIn(left, top, right, bottom, e))
        return true;
    const TDCMapping m = mapping();
    add("<ellipse cx=\"" + num(m.toDeviceX(e.cx)) + "\" cy=\"" + num(m.toDeviceY(e.cy)) + "\" rx=\""
        + num(m.toDeviceX(e.rx)) + "\" ry=\"" + num(m.toDeviceY(e.ry)) + "\" fill=\"#ffffff\" stroke=\""
        + colour(currentPen().color) + "\" stroke-width=\"" + num(m.toDeviceX(currentPen().width)) + "\"/>");
    return true;
}

bool TSvgDC::LineTo(int x, int y)
{
    const TPoint from = attributes().position;
    setPosition(TPoint { x, y });
    if (from == TPoint { x, y })
        return true;
    const int pen = currentPen().width;
    double x0 = from.x + 0.5, y0 = from.y + 0.5, x1 = x + 0.5, y1 = y + 0.5;
    if (pen == 1) {
        // A thin line covers its start pixel up to, not including, its end.
        const double len = std::hypot(x1 - x0, y1 - y0);
        const double ux = (x1 - x0) / len / 2, uy = (y1 - y0) / len / 2;
        x0 -= ux, y0 -= uy, x1 -= ux, y1 -= uy;
    }
    const TDCMapping m = mapping();
    add("<line x1=\"" + num(m.toDeviceX(x0)) + "\" y1=\"" + num(m.toDeviceY(y0)) + "\" x2=\""
        + num(m.toDeviceX(x1)) + "\" y2=\"" + num(m.toDeviceY(y1)) + "\" stroke=\""
        + colour(currentPen().color) + "\" stroke-width=\"" + num(m.toDeviceX(pen)) + "\""
        + (pen == 1 ? "" : " stroke-linecap=\"round\"") + "/>");
    return true;
}

TSize TSvgDC::GetTextExtentPoint(std::string_view text)
{
    TextEngine& engine = TextEngine::instance();
    const TCairoFont& f = engine.font(currentFont().logFont);
    if (text.empty())
        return { 0, static_cast<int>(f.cell) };
    return { static_cast<int>(std::lround(engine.text(f, text).width * f.stretch)),
        static_cast<int>(f.cell) };
}

int TSvgDC::GetTextInkTop(std::string_view text)
{
    TextEngine& engine = TextEngine::instance();
    return engine.inkTop(engine.font(currentFont().logFont), text);
}

bool TSvgDC::TextOut(int x, int y, std::string_view text)
{
    if (text.empty())
        return true;
    TextEngine& engine = TextEngine::instance();
    const TCairoFont& f = engine.font(currentFont().logFont);
    CachedText& t = engine.text(f, text);
    const TDCAttributes& a = attributes();
    const auto [left, top, w, h] = textCell(f, t, a.textAlign, x, y);
    box(left, top, left + w, top + h, a.bkColor);
    const TDCMapping m = mapping();
    const char* family = pango_font_description_get_family(f.desc);
    const int weight = pango_font_description_get_weight(f.desc);
    const double size = pango_font_description_get_size(f.desc) / double(PANGO_SCALE);
    const double baseline = top + (h - f.cellHeight) / 2 + f.ascent;
    // A font asked for wider or narrower than its face is the face scaled
    // across; its width is given too, so every reader spaces it as the
    // layout did.
    const double across = f.stretch;
    add("<text"
        + (across != 1 ? " transform=\"scale(" + num(std::round(across * 1000) / 1000) + ",1)\""
                       : std::string())
        + " x=\"" + num(m.toDeviceX(left) / across) + "\" y=\"" + num(m.toDeviceY(baseline))
        + "\" font-family=\"" + escaped(family ? family : "sans-serif") + "\" font-size=\""
        + num(m.toDeviceY(size)) + "\"" + (weight >= 600 ? " font-weight=\"bold\"" : "") + " fill=\""
        + colour(a.textColor) + "\" textLength=\"" + num(m.toDeviceX(w) / across)
        + "\" lengthAdjust=\"spacingAndGlyphs\" xml:space=\"preserve\">"
        + escaped(pango_layout_get_text(t.layout)) + "</text>");
    return true;
}

int TSvgDC::IntersectClipRect(int left, int top, int right, int bottom)
{
    orderCorners(left, top, right, bottom);
    const TDCMapping m = mapping();
    Clip next { true, m.toDeviceX(left), m.toDeviceY(top), m.toDeviceX(right), m.toDeviceY(bottom),
        ++clipCount };
    if (clip.on) {
        next.left = std::max(next.left, clip.left);
        next.top = std::max(next.top, clip.top);
        next.right = std::min(next.right, clip.right);
        next.bottom = std::min(next.bottom, clip.bottom);
    }
    clip = next;
    defs += "<clipPath id=\"c" + std::to_string(clip.id) + "\"><rect x=\"" + num(clip.left) + "\" y=\""
        + num(clip.top) + "\" width=\"" + num(std::max(0.0, clip.right - clip.left)) + "\" height=\""
        + num(std::max(0.0, clip.bottom - clip.top)) + "\"/></clipPath>\n";
    return clip.right > clip.left && clip.bottom > clip.top ? 2 : 1;
}

void TSvgDC::stateSaved() { savedClips.push_back(clip); }

void TSvgDC::stateRestored(int levels)
{
    for (int k = 0; k < levels && !savedClips.empty(); ++k) {
        clip = savedClips.back();
        savedClips.pop_back();
    }
}

std::string TSvgDC::document() const
{
    const std::string w = std::to_string(width), h = std::to_string(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\""
        + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n"
        + (defs.empty() ? "" : "<defs>\n" + defs + "</defs>\n") + "<rect width=\"" + w + "\" height=\"" + h
        + "\" fill=\"" + colour(background) + "\"/>\n"
        + (placed.x || placed.y || placed.unit != 1 ? "<g transform=\"translate(" + num(placed.x) + ","
                    + num(placed.y) + ") scale(" + num(placed.unit) + ")\">\n" + body + "</g>\n"
                                                    : body)
        + "</svg>\n";
}
