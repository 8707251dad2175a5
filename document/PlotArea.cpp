#include "document/PlotArea.h"

float valueToPixelY(const GraphDocument& d, float v)
{
    const long double base = PlotArea::baseline;
    if (d.yRangeSet)
        return static_cast<float>(base - (static_cast<long double>(v) - d.yMin) * d.yScale);
    return static_cast<float>(base - v);
}

float pixelYToValue(const GraphDocument& d, float y)
{
    const long double base = PlotArea::baseline;
    if (d.yRangeSet)
        return static_cast<float>((base - y) / d.yScale + d.yMin);
    return static_cast<float>(base - y);
}
