#include "document/PlotArea.h"

#include <cfloat>
#include <cmath>

namespace {
// Rounds once to a float; a result beyond the float range becomes an
// infinity instead of undefined behaviour, so callers can refuse it.
float toFloat(long double v)
{
    if (v > FLT_MAX)
        return HUGE_VALF;
    if (v < -FLT_MAX)
        return -HUGE_VALF;
    return static_cast<float>(v);
}
} // namespace

float valueToPixelY(const GraphDocument& d, float v)
{
    const long double base = PlotArea::baseline;
    if (d.yRangeSet)
        return toFloat(base - (static_cast<long double>(v) - d.yMin) * d.yScale);
    return toFloat(base - v);
}

float pixelYToValue(const GraphDocument& d, float y)
{
    const long double base = PlotArea::baseline;
    if (d.yRangeSet)
        return toFloat((base - y) / d.yScale + d.yMin);
    return static_cast<float>(base - y);
}

int majorTickSpacing(int labelSpacing, int divisionsPerLabel)
{
    const int step = divisionsPerLabel > 0 ? labelSpacing / divisionsPerLabel : 0;
    return step > 0 ? step * divisionsPerLabel : labelSpacing;
}
