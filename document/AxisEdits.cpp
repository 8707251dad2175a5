#include "document/AxisEdits.h"

#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace {
// Every used point of every curve.
template <class Visit> void forEachPoint(const GraphDocument& d, Visit visit)
{
    for (int c = 0; c < kCurveCount; ++c)
        for (int j = 0; j < std::clamp(d.pointCount[c], 0, kMaxPoints); ++j)
            visit(c, j);
}

// The labelled-tick distances before and after the extension; 0 before
// when the points have no labels to keep to.
struct Ticks {
    int oldTick = 0;
    int newTick = 0;
};

Ticks ticksFor(const GraphDocument& d, int extra)
{
    Ticks t;
    const int count = d.xLabelCount + extra;
    if (d.xLabelCount > 0)
        t.oldTick = majorTickSpacing(d.labelSpacing, d.divisionsPerLabel);
    if (count > 0)
        t.newTick = majorTickSpacing(labelSpacingFor(count), std::max(d.divisionsPerLabel, 1));
    return t;
}
} // namespace

int labelSpacingFor(int count) { return count > 0 ? PlotArea::labelBand / count : 0; }

int extendedColumn(int x, int oldTick, int newTick)
{
    if (oldTick <= 0 || oldTick == newTick)
        return x;
    const double moved = std::round(static_cast<double>(x - PlotArea::left) * newTick / oldTick);
    return PlotArea::left
        + static_cast<int>(std::clamp(moved, -PlotArea::coordinateBound, PlotArea::coordinateBound));
}

AxisProblem XAxisExtension::problem(const GraphDocument& d) const
{
    const int count = d.xLabelCount + extra;
    if (extra == 0)
        return {};
    if (count > kMaxLabels)
        return { "The maximum number of X-axis labels is 20", "Too Many Labels" };
    if (count < 1)
        return { d.xLabelCount > 0
                ? "The X-Axis must keep at least one label: no more than " + std::to_string(d.xLabelCount - 1)
                    + " can be removed"
                : std::string("The X-Axis has no labels yet: enter how many labels to add"),
            "Too Few Labels" };
    // Each label interval is drawn in steps of labelSpacing /
    // divisionsPerLabel pixels, which must not come to nothing. An axis
    // without divisions is drawn with one per label.
    const int divisions = std::max(d.divisionsPerLabel, 1);
    const int room = std::min(kMaxLabels, PlotArea::labelBand / divisions);
    if (count > room)
        return { "With " + std::to_string(divisions)
                + " divisions per label the X-Axis has room for no more than " + std::to_string(room)
                + " labels",
            "Too Many Labels" };
    // Fewer labels stretch the points to the right; none may pass the last
    // column a point can be typed at.
    const Ticks t = ticksFor(d, extra);
    bool beyond = false;
    forEachPoint(d, [&](int c, int j) {
        beyond = beyond
            || extendedColumn(d.pixelX[c][j], t.oldTick, t.newTick) > PlotArea::left + PlotArea::maxTypedX;
    });
    if (beyond)
        return { "Removing so many labels would move a point beyond the right-hand end of the X-Axis",
            "Too Few Labels" };
    return {};
}

void XAxisExtension::apply(GraphDocument& d) const
{
    if (extra == 0)
        return;
    // Every point keeps its place against its label. Without labels before
    // there is nothing to keep them against, and they stay where they are.
    const Ticks t = ticksFor(d, extra);
    forEachPoint(
        d, [&](int c, int j) { d.pixelX[c][j] = extendedColumn(d.pixelX[c][j], t.oldTick, t.newTick); });
    d.xLabelCount += extra;
    d.labelSpacing = labelSpacingFor(d.xLabelCount);
    // An axis first given labels here may never have had divisions; the
    // painter draws it with one per label, and so the graph is stored.
    if (d.divisionsPerLabel < 1)
        d.divisionsPerLabel = 1;
}

YRange currentYRange(const GraphDocument& d)
{
    if (d.yRangeSet)
        return { d.yMin, d.yMax };
    return { 0, static_cast<float>(PlotArea::ySpan) };
}

float extendedRow(float p, const YRange& from, const YRange& to)
{
    const double base = PlotArea::baseline;
    const double ratio = (static_cast<double>(from.max) - from.min) / (static_cast<double>(to.max) - to.min);
    return static_cast<float>(base - (base - p) * ratio);
}

std::string YAxisExtension::problem(const GraphDocument& d, const std::string& typed) const
{
    double typedMax = 0;
    if (!realNumberOf(typed, typedMax) || !(newMax > from.max))
        return "The new Maximum Y-Value must be a number above " + formatText("%g", from.max);
    const YRange to { from.min, newMax };
    if (std::string why = yRangeProblem(to.min, to.max); !why.empty())
        return why;
    // A range far narrower than the old one would throw the points off
    // anything a file can hold.
    bool lost = false;
    forEachPoint(d, [&](int c, int j) {
        const float row = extendedRow(d.pixelY[c][j], from, to);
        lost = lost || !std::isfinite(row) || std::fabs(row) > PlotArea::coordinateBound;
    });
    return lost ? kYTooLarge : std::string();
}

void YAxisExtension::movePoints(GraphDocument& d) const
{
    // Heights above the baseline shrink by old range / new range, for the
    // points of all three curves; unused slots hold no point and stay.
    const YRange to { from.min, newMax };
    forEachPoint(d, [&](int c, int j) { d.pixelY[c][j] = extendedRow(d.pixelY[c][j], from, to); });
}
