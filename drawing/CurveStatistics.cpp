#include "drawing/CurveStatistics.h"

#include "document/GraphRules.h"

#include <algorithm>
#include <cmath>

CurveStats curveStatistics(const GraphDocument& d, int c)
{
    return curveStatistics(d.valueY[c], d.pointCount[c]);
}

bool statisticsHold(const float* values, int n)
{
    // Once a sum overflows it stays infinite or becomes not a number, and
    // with finite sums both figures are finite.
    const CurveStats s = curveStatistics(values, n);
    return std::isfinite(s.mean) && std::isfinite(s.weightedMean);
}

bool pointKeepsStatistics(const GraphDocument& d, int c, int pixelX, float value)
{
    const int n = d.pointCount[c];
    if (n >= kMaxPoints)
        return false;
    float values[kMaxPoints];
    const int at = insertionIndex(d, c, pixelX);
    std::copy(d.valueY[c], d.valueY[c] + at, values);
    values[at] = value;
    std::copy(d.valueY[c] + at, d.valueY[c] + n, values + at + 1);
    return statisticsHold(values, n + 1);
}

CurveStats curveStatistics(const float* values, int n)
{
    CurveStats stats;
    if (n <= 0 || n > kMaxPoints)
        return stats;

    // Both sums are 32-bit: each addition is rounded before the next, which
    // the volatile store forces even where the compiler would keep more bits.
    volatile float s = 0;
    for (int j = 0; j < n; ++j)
        s = s + values[j];
    stats.mean = static_cast<float>(static_cast<long double>(s) / n);

    float a[kMaxPoints];
    std::copy(values, values + n, a);
    // Neighbour exchanges on "strictly greater": unlike std::sort this stays
    // well-defined even if a value is not a number.
    for (int i = n - 1; i >= 1; --i)
        for (int j = 0; j < i; ++j)
            if (a[j] > a[j + 1])
                std::swap(a[j], a[j + 1]);

    volatile float w = 0;
    long count = 0;
    for (int lo = 0, hi = n; hi > lo; ++lo, --hi) {
        for (int i = lo; i < hi; ++i) {
            w = w + a[i];
            ++count;
        }
    }
    stats.weightedMean = static_cast<float>(static_cast<long double>(w) / count);
    return stats;
}
