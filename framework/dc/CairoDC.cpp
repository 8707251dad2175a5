#include "framework/dc/CairoDC.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------- text ---

// The face names the graph layout asks for, mapped onto the metric-compatible
// free faces; anything else goes to fontconfig as it is.
std::string familyFor(std::string_view face)
{
    std::string lower(face);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (lower.empty() || lower == "helv" || lower == "ms sans serif" || lower == "arial" ||
        lower == "helvetica" || lower == "system" || lower == "ms shell dlg")
        return "Liberation Sans";
    if (lower == "times new roman" || lower == "tms rmn" || lower == "times")
        return "Liberation Serif";
    if (lower == "courier new" || lower == "courier")
        return "Liberation Mono";
    return std::string(face);
}

// Texts are 8-bit, in the Western Windows code page; pango wants UTF-8.
// Control characters would break the single line (or be drawn as hex
// boxes), so they become spaces.
std::string toUtf8(std::string_view text)
{
    static constexpr char16_t high[32] = {
        0x20AC, 0x0020, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x0020, 0x017D, 0x0020, 0x0020, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0020, 0x017E, 0x0178,
    };
    std::string out;
    out.reserve(text.size());
    for (unsigned char ch : text) {
        char32_t u = ch;
        if (ch < 0x20 || ch == 0x7F)
            u = ' ';
        else if (ch >= 0x80 && ch < 0xA0)
            u = high[ch - 0x80];
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

struct ResolvedFont {
    PangoFontDescription* desc = nullptr;
    PangoAttrList* attrs = nullptr; // underline, strike-out; may be null
    double cellHeight = 16;         // ascent + descent, logical units
    double ascent = 13;
    double stretch = 1;             // horizontal scale that gives the asked average width
    std::string key;
};

struct CachedText {
    PangoLayout* layout = nullptr;
    double width = 0; // before stretching
};

// Fonts and laid-out texts, kept for the life of the thread: the window
// paints the same few hundred texts again and again, and shaping them anew
// each time would cost more than all the drawing.
class TextEngine {
public:
    static TextEngine& instance()
    {
        thread_local TextEngine engine;
        return engine;
    }

    const ResolvedFont& font(const TLogFont& lf);
    const CachedText& text(const ResolvedFont& f, std::string_view text);

    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

private:
    TextEngine();
    ~TextEngine();

    struct FaceMetrics {
        double cellPerEm = 1; // (ascent + descent) / em size
        double ascentPerEm = 1;
    };
    const FaceMetrics& faceMetrics(const PangoFontDescription* desc, const std::string& key);
    double averageCharWidth(const PangoFontDescription* desc);
    double layoutWidth(const PangoFontDescription* desc, const char* utf8);

    static constexpr std::size_t maxTexts = 4096;

    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    std::unordered_map<std::string, FaceMetrics> faces;
    std::unordered_map<std::string, ResolvedFont> fonts;
    std::unordered_map<std::string, CachedText> texts;
};

TextEngine::TextEngine()
{
    fontMap = pango_cairo_font_map_new();
    context = pango_font_map_create_context(fontMap);
    // Unhinted outlines and metrics: the same layout on screen, on paper and
    // in vector files, at any scale.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    pango_context_set_language(context, pango_language_from_string("en"));
}

TextEngine::~TextEngine()
{
    for (auto& [key, t] : texts)
        g_object_unref(t.layout);
    for (auto& [key, f] : fonts) {
        pango_font_description_free(f.desc);
        if (f.attrs)
            pango_attr_list_unref(f.attrs);
    }
    g_object_unref(context);
    g_object_unref(fontMap);
}

const TextEngine::FaceMetrics& TextEngine::faceMetrics(const PangoFontDescription* desc,
                                                      const std::string& key)
{
    auto found = faces.find(key);
    if (found != faces.end())
        return found->second;
    constexpr double em = 1024;
    PangoFontDescription* probe = pango_font_description_copy(desc);
    pango_font_description_set_absolute_size(probe, em * PANGO_SCALE);
    FaceMetrics fm;
    if (PangoFont* f = pango_context_load_font(context, probe)) {
        PangoFontMetrics* m = pango_font_get_metrics(f, nullptr);
        const double ascent = pango_font_metrics_get_ascent(m) / double(PANGO_SCALE);
        const double descent = pango_font_metrics_get_descent(m) / double(PANGO_SCALE);
        if (ascent + descent > 0) {
            fm.cellPerEm = (ascent + descent) / em;
            fm.ascentPerEm = ascent / em;
        }
        pango_font_metrics_unref(m);
        g_object_unref(f);
    }
    pango_font_description_free(probe);
    return faces.emplace(key, fm).first->second;
}

double TextEngine::layoutWidth(const PangoFontDescription* desc, const char* utf8)
{
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_text(layout, utf8, -1);
    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    g_object_unref(layout);
    return logical.width / double(PANGO_SCALE);
}

// The classic average character width: lower-case letters and the space,
// weighted by how often they occur in English text.
double TextEngine::averageCharWidth(const PangoFontDescription* desc)
{
    static constexpr int weights[27] = { 64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                         56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166 };
    double sum = 0;
    char one[2] = { 0, 0 };
    for (int i = 0; i < 26; ++i) {
        one[0] = static_cast<char>('a' + i);
        sum += layoutWidth(desc, one) * weights[i];
    }
    sum += layoutWidth(desc, " ") * weights[26];
    return sum / 1000;
}

const ResolvedFont& TextEngine::font(const TLogFont& lf)
{
    const std::string_view face(lf.faceName, strnlen(lf.faceName, sizeof lf.faceName));
    std::string key(face);
    for (int v : { lf.height, lf.width, lf.weight, int(lf.italic), int(lf.underline),
                   int(lf.strikeOut) }) {
        key += '|';
        key += std::to_string(v);
    }
    auto found = fonts.find(key);
    if (found != fonts.end())
        return found->second;

    ResolvedFont f;
    f.key = key;
    f.desc = pango_font_description_new();
    const std::string family = familyFor(face);
    pango_font_description_set_family(f.desc, family.c_str());
    const int weight = lf.weight <= 0 ? 400 : std::clamp(lf.weight, 100, 1000);
    pango_font_description_set_weight(f.desc, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(f.desc, lf.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    const FaceMetrics& fm =
        faceMetrics(f.desc, family + '|' + std::to_string(weight) + '|' + std::to_string(lf.italic != 0));

    // Heights beyond any page are cut down to keep the font machinery sane.
    constexpr double maxHeight = 10000;
    double em = 0;
    if (lf.height > 0)
        em = std::min<double>(lf.height, maxHeight) / fm.cellPerEm;
    else if (lf.height < 0)
        em = std::min(-static_cast<double>(lf.height), maxHeight);
    else
        em = defaultLogFont().height / fm.cellPerEm;
    pango_font_description_set_absolute_size(f.desc, em * PANGO_SCALE);
    f.cellHeight = em * fm.cellPerEm;
    f.ascent = em * fm.ascentPerEm;

    if (lf.width > 0) {
        const double natural = averageCharWidth(f.desc);
        if (natural > 0)
            f.stretch = std::min<double>(lf.width, maxHeight) / natural;
    }
    if (lf.underline || lf.strikeOut) {
        f.attrs = pango_attr_list_new();
        if (lf.underline)
            pango_attr_list_insert(f.attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (lf.strikeOut)
            pango_attr_list_insert(f.attrs, pango_attr_strikethrough_new(TRUE));
    }
    return fonts.emplace(key, f).first->second;
}

const CachedText& TextEngine::text(const ResolvedFont& f, std::string_view text)
{
    std::string key = f.key;
    key += '\n';
    key += text;
    auto found = texts.find(key);
    if (found != texts.end())
        return found->second;
    if (texts.size() >= maxTexts) {
        for (auto& [k, t] : texts)
            g_object_unref(t.layout);
        texts.clear();
    }
    CachedText t;
    t.layout = pango_layout_new(context);
    pango_layout_set_font_description(t.layout, f.desc);
    if (f.attrs)
        pango_layout_set_attributes(t.layout, f.attrs);
    const std::string utf8 = toUtf8(text);
    pango_layout_set_text(t.layout, utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_extents(t.layout, nullptr, &logical);
    t.width = logical.width / double(PANGO_SCALE);
    return texts.emplace(std::move(key), t).first->second;
}

} // namespace

// -------------------------------------------------------------- context ---

TCairoDC::TCairoDC(cairo_t* cr)
    : TDCBase(defaultLogFont())
    , cr(cr)
{
    cairo_save(cr);
    cairo_get_matrix(cr, &deviceMatrix);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_new_path(cr);
}

TCairoDC::~TCairoDC()
{
    // States saved and never restored would otherwise stay on the caller's context.
    for (int i = saveDepth(); i > 0; --i)
        cairo_restore(cr);
    cairo_restore(cr);
}

void TCairoDC::stateSaved()
{
    cairo_save(cr);
}

void TCairoDC::stateRestored(int levels)
{
    for (int i = 0; i < levels; ++i)
        cairo_restore(cr);
}

void TCairoDC::mappingChanged()
{
    const TDCMapping m = mapping();
    cairo_set_matrix(cr, &deviceMatrix);
    cairo_translate(cr, m.viewportOrgX, m.viewportOrgY);
    cairo_scale(cr, m.scaleX, m.scaleY);
    cairo_translate(cr, -m.windowOrgX, -m.windowOrgY);
}

void TCairoDC::setSource(TColor c)
{
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

bool TCairoDC::Rectangle(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const double w = static_cast<double>(right) - left;
    const double h = static_cast<double>(bottom) - top;
    if (w < 1 || h < 1)
        return true;
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, w, h);
    setSource(currentBrush().color);
    cairo_fill(cr);
    // The outline runs through the centres of the outermost pixels.
    cairo_rectangle(cr, left + 0.5, top + 0.5, w - 1, h - 1);
    setSource(currentPen().color);
    cairo_set_line_width(cr, currentPen().width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(cr);
    return true;
}

bool TCairoDC::Ellipse(int left, int top, int right, int bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const double rx = (static_cast<double>(right) - left - 1) / 2;
    const double ry = (static_cast<double>(bottom) - top - 1) / 2;
    if (rx <= 0 || ry <= 0)
        return true;
    const double cx = (static_cast<double>(left) + right) / 2;
    const double cy = (static_cast<double>(top) + bottom) / 2;
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_close_path(cr);
    setSource(currentBrush().color);
    cairo_fill_preserve(cr);
    setSource(currentPen().color);
    cairo_set_line_width(cr, currentPen().width);
    cairo_stroke(cr);
    return true;
}

bool TCairoDC::LineTo(int x, int y)
{
    const TPoint from = attributes().position;
    setPosition(TPoint{ x, y });
    if (from == TPoint{ x, y })
        return true;
    const int width = currentPen().width;
    double x0 = from.x + 0.5, y0 = from.y + 0.5;
    double x1 = x + 0.5, y1 = y + 0.5;
    cairo_new_path(cr);
    if (width == 1) {
        // A thin line covers the pixels from its start up to its end pixel,
        // which it leaves out: shift the stroke back by half a pixel along
        // its direction, so both ends sit on pixel edges, not centres.
        const double dx = x1 - x0, dy = y1 - y0;
        const double len = std::hypot(dx, dy);
        const double ux = dx / len / 2, uy = dy / len / 2;
        x0 -= ux, y0 -= uy, x1 -= ux, y1 -= uy;
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    } else {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    }
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    setSource(currentPen().color);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    return true;
}

TSize TCairoDC::GetTextExtentPoint(std::string_view text)
{
    TextEngine& engine = TextEngine::instance();
    const ResolvedFont& f = engine.font(currentFont().logFont);
    const CachedText& t = engine.text(f, text);
    return TSize{ static_cast<int>(std::lround(t.width * f.stretch)),
                  static_cast<int>(std::lround(f.cellHeight)) };
}

bool TCairoDC::TextOut(int x, int y, std::string_view text)
{
    if (text.empty())
        return true;
    TextEngine& engine = TextEngine::instance();
    const ResolvedFont& f = engine.font(currentFont().logFont);
    const CachedText& t = engine.text(f, text);
    const long w = std::lround(t.width * f.stretch);
    const long h = std::lround(f.cellHeight);

    const TDCAttributes& a = attributes();
    long left = x, top = y;
    switch (a.textAlign & TTextAlign::horizontalMask) {
    case TTextAlign::right: left = x - w; break;
    case TTextAlign::center: left = x - w / 2; break;
    default: break;
    }
    switch (a.textAlign & TTextAlign::verticalMask) {
    case TTextAlign::bottom: top = y - h; break;
    case TTextAlign::baseline: top = y - std::lround(f.ascent); break;
    default: break;
    }

    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, w, h);
    setSource(a.bkColor);
    cairo_fill(cr);

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
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top);
    cairo_clip(cr);
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    return x1 > x0 && y1 > y0 ? TRegion::simple : TRegion::null;
}
