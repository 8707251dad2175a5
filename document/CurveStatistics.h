#pragma once
// Mean and weighted mean of one curve's Y values. The weighted mean counts
// values near the middle of the sorted order more than those at either end.

#include "document/GraphDocument.h"

struct CurveStats {
    float mean = 0;
    float weightedMean = 0;
};

// For an empty curve both figures are 0: nothing is divided.
CurveStats curveStatistics(const GraphDocument& d, int c);
// The same for n values in the curve's order.
CurveStats curveStatistics(const float* values, int n);

// False when the 32-bit sums behind the two figures leave what a float holds
// for these values (in the curve's order). The figures are then worked out
// from wider sums, so they stay numbers; entry still keeps new points from
// pushing a curve there.
bool statisticsHold(const float* values, int n);
// Whether they still hold with a point of this value added to curve c at
// this pixel column, where entry would put it.
bool pointKeepsStatistics(const GraphDocument& d, int c, int pixelX, float value);
inline CurveStats curveStatistics(int c) { return curveStatistics(doc, c); }
