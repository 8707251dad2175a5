#pragma once
// Mean and weighted mean of one curve's Y values, worked out afresh on every
// paint. The weighted mean counts values near the middle of the sorted order
// more than those at either end.

#include "document/GraphDocument.h"

struct CurveStats {
    float mean = 0;
    float weightedMean = 0;
};

// For an empty curve both figures are 0: nothing is divided.
CurveStats curveStatistics(const GraphDocument& d, int c);
inline CurveStats curveStatistics(int c) { return curveStatistics(doc, c); }
