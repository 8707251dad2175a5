#pragma once
// A drawing context that writes SVG elements: texts as <text> in their font
// family, size and weight (editable and searchable in a drawing program, and
// read by any SVG reader), lines, boxes and ellipses as themselves. Texts
// are placed and measured exactly as the cairo context places them, with
// the same faces, so the picture matches the PNG but for antialiasing. The
// size is in pixels, and the bytes depend only on what is drawn.

#include "framework/dc/DCBase.h"

#include <string>
#include <vector>

// Where a drawing lies on its picture: its origin and the picture's units
// per drawing unit (a page's margin and its printer's grid).
struct SvgPlacement {
    double x = 0, y = 0, unit = 1;
};

class TSvgDC : public TDCBase {
public:
    // A picture of this many units on a background of this colour.
    TSvgDC(int width, int height, TColor background, SvgPlacement placement = {});

    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;
    bool LineTo(int x, int y) override;
    bool TextOut(int x, int y, std::string_view text) override;
    int IntersectClipRect(int left, int top, int right, int bottom) override;
    TSize GetTextExtentPoint(std::string_view text) override;
    int GetTextInkTop(std::string_view text) override;

    // Everything drawn, on the background, as a whole SVG document.
    std::string document() const;

protected:
    void stateSaved() override;
    void stateRestored(int levels) override;

private:
    struct Clip {
        bool on = false;
        double left = 0, top = 0, right = 0, bottom = 0;
        int id = 0;
    };
    // The element with the clip in force, if any.
    void add(const std::string& element);
    void box(double left, double top, double right, double bottom, TColor c);

    int width, height;
    TColor background;
    SvgPlacement placed;
    std::string defs, body;
    Clip clip;
    std::vector<Clip> savedClips;
    int clipCount = 0;
};
