#pragma once
// The drawing context over any cairo surface: the window (the toolkit's own
// cairo context), a printed page, or image, SVG and PDF surfaces with no
// display at all. Shapes and lines are drawn without antialiasing, so on a
// 1:1 raster target every pixel lands where the layout counts it; text goes
// through pango and stays antialiased.
//
// Pixel rules at 1:1 (x, y are logical = device units):
//  - a line of a one-unit pen from (x0, y0) to (x1, y1) paints the pixels
//    from (x0, y0) up to, not including, (x1, y1);
//  - wider pens stroke from pixel centre to pixel centre with round ends;
//  - Rectangle(l, t, r, b) paints its outline on columns l and r - 1 and rows
//    t and b - 1 and fills the inside white;
//  - Ellipse(l, t, r, b) is inscribed in the same pixels; its outline is the
//    ring from half a pen width inside to half a pen width outside the
//    ellipse through the centres of the outermost pixels.
// A pixel is painted when its centre lies in the shape. On an image surface
// at 1:1 with a rectangular clip the shapes and texts are put into the
// pixels directly, by that same rule; everywhere else cairo fills the same
// outlines. On a target with a whole-number device scale (a back buffer on a
// HiDPI screen, a render at --scale N) that makes each logical pixel N x N
// device pixels, while text is laid out at the finer grid. The text side
// lives in CairoText.

#include "framework/dc/DCBase.h"
#include "framework/dc/PixelRaster.h"

#include <cairo.h>

struct TCairoFont;

// For a program that draws nothing but graphs (no toolkit with fonts of its
// own): makes the graph's own font set the process's whole font
// configuration, so the system's configuration is never read. Returns false,
// changing nothing, when the graph's fonts are not installed.
bool useOnlyGraphFonts();

class TCairoDC : public TDCBase {
public:
    // Draws on `cr` from its current transformation on; the context is
    // handed back as it was given when this object is destroyed.
    explicit TCairoDC(cairo_t* cr);
    ~TCairoDC() override;
    TCairoDC(const TCairoDC&) = delete;
    TCairoDC& operator=(const TCairoDC&) = delete;

    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;
    bool LineTo(int x, int y) override;
    bool TextOut(int x, int y, std::string_view text) override;
    int IntersectClipRect(int left, int top, int right, int bottom) override;

    TSize GetTextExtentPoint(std::string_view text) override;
    int GetTextInkTop(std::string_view text) override;
    // True while drawing goes straight into the target's pixels.
    bool drawsDirectly() const { return direct; }

    // A rectangle in logical units.
    struct Area {
        double left = 0, top = 0, right = 0, bottom = 0;
    };

protected:
    void stateSaved() override;
    void stateRestored(int levels) override;
    void mappingChanged() override;

private:
    void setSource(TColor c);
    const TCairoFont& font();
    // Decides whether the pixels can be written directly, after anything
    // that may change the transformation or the clip.
    void checkDirectDrawing();
    // Bracket the two ways of drawing, keeping cairo's view of the pixels right.
    void beginDirect();
    void beginCairo();
    void fillBox(double left, double top, double right, double bottom, TColor c);
    void fillEllipse(double cx, double cy, double rx, double ry, TColor c);
    // What the clip lets through, with a margin, for cutting shapes down.
    Area visibleArea() const;
    // Whether the box stays within the device coordinates cairo can take.
    bool withinReach(double left, double top, double right, double bottom) const;

    cairo_t* cr;
    cairo_matrix_t deviceMatrix;
    cairo_surface_t* target = nullptr;
    bool direct = false; // drawing straight into the target's pixels
    double minHalfPen = 0; // half the narrowest pen, in units, on this target
    TPixelRaster raster;
    bool pixelsChanged = false; // written directly since cairo last looked
    bool cairoPending = true; // cairo may hold drawing not yet in the pixels
    THandle fontHandle; // the font `resolvedFont` was made for
    const TCairoFont* resolvedFont = nullptr;
    unsigned fontGeneration = 0;
};
