#pragma once
// The fixed plot geometry in client-area pixels and the rules that turn Y
// values into pixel rows and back. Every rule works in extended precision
// from the stored 32-bit operands and rounds once, to a float.

#include "document/GraphDocument.h"

namespace PlotArea {
constexpr int left = 50; // frame's left edge, the Y axis, typed X 0
constexpr int right = 700; // frame's right edge, largest click column
constexpr int top = 20; // frame's top edge
constexpr int clickTop = 19; // one pixel above the frame
constexpr int bottom = 380; // frame's bottom edge, the X axis
constexpr int baseline = 378; // row of yMin, or of 0 without a Y range
constexpr int ySpan = 360; // pixels from yMin to yMax
constexpr int labelBand = 600; // width shared by the X labels
constexpr int maxTypedX = 670; // typed X 0..670 becomes pixelX 50..720
// The client area below the menu bar the whole layout was made for, which
// a printed page scales onto the paper.
constexpr int clientWidth = 742;
constexpr int clientHeight = 499;
// Largest distance from the origin, in pixels, of anything the graph
// places: a point, the caption box, the plot's height. The window is 750
// pixels wide; the bound leaves room for anything the axis commands can
// make, keeps every pixel sum far inside int, and what lies beyond it is
// drawn nowhere.
constexpr double coordinateBound = 1e6;
}

// Pixel row of a typed Y value. Both rules give an infinity (never a wrong
// finite number) when the result does not fit a float.
float valueToPixelY(const GraphDocument& d, float v);
// Y value of a clicked pixel row.
float pixelYToValue(const GraphDocument& d, float y);

// Pixels from one labelled tick of the X axis to the next, as the painter
// steps along it: whole subdivisions of the label spacing, or the spacing
// itself when the divisions leave no whole step.
int majorTickSpacing(int labelSpacing, int divisionsPerLabel);
