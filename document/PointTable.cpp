#include "document/PointTable.h"

#include "document/PlotArea.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>

int pointRowCount(const GraphDocument& d)
{
    int n = 0;
    for (int c = 0; c < kCurveCount; ++c)
        n += std::clamp(d.pointCount[c], 0, kMaxPoints);
    return n;
}

PointRef pointOfRow(const GraphDocument& d, int row)
{
    for (int c = 0; c < kCurveCount; ++c) {
        const int n = std::clamp(d.pointCount[c], 0, kMaxPoints);
        if (row < n)
            return { c, row };
        row -= n;
    }
    return { kCurveCount, 0 };
}

int rowOfPoint(const GraphDocument& d, PointRef p)
{
    int row = p.slot;
    for (int c = 0; c < p.curve && c < kCurveCount; ++c)
        row += std::clamp(d.pointCount[c], 0, kMaxPoints);
    return row;
}

bool holdsPoint(const GraphDocument& d, PointRef p)
{
    return p.curve >= 0 && p.curve < kCurveCount && p.slot >= 0
        && p.slot < std::clamp(d.pointCount[p.curve], 0, kMaxPoints);
}

int typedXOf(const GraphDocument& d, PointRef p) { return d.pixelX[p.curve][p.slot] - PlotArea::left; }

std::string labelUnder(const GraphDocument& d, int pixelX)
{
    // The painter writes label n in the middle of the n-th span between the
    // labelled ticks, as far as the label band reaches.
    const int span = majorTickSpacing(d.labelSpacing, d.divisionsPerLabel);
    const long long offset = static_cast<long long>(pixelX) - PlotArea::left;
    if (span <= 0 || offset < 0)
        return {};
    const long long n = offset / span;
    if (n >= kMaxLabels || n * span > PlotArea::labelBand)
        return {};
    const char* text = d.xLabels[n];
    return std::string(text, std::find(text, text + kLabelTextSize, '\0'));
}

std::string valueText(float value, char decimal)
{
    if (!std::isfinite(value))
        return std::to_string(value);
    char buffer[64];
    std::to_chars_result out {};
    for (int decimals = 0; decimals <= 6; ++decimals) {
        out = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        float back = 0;
        std::from_chars(buffer, out.ptr, back);
        if (back == value)
            break;
    }
    std::string text(buffer, out.ptr);
    // Six decimals would show a value too small for them as a zero.
    if (value != 0 && text.find_first_not_of("-0.") == std::string::npos)
        text.assign(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    std::replace(text.begin(), text.end(), '.', decimal);
    return text == "-0" ? "0" : text;
}

std::string shownRow(const GraphDocument& d, PointRef p, char decimal)
{
    return std::to_string(p.curve + 1) + '\t' + std::to_string(typedXOf(d, p)) + '\t'
        + labelUnder(d, d.pixelX[p.curve][p.slot]) + '\t' + valueText(d.valueY[p.curve][p.slot], decimal);
}

namespace {
struct Slot {
    int x;
    float pixelY, valueY;
};

Slot takeOut(GraphDocument& d, PointRef p)
{
    const int c = p.curve;
    const Slot s { d.pixelX[c][p.slot], d.pixelY[c][p.slot], d.valueY[c][p.slot] };
    const int n = d.pointCount[c];
    std::copy(d.pixelX[c] + p.slot + 1, d.pixelX[c] + n, d.pixelX[c] + p.slot);
    std::copy(d.pixelY[c] + p.slot + 1, d.pixelY[c] + n, d.pixelY[c] + p.slot);
    std::copy(d.valueY[c] + p.slot + 1, d.valueY[c] + n, d.valueY[c] + p.slot);
    d.pointCount[c] = n - 1;
    return s;
}

// Where entry would put it: after every point at or left of its column.
int putIn(GraphDocument& d, int c, const Slot& s)
{
    const int n = d.pointCount[c];
    const int i = insertionIndex(d, c, s.x);
    std::copy_backward(d.pixelX[c] + i, d.pixelX[c] + n, d.pixelX[c] + n + 1);
    std::copy_backward(d.pixelY[c] + i, d.pixelY[c] + n, d.pixelY[c] + n + 1);
    std::copy_backward(d.valueY[c] + i, d.valueY[c] + n, d.valueY[c] + n + 1);
    d.pixelX[c][i] = s.x;
    d.pixelY[c][i] = s.pixelY;
    d.valueY[c][i] = s.valueY;
    d.pointCount[c] = n + 1;
    return i;
}

// Moves the point to its new column and value, when the curve's sums
// still hold with it there.
EntryProblem replacePoint(GraphDocument& d, PointRef& p, int pixelX, float value)
{
    auto trial = std::make_unique<GraphDocument>(d);
    const Slot old = takeOut(*trial, p);
    const float pixelY = value == old.valueY ? old.pixelY : valueToPixelY(d, value);
    if (EntryProblem why = joinProblem(*trial, p.curve, pixelX, value))
        return why;
    takeOut(d, p);
    p.slot = putIn(d, p.curve, { pixelX, pixelY, value });
    return {};
}
} // namespace

EntryProblem setPointY(GraphDocument& d, PointRef& p, std::string_view text)
{
    float y = 0;
    if (EntryProblem why = yRangeEntryProblem(d); why || (why = readTypedY(d, text, y)))
        return why;
    return replacePoint(d, p, d.pixelX[p.curve][p.slot], y);
}

EntryProblem setPointX(GraphDocument& d, PointRef& p, std::string_view text)
{
    int x = 0;
    if (EntryProblem why = readTypedX(text, x))
        return why;
    return replacePoint(d, p, x + PlotArea::left, d.valueY[p.curve][p.slot]);
}

EntryProblem insertPoint(
    GraphDocument& d, int c, std::string_view xText, std::string_view yText, PointRef& added)
{
    int x = 0;
    float y = 0;
    EntryProblem why = yRangeEntryProblem(d);
    if (why || (why = readTypedX(xText, x)) || (why = readTypedY(d, yText, y))
        || (why = joinProblem(d, c, x + PlotArea::left, y)))
        return why;
    added = { c, putIn(d, c, { x + PlotArea::left, valueToPixelY(d, y), y }) };
    return {};
}

void deletePoints(GraphDocument& d, std::vector<PointRef> points)
{
    // From the last slot backwards, so the slots still to go stay where they were.
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    for (auto it = points.rbegin(); it != points.rend(); ++it)
        if (holdsPoint(d, *it))
            takeOut(d, *it);
}
