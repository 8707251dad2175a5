#include "document/CurveStatistics.h"

#include "document/GraphRules.h"

#include <algorithm>
#include <cfloat>
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

        // Both sums are 32-bit: each addition is rounded before the next. Where
        // the compiler would keep more bits (x87), a volatile store forces it.
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
    using Sum = float;
#else
    using Sum = volatile float;
#endif
    Sum s = 0;
    for (int j = 0; j < n; ++j)
        s = s + values[j];
    stats.mean = averaged(s, values, n, false, n, wideOnOverflow);

    float a[kMaxPoints];
    std::copy(values, values + n, a);
    // Ascending, equal values kept in their order (0 and -0 compare equal
    // but are different bits). A value that is not a number has no place in
    // an ordering, so then neighbour exchanges on "strictly greater" decide,
    // which stay well-defined; a stable sort gives the same order otherwise.
    if (std::none_of(a, a + n, [](float v) { return std::isnan(v); }))
        std::stable_sort(a, a + n);
    else
        for (int i = n - 1; i >= 1; --i)
            for (int j = 0; j < i; ++j)
                if (a[j] > a[j + 1])
                    std::swap(a[j], a[j + 1]);

    Sum w = 0;
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
