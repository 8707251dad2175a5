#pragma once
// The axis edits after a graph exists: Extend X-Axis (labels added to the
// right-hand end, or taken away) and Extend Y-Axis (a new, larger maximum).
// Each has one check, giving the window's own message, and one change that
// moves every point of every curve so that it keeps its label and its
// value. The dialogs check, the commands apply; nothing else knows the rules.

#include "document/GraphDocument.h"

#include <string>

// The pixels between two X labels for `count` labels: the band shared out,
// or none without labels.
int labelSpacingFor(int count);

struct AxisProblem {
    std::string text; // empty: the edit may go ahead
    std::string caption;
};

// Adding `extra` labels (negative: taking them away); 0 changes nothing.
struct XAxisExtension {
    int extra = 0;
    AxisProblem problem(const GraphDocument& d) const;
    void apply(GraphDocument& d) const;
};

// The Y range the points stand on: the one set, or without one the heights
// 0..360 that point entry takes.
struct YRange {
    float min = 0;
    float max = 0;
};
YRange currentYRange(const GraphDocument& d);

// A new maximum for the Y range the points stand on, the minimum kept.
struct YAxisExtension {
    YRange from;
    float newMax = 0;
    // `typed` is the text the maximum was read from.
    std::string problem(const GraphDocument& d, const std::string& typed) const;
    // Moves every point to the row that shows its value on the new range;
    // the range itself is the Y-Scale dialog's to store.
    void movePoints(GraphDocument& d) const;
};

// Where Extend X-Axis moves a point at column x when the labelled ticks,
// oldTick pixels apart, come to lie newTick pixels apart.
int extendedColumn(int x, int oldTick, int newTick);
// Where Extend Y-Axis moves a point at row p from range `from` to `to`.
float extendedRow(float p, const YRange& from, const YRange& to);
