#include "drawing/CurveStatistics.h"

#include "document/GraphRules.h"

#include <algorithm>
#include <cmath>

CurveStats curveStatistics(const GraphDocument& d, int c)
{
    return curveStatistics(d.valueY[c], d.pointCount[c]);
}

namespace {
CurveStats statistics32(const float* values, int n, bool wideOnOverflow);
}

bool statisticsHold(const float* values, int n)
{
    // Once a sum overflows it stays infinite or becomes not a number, and
    // with finite sums both figures are finite.
    const CurveStats s = statistics32(values, n, false);
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

CurveStats curveStatistics(const float* values, int n) { return statistics32(values, n, true); }

namespace {
// The mean of finite floats always fits a float, even where their 32-bit
// sum does not (values near the float's limit, which an old file can hold):
// the figure is then worked out from the same additions in long double.
// `weighted` walks the nested ranges of the weighted mean.
float averaged(float sum32, const float* a, int n, bool weighted, long count, bool wideOnOverflow)
{
    if (std::isfinite(sum32) || !wideOnOverflow)
        return static_cast<float>(static_cast<long double>(sum32) / count);
    long double wide = 0;
    for (int lo = 0, hi = n; hi > lo; ++lo, --hi) {
        for (int i = lo; i < hi; ++i)
            wide += a[i];
        if (!weighted)
            break;
    }
    return static_cast<float>(wide / count);
}

CurveStats statistics32(const float* values, int n, bool wideOnOverflow)
{
    CurveStats stats;
    if (n <= 0 || n > kMaxPoints)
        return stats;

    // Both sums are 32-bit: each addition is rounded before the next, which
    // the volatile store forces even where the compiler would keep more bits.
    volatile float s = 0;
    for (int j = 0; j < n; ++j)
        s = s + values[j];
    stats.mean = averaged(s, values, n, false, n, wideOnOverflow);

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
    stats.weightedMean = averaged(w, a, n, true, count, wideOnOverflow);
    return stats;
}
} // namespace
