#pragma once
// The points as a table: one row a point, curve by curve, each curve in its
// order along X, and the edits a user makes on a row. Every edit reads the
// typed text by the rules of Next Point and says why it refused one in the
// same words; a refused edit leaves the graph as it was.

#include "document/GraphDocument.h"
#include "document/GraphRules.h"

#include <compare>
#include <string>
#include <string_view>
#include <vector>

// A point by its curve and its slot in that curve.
struct PointRef {
    int curve = 0;
    int slot = 0;
    auto operator<=>(const PointRef&) const = default;
};

int pointRowCount(const GraphDocument& d);
// The point in row `row` (0 <= row < pointRowCount), and the row of a point.
PointRef pointOfRow(const GraphDocument& d, int row);
int rowOfPoint(const GraphDocument& d, PointRef p);
bool holdsPoint(const GraphDocument& d, PointRef p);
// X as it is typed into the X box (pixelX - 50).
int typedXOf(const GraphDocument& d, PointRef p);
// The X label drawn over the column the point lies in, as its stored bytes;
// empty when none is.
std::string labelUnder(const GraphDocument& d, int pixelX);
// A value as a person reads it: as few decimals as give the stored value
// back, at most six (a value too small for six as its shortest exact form,
// 1e-07), with `decimal` as the decimal point.
std::string valueText(float value, char decimal);

// The row as the table shows it: curve (from 1), X as typed, label and Y,
// tab-separated.
std::string shownRow(const GraphDocument& d, PointRef p, char decimal);

// Gives the point the typed Y, or the typed X (which moves it along its
// curve); `p` follows the point to its new slot.
EntryProblem setPointY(GraphDocument& d, PointRef& p, std::string_view text);
EntryProblem setPointX(GraphDocument& d, PointRef& p, std::string_view text);
// Adds a point typed as X and Y to curve c, as Next Point would; `added` is
// where it went.
EntryProblem insertPoint(
    GraphDocument& d, int c, std::string_view xText, std::string_view yText, PointRef& added);
// Takes the points out; the others keep their order.
void deletePoints(GraphDocument& d, std::vector<PointRef> points);
