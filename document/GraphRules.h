#pragma once
// The rules a new graph and its points must pass, whether they come from the
// New Graph dialogs and the entry boxes or from gd2's graphs made of data.
// Each check gives the window's own message, or nothing when the value passes.

#include "document/GraphDocument.h"

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr const char* kYTooLarge = "The Y-Values are too large or too close together";
inline constexpr const char* kPercentProblem = "Error must be expressed as percentage";
inline constexpr const char* kLabelCharacterProblem = "This X-Label contains an illegal character.";
inline constexpr const char* kXOffGraph = "The X-value if off the graph!";
inline constexpr const char* kYOffGraph = "The Y-value if off the graph!";

// Pixels per Y unit are 360 / range: a range of zero has none, and one
// beyond the float range, or too narrow, has no usable scale.
std::string yRangeProblem(float min, float max);
// Whether points can be placed on the Y axis: it has no range at all
// (heights in pixels), or finite bounds and a scale that give every value in
// the range one row, from the bottom of the plot upwards. A graph read from
// an old file can have a range of zero or a scale that is not a number.
bool yRangeUsable(int rangeSet, float min, float max, float scale);
bool yRangeUsable(const GraphDocument& d);
inline constexpr const char* kYRangeUnusable
    = "This graph's Y range cannot place points: its lowest and highest values are the same, or not "
      "numbers. Set a Y range first.";
// Sets the ten Y-axis values from yMin and yMax, a ninth of the range apart.
void computeYTicks(GraphDocument& d);
// The same, and yScale.
void computeYAxis(GraphDocument& d);

// How many X labels may be asked for (0 means none).
std::string labelCountProblem(int count);
// Divisions per label for that many labels: each step of the X axis must be
// at least one pixel.
std::string divisionsProblem(int labelCount, int divisions);
// An empty percentage box stores 0; anything else must lie in (0, 100].
bool percentAccepted(float value, bool typedEmpty);

// Whether a typed X (0..670) lies on the graph.
bool typedXOnGraph(int typedX);
// Whether a typed Y lies in the range points are typed against and has a row.
bool typedYOnGraph(const GraphDocument& d, float y);
std::string curveFullText(int c);
std::string sumsOverflowText(int c);
// Why a typed entry was refused, in the words and under the caption the
// window shows; empty when it was taken.
struct EntryProblem {
    std::string text;
    std::string caption;
    bool warning = false; // shown with the exclamation mark
    explicit operator bool() const { return !text.empty(); }
};
// The entry boxes are read as a 24-byte buffer would hold them.
inline constexpr std::size_t kEntryChars = 23;
// Next Point's reading of the X box: a whole number (the whole text), on
// the graph.
EntryProblem readTypedX(std::string_view text, int& typedX);
// Next Point's reading of the Y box: a real number (the whole text, a
// decimal comma allowed), in the range points are typed against.
EntryProblem readTypedY(const GraphDocument& d, std::string_view text, float& y);
// A graph read from an old file can hold a Y range no point can be placed on.
EntryProblem yRangeEntryProblem(const GraphDocument& d);
// Whether a point at this pixel column and value may join curve c: the curve
// has room, and the sums behind its statistics still hold.
EntryProblem joinProblem(const GraphDocument& d, int c, int pixelX, float value);
// Why a typed point (X as typed, 0..670) cannot join curve c, in the order
// the window checks: X, Y, room in the curve, the sums behind its statistics.
EntryProblem typedPointProblem(const GraphDocument& d, int c, int typedX, float y);
// Appends the point and sorts the curve, as Next Point does.
void addTypedPoint(GraphDocument& d, int c, int typedX, float y);
// How far, in pixels across and down, a right click reaches for a point.
inline constexpr int kPointReach = 4;
// The point of curve c nearest to the click at (x, y) among those within
// kPointReach of it both ways (the row compared with the stored float), the
// lower slot when two are as near; -1 when none is that close.
int pointNear(const GraphDocument& d, int c, int x, int y);
// Where a point at this pixel column goes: after every point at or left of
// it, so equal columns keep the order they were entered in.
int insertionIndex(const GraphDocument& d, int c, int pixelX);
