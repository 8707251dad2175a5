#include "framework/dc/CairoDC.h"

#include "document/CodePage.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <memory>
#include <unordered_map>
#include <vector>

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

// Control characters would break the single line (or be drawn as hex
// boxes), and the code page's undefined bytes have nothing to draw, so all
// of them are drawn as spaces.
std::string toUtf8(std::string_view text)
{
    std::string drawn(text);
    for (char& ch : drawn) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            ch = ' ';
    }
    return codePageToUtf8(drawn);
}

// A text laid out once in one font, with its coverage mask for direct
// drawing made the first time it is needed.
struct CachedText {
    PangoLayout* layout = nullptr;
    double width = 0; // before stretching
    bool hasMask = false;
    TCoverage mask;
    int maskX = 0, maskY = 0; // relative to the cell

    CachedText() = default;
    CachedText(const CachedText&) = delete;
    CachedText& operator=(const CachedText&) = delete;
    ~CachedText()
    {
        if (layout)
            g_object_unref(layout);
    }
};

struct TransparentHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

// A logical font made real: a pango description at the size that gives the
// asked cell height, and the texts laid out in it.
struct TCairoFont {
    PangoFontDescription* desc = nullptr;
    PangoAttrList* attrs = nullptr; // underline, strike-out; may be null
    double cellHeight = 16;         // ascent + descent, logical units
    long cell = 16;                 // the cell height TextOut fills
    double ascent = 13;
    double stretch = 1;             // horizontal scale that gives the asked average width
    mutable std::unordered_map<std::string, CachedText, TransparentHash, std::equal_to<>> texts;

    TCairoFont() = default;
    TCairoFont(const TCairoFont&) = delete;
    TCairoFont& operator=(const TCairoFont&) = delete;
    ~TCairoFont()
    {
        texts.clear();
        if (desc)
            pango_font_description_free(desc);
        if (attrs)
            pango_attr_list_unref(attrs);
    }
};

namespace {

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

    const TCairoFont& font(const TLogFont& lf);
    CachedText& text(const TCairoFont& f, std::string_view text);
    // The coverage of the text's glyphs, placed as TextOut places them in its cell.
    const CachedText& withMask(const TCairoFont& f, CachedText& t);

    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

private:
    TextEngine();
    ~TextEngine();
    void makeContext();

    struct FaceMetrics {
        double cellPerEm = 1; // (ascent + descent) / em size
        double ascentPerEm = 1;
    };
    const FaceMetrics& faceMetrics(const PangoFontDescription* desc, const std::string& key);
    double averageCharWidth(const PangoFontDescription* desc);
    double layoutWidth(const PangoFontDescription* desc, const char* utf8);

public:
    // Beyond this size in device pixels the font machinery gives up (and
    // would leave the caller's cairo context in an error state).
    static constexpr double maxGlyphPixels = 4000;

private:
    // Enough for every text of the largest graph several times over, and
    // for far more fonts than any drawing uses; past these everything is
    // dropped and made again as needed.
    static constexpr std::size_t maxTexts = 8192;
    static constexpr std::size_t maxMaskBytes = 32 << 20;
    static constexpr std::size_t maxFonts = 64;
    static constexpr std::size_t maxFaces = 256;

    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    std::unordered_map<std::string, FaceMetrics> faces;
    std::unordered_map<std::string, std::unique_ptr<TCairoFont>> fonts;
    std::size_t textCount = 0;
    std::size_t maskBytes = 0;
    unsigned fontGeneration = 0;

public:
    // Changes whenever fonts are dropped, so holders of a font know to look again.
    unsigned generation() const { return fontGeneration; }
};

TextEngine::TextEngine()
{
    makeContext();
}

void TextEngine::makeContext()
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
    fonts.clear();
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

