#include "document/GraphRules.h"

#include "document/CurveStatistics.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kOneNinth = 0.1111111111111111;
}

std::string yRangeProblem(float min, float max)
{
    const float range = max - min;
    if (range == 0)
        return "The Maximum Y-Value must differ from the Minimum Y-Value";
    const float scale = static_cast<float>(static_cast<long double>(PlotArea::ySpan) / range);
    if (!std::isfinite(range) || !std::isfinite(scale))
        return kYTooLarge;
    return {};
}

bool yRangeUsable(int rangeSet, float min, float max, float scale)
{
    if (!rangeSet)
        return true;
    if (!std::isfinite(min) || !std::isfinite(max) || !std::isfinite(scale) || scale == 0)
        return false;
    // The plot's height in pixels: positive whichever way the axis runs.
    const long double height = (static_cast<long double>(max) - min) * scale;
    return height > 0 && height <= PlotArea::coordinateBound;
}

bool yRangeUsable(const GraphDocument& d) { return yRangeUsable(d.yRangeSet, d.yMin, d.yMax, d.yScale); }

void computeYAxis(GraphDocument& d)
{
    const float range = d.yMax - d.yMin;
    d.yScale = static_cast<float>(static_cast<long double>(PlotArea::ySpan) / range);
    computeYTicks(d);
}

void computeYTicks(GraphDocument& d)
{
    const float range = d.yMax - d.yMin;
    const float step = static_cast<float>(static_cast<long double>(range) * kOneNinth);
    // Accumulated, each sum rounded to a float, rather than yMin + k * step.
    d.yTicks[0] = d.yMin;
    for (int k = 1; k < kYTickCount; ++k)
        d.yTicks[k] = d.yTicks[k - 1] + step;
}

std::string labelCountProblem(int count)
{
    if (count > kMaxLabels || count < 0)
        return "Illegal number, X-axis labels must be between 1 and 20 inclusive";
    return {};
}

std::string divisionsProblem(int labelCount, int divisions)
{
    if (labelCount <= 0)
        return {};
    const int most = PlotArea::labelBand / labelCount;
    if (divisions < 1 || divisions > most)
        return "Divisions per Label must be between 1 and " + std::to_string(most);
    return {};
}

bool percentAccepted(float value, bool typedEmpty) { return (value > 0 && value <= 100) || typedEmpty; }

bool typedXOnGraph(int typedX) { return typedX >= 0 && typedX <= PlotArea::maxTypedX; }

bool typedYOnGraph(const GraphDocument& d, float y)
{
    // Written so that a value that is not a number fails the test too. A
    // range whose maximum lies below its minimum draws its axis downwards;
    // what it shows is still on the graph, as clicks on it find.
    const float low = d.yMin <= d.yMax ? d.yMin : d.yMax;
    const float high = d.yMin <= d.yMax ? d.yMax : d.yMin;
    const bool inRange = d.yRangeSet ? (y >= low && y <= high) : (y >= 0 && y <= PlotArea::ySpan);
    // Only a Y range read from a damaged file can make the row infinite; the
    // point could be neither drawn nor saved.
    return inRange && std::isfinite(valueToPixelY(d, y));
}

EntryProblem typedPointProblem(const GraphDocument& d, int c, int typedX, float y)
{
    if (!typedXOnGraph(typedX))
        return { kXOffGraph, "Point error" };
    if (!typedYOnGraph(d, y))
        return { kYOffGraph, "Point error" };
    return joinProblem(d, c, typedX + PlotArea::left, y);
}

std::string curveFullText(int c)
{
    return formatText("You already have the mzximum number of points (250) in Curve No.%d", c + 1);
}

std::string sumsOverflowText(int c)
{
    return formatText("The values of Curve No.%d would add up to more than the program can hold, "
                      "so the point was not added.",
        c + 1);
}

EntryProblem readTypedX(std::string_view text, int& typedX)
{
    const std::string_view read = leadingChars(text, kEntryChars);
    if (read.empty())
        return { "No Value for X inserted", "Data Error" };
    // A typo such as 1OO is refused, not read as the 1 it starts with.
    int x = 0;
    if (!wholeNumberOf(read, x))
        return { "The X-value is not a number", "Data Error" };
    if (!typedXOnGraph(x))
        return { kXOffGraph, "Point error" };
    typedX = x;
    return {};
}

EntryProblem readTypedY(const GraphDocument& d, std::string_view text, float& y)
{
    const std::string_view read = leadingChars(text, kEntryChars);
    if (read.empty())
        return { "No Value for Y inserted", "Data Error" };
    float value = 0;
    if (!realNumberOf(read, value))
        return { "The Y-value is not a number", "Data Error" };
    if (!typedYOnGraph(d, value))
        return { kYOffGraph, "Point error" };
    y = value;
    return {};
}

EntryProblem yRangeEntryProblem(const GraphDocument& d)
{
    if (yRangeUsable(d))
        return {};
    return { kYRangeUnusable, "Point error" };
}

EntryProblem joinProblem(const GraphDocument& d, int c, int pixelX, float value)
{
    if (d.pointCount[c] >= kMaxPoints)
        return { curveFullText(c), "Curve Overflow", true };
    // The mean shown under the graph must stay a number: on a Y range near
    // the largest a float holds, a few values add up to more.
    if (!pointKeepsStatistics(d, c, pixelX, value))
        return { sumsOverflowText(c), "Point error", true };
    return {};
}

void addTypedPoint(GraphDocument& d, int c, int typedX, float y)
{
    const int n = d.pointCount[c];
    d.pixelY[c][n] = valueToPixelY(d, y);
    d.valueY[c][n] = y;
    d.pixelX[c][n] = typedX + PlotArea::left;
    d.pointCount[c] = n + 1;
    sortCurve(d, c);
}

int insertionIndex(const GraphDocument& d, int c, int pixelX)
{
    int i = 0;
    while (i < d.pointCount[c] && d.pixelX[c][i] <= pixelX)
        ++i;
    return i;
}

int pointNear(const GraphDocument& d, int c, int x, int y)
{
    int nearest = -1;
    double best = 0;
    const int n = std::clamp(d.pointCount[c], 0, kMaxPoints);
    for (int i = 0; i < n; ++i) {
        const double dx = static_cast<double>(x) - d.pixelX[c][i];
        const double dy = static_cast<double>(y) - d.pixelY[c][i];
        if (std::fabs(dx) > kPointReach || std::fabs(dy) > kPointReach)
            continue;
        const double distance = dx * dx + dy * dy;
        if (nearest < 0 || distance < best) {
            nearest = i;
            best = distance;
        }
    }
    return nearest;
}
