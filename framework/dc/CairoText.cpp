#include "framework/dc/CairoText.h"

#include "document/CodePage.h"
#include "framework/dc/DCBase.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
// The face names the graph layout asks for, mapped onto the metric-compatible
// free faces; anything else goes to fontconfig as it is.
std::string familyFor(std::string_view face)
{
    std::string lower(face);
    for (char& ch : lower)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    if (lower.empty() || lower == "helv" || lower == "ms sans serif" || lower == "arial"
        || lower == "helvetica" || lower == "system" || lower == "ms shell dlg")
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
} // namespace

TextEngine::TextEngine() { makeContext(); }

namespace {
// The graph asks only for the metric-compatible faces of one font package.
// A font configuration holding just that package gives every target the
// same faces whatever the desktop's font set-up, and spares each start the
// reading of the system's whole configuration, most of a render's start-up.
// Null (the system's configuration) where the package is not found.
FcConfig* graphFontConfig()
{
    static FcConfig* const config = []() -> FcConfig* {
        for (const char* dir :
            { "/usr/share/fonts/truetype/liberation2", "/usr/share/fonts/truetype/liberation" }) {
            if (!g_file_test(dir, G_FILE_TEST_IS_DIR))
                continue;
            const std::string xml = std::string("<?xml version=\"1.0\"?><fontconfig><dir>") + dir
                + "</dir><cachedir>/var/cache/fontconfig</cachedir>"
                  "<cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";
            FcConfig* c = FcConfigCreate();
            if (!c)
                return nullptr;
            bool usable
                = FcConfigParseAndLoadFromMemory(c, reinterpret_cast<const FcChar8*>(xml.c_str()), FcFalse)
                && FcConfigBuildFonts(c);
            if (usable) {
                FcPattern* sans = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
                FcObjectSet* family = FcObjectSetBuild(FC_FAMILY, nullptr);
                FcFontSet* found = FcFontList(c, sans, family);
                usable = found && found->nfont > 0;
                if (found)
                    FcFontSetDestroy(found);
                FcObjectSetDestroy(family);
                FcPatternDestroy(sans);
            }
            if (usable)
                return c;
            FcConfigDestroy(c);
        }
        return nullptr;
    }();
    return config;
}
} // namespace

bool useOnlyGraphFonts()
{
    FcConfig* config = graphFontConfig();
    return config && FcConfigSetCurrent(config);
}

void TextEngine::makeContext()
{
    fontMap = pango_cairo_font_map_new();
    if (FcConfig* config = graphFontConfig(); config && PANGO_IS_FC_FONT_MAP(fontMap))
        pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), config);
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

const TextEngine::FaceMetrics& TextEngine::faceMetrics(
    const PangoFontDescription* desc, const std::string& key)
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
    static constexpr int weights[27] = { 64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56, 56, 17, 4, 49,
        56, 71, 31, 10, 18, 3, 18, 2, 166 };
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
    for (int v : { lf.height, lf.width, lf.weight }) {
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
    const FaceMetrics& fm = faceMetrics(f->desc, family + '|' + std::to_string(weight));

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
    if (width > maxGlyphPixels || height > maxGlyphPixels
        || static_cast<double>(width) * height > maxMaskBytes / 8)
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

int TextEngine::inkTop(const TCairoFont& f, std::string_view text)
{
    if (text.empty())
        return static_cast<int>(f.cell);
    const CachedText& t = withMask(f, this->text(f, text));
    // The coverage rows as TextOut blends them, where there is a mask;
    // otherwise the glyphs' ink box.
    if (!t.mask.runs.empty()) {
        int first = t.mask.height;
        for (const TCoverage::Run& run : t.mask.runs)
            first = std::min(first, run.row);
        return t.maskY + first;
    }
    PangoRectangle ink;
    pango_layout_get_extents(t.layout, &ink, nullptr);
    if (ink.height <= 0)
        return static_cast<int>(f.cell);
    return static_cast<int>(std::floor(ink.y / double(PANGO_SCALE) + (f.cell - f.cellHeight) / 2));
}

TextCell textCell(const TCairoFont& f, const CachedText& t, unsigned align, int x, int y)
{
    const long w = std::lround(t.width * f.stretch);
    const long h = f.cell;
    long left = x, top = y;
    switch (align & TTextAlign::horizontalMask) {
    case TTextAlign::right:
        left = x - w;
        break;
    case TTextAlign::center:
        left = x - w / 2;
        break;
    default:
        break;
    }
    switch (align & TTextAlign::verticalMask) {
    case TTextAlign::bottom:
        top = y - h;
        break;
    case TTextAlign::baseline:
        top = y - std::lround(f.ascent);
        break;
    default:
        break;
    }
    return { left, top, w, h };
}