const TCairoFont& TextEngine::font(const TLogFont& lf)
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
        return *found->second;
    if (fonts.size() >= maxFonts || faces.size() >= maxFaces) {
        // A fresh font map as well: the old one keeps what it has matched.
        fonts.clear();
        faces.clear();
        textCount = 0;
        maskBytes = 0;
        ++fontGeneration;
        g_object_unref(context);
        g_object_unref(fontMap);
        makeContext();
    }

    auto f = std::make_unique<TCairoFont>();
    f->desc = pango_font_description_new();
    const std::string family = familyFor(face);
    pango_font_description_set_family(f->desc, family.c_str());
    const int weight = lf.weight <= 0 ? 400 : std::clamp(lf.weight, 100, 1000);
    pango_font_description_set_weight(f->desc, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(f->desc, lf.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    const FaceMetrics& fm = faceMetrics(
        f->desc, family + '|' + std::to_string(weight) + '|' + std::to_string(lf.italic != 0));

    // Heights beyond any page are cut down to keep the font machinery sane.
    constexpr double maxHeight = 2000;
    double em = 0;
    if (lf.height > 0)
        em = std::min<double>(lf.height, maxHeight) / fm.cellPerEm;
    else if (lf.height < 0)
        em = std::min(-static_cast<double>(lf.height), maxHeight);
    else
        em = defaultLogFont().height / fm.cellPerEm;
    pango_font_description_set_absolute_size(f->desc, em * PANGO_SCALE);
    f->cellHeight = em * fm.cellPerEm;
    f->cell = std::lround(f->cellHeight);
    f->ascent = em * fm.ascentPerEm;

    // A width asks for glyphs stretched or squeezed until the face's
    // average character width is that many units.
    if (lf.width > 0) {
        const double natural = averageCharWidth(f->desc);
        if (natural > 0)
            f->stretch = std::clamp(lf.width / natural, 1.0 / 64, 64.0);
    }
    if (lf.underline || lf.strikeOut) {
        f->attrs = pango_attr_list_new();
        if (lf.underline)
            pango_attr_list_insert(f->attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (lf.strikeOut)
            pango_attr_list_insert(f->attrs, pango_attr_strikethrough_new(TRUE));
    }
    return *fonts.emplace(key, std::move(f)).first->second;
}

CachedText& TextEngine::text(const TCairoFont& f, std::string_view text)
{
    auto found = f.texts.find(text);
    if (found != f.texts.end())
        return found->second;
    if (textCount >= maxTexts || maskBytes >= maxMaskBytes) {
        for (auto& [key, other] : fonts)
            other->texts.clear();
        textCount = 0;
        maskBytes = 0;
    }
    CachedText& t = f.texts.try_emplace(std::string(text)).first->second;
    ++textCount;
    t.layout = pango_layout_new(context);
    pango_layout_set_font_description(t.layout, f.desc);
    if (f.attrs)
        pango_layout_set_attributes(t.layout, f.attrs);
    const std::string utf8 = toUtf8(text);
    pango_layout_set_text(t.layout, utf8.data(), static_cast<int>(utf8.size()));
    PangoRectangle logical;
    pango_layout_get_extents(t.layout, nullptr, &logical);
    t.width = logical.width / double(PANGO_SCALE);
    return t;
}

const CachedText& TextEngine::withMask(const TCairoFont& f, CachedText& t)
{
    if (t.hasMask)
        return t;
    t.hasMask = true;
    PangoRectangle ink;
    pango_layout_get_extents(t.layout, &ink, nullptr);
    if (ink.width <= 0 || ink.height <= 0)
        return t;
    const double shift = (f.cell - f.cellHeight) / 2; // the glyphs sit centred in the whole-unit cell
    const double inkLeft = ink.x / double(PANGO_SCALE) * f.stretch;
    const double inkRight = (ink.x + ink.width) / double(PANGO_SCALE) * f.stretch;
    const double inkTop = ink.y / double(PANGO_SCALE) + shift;
    const double inkBottom = (ink.y + ink.height) / double(PANGO_SCALE) + shift;
    t.maskX = static_cast<int>(std::floor(inkLeft)) - 1;
    t.maskY = static_cast<int>(std::floor(inkTop)) - 1;
    const int width = static_cast<int>(std::ceil(inkRight)) + 1 - t.maskX;
    const int height = static_cast<int>(std::ceil(inkBottom)) + 1 - t.maskY;
    // Glyphs larger than any page are left out (their cell is still filled).
    if (width > maxGlyphPixels || height > maxGlyphPixels ||
        static_cast<double>(width) * height > maxMaskBytes / 8)
        return t;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t* mcr = cairo_create(surface);
    cairo_translate(mcr, -t.maskX, -t.maskY + shift);
    if (f.stretch != 1)
        cairo_scale(mcr, f.stretch, 1);
    pango_cairo_show_layout(mcr, t.layout);
    cairo_destroy(mcr);
    cairo_surface_flush(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS && data) {
        t.mask.width = width;
        t.mask.height = height;
        t.mask.alpha.resize(static_cast<std::size_t>(width) * height);
        for (int j = 0; j < height; ++j)
            std::memcpy(t.mask.alpha.data() + static_cast<std::size_t>(j) * width,
                        data + static_cast<std::size_t>(j) * stride, width);
        t.mask.findRuns();
        maskBytes += t.mask.alpha.size() + t.mask.runs.size() * sizeof(TCoverage::Run);
    }
    cairo_surface_destroy(surface);
    return t;
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
    direct = false;
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS || cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE)
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
    if (scaleX != 1 || scaleY != 1 || m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 ||
        dx != std::floor(dx) || dy != std::floor(dy) || std::fabs(dx) > 1e6 || std::fabs(dy) > 1e6)
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

void TCairoDC::stateSaved()
{
    cairo_save(cr);
}

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
    cairo_translate(cr, m.viewportOrgX, m.viewportOrgY);
    cairo_scale(cr, m.scaleX, m.scaleY);
    cairo_translate(cr, -m.windowOrgX, -m.windowOrgY);
    checkDirectDrawing();
}

void TCairoDC::setSource(TColor c)
{
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

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
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    if (right - static_cast<long>(left) < 1 || bottom - static_cast<long>(top) < 1)
        return true;
    // The outline is centred on the outermost pixels: paint its outer edge
    // in the pen colour, then the inside in the brush colour.
    const double h = currentPen().width / 2.0;
    const double outL = left + 0.5 - h, outT = top + 0.5 - h, outR = right - 0.5 + h, outB = bottom - 0.5 + h;
    const double inL = left + 0.5 + h, inT = top + 0.5 + h, inR = right - 0.5 - h, inB = bottom - 0.5 - h;
    if (!(inL < inR && inT < inB)) {
        fillBox(outL, outT, outR, outB, currentPen().color);
        return true;
    }
    fillBox(inL, inT, inR, inB, currentBrush().color);
    fillBox(outL, outT, outR, inT, currentPen().color);
    fillBox(outL, inB, outR, outB, currentPen().color);
    fillBox(outL, inT, inL, inB, currentPen().color);
    fillBox(inR, inT, outR, inB, currentPen().color);
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
    const double h = currentPen().width / 2.0;
    fillEllipse(cx, cy, rx + h, ry + h, currentPen().color);
    fillEllipse(cx, cy, rx - h, ry - h, currentBrush().color);
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
    setPosition(TPoint{ x, y });
    if (from == TPoint{ x, y })
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
    if (!clipSegment(visibleArea(), x0, y0, x1, y1) || !withinReach(std::min(x0, x1), std::min(y0, y1),
                                                                     std::max(x0, x1), std::max(y0, y1)))
        return true;
    beginCairo();
    cairo_new_path(cr);
    setSource(currentPen().color);
    if (thin) {
        // The band along the segment, ending square at both (shifted) points.
        const double dx = x1 - x0, dy = y1 - y0;
        const double len = std::hypot(dx, dy);
        const double nx = -dy / len / 2, ny = dx / len / 2;
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
    cairo_set_line_width(cr, width);
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
    return TSize{ static_cast<int>(std::lround(t.width * f.stretch)), static_cast<int>(f.cell) };
}

bool TCairoDC::TextOut(int x, int y, std::string_view text)
{
    if (text.empty())
        return true;
    TextEngine& engine = TextEngine::instance();
    const TCairoFont& f = font();
    CachedText& t = engine.text(f, text);
    const long w = std::lround(t.width * f.stretch);
    const long h = f.cell;

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
    if (left + w < v.left || left > v.right || top + h < v.top || top > v.bottom ||
        !withinReach(static_cast<double>(left), static_cast<double>(top), static_cast<double>(left + w),
                     static_cast<double>(top + h)))
        return true;
    // Text far larger than any page (a huge font, or a huge scale) has its
    // cell filled but no glyphs drawn.
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double scaleX, scaleY;
    cairo_surface_get_device_scale(target, &scaleX, &scaleY);
    const double deviceScale = std::max({ std::hypot(m.xx, m.yx) * scaleX, std::hypot(m.xy, m.yy) * scaleY, 1e-9 });
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
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    cairo_new_path(cr);
    cairo_rectangle(cr, left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top);
    cairo_clip(cr);
    checkDirectDrawing();
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    return x1 > x0 && y1 > y0 ? TRegion::simple : TRegion::null;
}
