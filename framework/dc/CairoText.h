#pragma once
// The cairo context's text: logical fonts made real through pango, and the
// texts laid out in them, kept so that repainting the same texts costs
// little. The coverage masks are what direct drawing blends into pixels.

#include "framework/dc/PixelRaster.h"
#include "framework/dc/TDC.h"

#include <pango/pangocairo.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

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
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view> {}(s); }
};

// A logical font made real: a pango description at the size that gives the
// asked cell height, and the texts laid out in it.
struct TCairoFont {
    PangoFontDescription* desc = nullptr;
    double cellHeight = 16; // ascent + descent, logical units
    long cell = 16; // the cell height TextOut fills
    double ascent = 13;
    double stretch = 1; // horizontal scale that gives the asked average width
    mutable std::unordered_map<std::string, CachedText, TransparentHash, std::equal_to<>> texts;

    TCairoFont() = default;
    TCairoFont(const TCairoFont&) = delete;
    TCairoFont& operator=(const TCairoFont&) = delete;
    ~TCairoFont()
    {
        texts.clear();
        if (desc)
            pango_font_description_free(desc);
    }
};

// The cell a text takes when written at (x, y) with this alignment.
struct TextCell {
    long left, top, width, height;
};
TextCell textCell(const TCairoFont& f, const CachedText& t, unsigned align, int x, int y);

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
    // The first row of the text's ink in its cell (the cell height for none).
    int inkTop(const TCairoFont& f, std::string_view text);

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
