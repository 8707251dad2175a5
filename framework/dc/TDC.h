#pragma once
// The drawing interface that the painter and the printout see. Operation
// names, argument orders and conventions follow the classic desktop drawing
// model the graph layout was designed on:
//
//  - a line does not paint its end point; a rectangle or ellipse does not
//    paint the right and bottom edges of its bounding box;
//  - pens are solid; lines from pens wider than one unit have round ends;
//  - a font height is the cell height (ascent + descent) in logical units;
//  - the background mode is opaque: every text cell is filled with the
//    background colour before the glyphs are drawn;
//  - closed shapes are filled white;
//  - a fresh context has a black one-unit pen, black text on a white
//    background, alignment 0 (left, top) and 1:1 text mapping.
//
// Pens and fonts are objects made by the context: each one lives
// until DeleteObject, which refuses an object still selected (now or in a
// saved state), so a caller that leaks or deletes too early can be caught.
// Every backend keeps the same bookkeeping through TDCBase (DCBase.h).

#include <cstdint>
#include <string_view>

struct TColor {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(TColor, TColor) = default;
};

constexpr TColor TRgb(int r, int g, int b)
{
    return TColor { static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
        static_cast<std::uint8_t>(b) };
}

struct TPoint {
    int x = 0, y = 0;
    friend constexpr bool operator==(TPoint, TPoint) = default;
};

struct TSize {
    int cx = 0, cy = 0;
    friend constexpr bool operator==(TSize, TSize) = default;
};

// Handle of a pen or font. 0 is "no object".
struct THandle {
    std::uint32_t id = 0;
    explicit constexpr operator bool() const { return id != 0; }
    friend constexpr bool operator==(THandle, THandle) = default;
};

// The logical-font record. Zero in any field means "the default".
struct TLogFont {
    int height = 0; // > 0: cell height; < 0: character (em) height; 0: default
    int width = 0; // average character width: glyphs are stretched or squeezed
                   // to it (up to 64 times either way); 0: the face's own
    int weight = 0; // 1..1000, 400 normal, 700 bold, 1000 heaviest; 0: normal
    char faceName[32] = {};
};

// Text alignment flags; horizontal and vertical parts are or-ed together.
namespace TTextAlign {
constexpr unsigned left = 0;
constexpr unsigned right = 2;
constexpr unsigned center = 6;
constexpr unsigned top = 0;
constexpr unsigned bottom = 8;
constexpr unsigned baseline = 24;
constexpr unsigned horizontalMask = 6;
constexpr unsigned verticalMask = 24;
}

// Mapping modes.
namespace TMapMode {
constexpr int text = 1; // one logical unit is one device unit
constexpr int isotropic = 7; // extents decide, equal scale on both axes
constexpr int anisotropic = 8; // extents decide, each axis on its own
}

// Results of the clip operations.
namespace TRegion {
constexpr int error = 0;
constexpr int null = 1;
constexpr int simple = 2;
}

class TDC {
public:
    virtual ~TDC() = default;

    // Drawing state. SaveDC returns the new depth (1 for the first save), 0
    // on failure. RestoreDC(-1) restores the latest save, RestoreDC(-n) the
    // n-th latest, RestoreDC(n) with n > 0 the state saved at depth n.
    virtual int SaveDC() = 0;
    virtual bool RestoreDC(int saved = -1) = 0;

    // Objects.
    virtual THandle CreatePen(int width, TColor color) = 0;
    virtual THandle CreateFontIndirect(const TLogFont& font) = 0;
    // Makes the object current and returns the object of its kind that was
    // current before (0 if the handle is unknown).
    virtual THandle SelectObject(THandle object) = 0;
    virtual bool DeleteObject(THandle object) = 0;

    // Shapes and lines, in logical units.
    virtual bool Rectangle(int left, int top, int right, int bottom) = 0;
    virtual bool Ellipse(int left, int top, int right, int bottom) = 0;
    virtual bool MoveToEx(int x, int y, TPoint* previous = nullptr) = 0;
    virtual bool LineTo(int x, int y) = 0;

    // Text: a single line, drawn without interpreting control characters.
    virtual bool TextOut(int x, int y, std::string_view text) = 0;
    // Size of the cell TextOut would fill for `text` in the current font.
    virtual TSize GetTextExtentPoint(std::string_view text) = 0;
    // Rows between the top of that cell and the first row the text's glyphs
    // ink, in logical units: the cell height when nothing is inked, 0 when
    // a context cannot tell.
    virtual int GetTextInkTop(std::string_view text) = 0;
    virtual TColor SetTextColor(TColor color) = 0;
    virtual TColor SetBkColor(TColor color) = 0;
    virtual unsigned SetTextAlign(unsigned align) = 0;

    // Mapping and clipping.
    virtual int SetMapMode(int mode) = 0; // returns the previous mode, 0 on failure
    virtual bool SetViewportExtEx(int cx, int cy, TSize* previous = nullptr) = 0;
    virtual bool SetWindowExtEx(int cx, int cy, TSize* previous = nullptr) = 0;
    virtual int IntersectClipRect(int left, int top, int right, int bottom) = 0;
};
