#include "files/RecordCheck.h"

#include "drawing/CurveStatistics.h"

#include <charconv>
#include <cmath>

namespace L = RecordLayout;

namespace {

// Shortest form that reads back as the same float, independent of locale.
std::string number(float v)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc {} ? std::string(buf, end) : std::string("?");
}

std::string number(std::int32_t v) { return std::to_string(v); }

bool terminated(const GraphRecord& rec, std::size_t offset, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        if (rec.bytes[offset + i] == 0)
            return true;
    return false;
}

bool withinPixels(double v) { return std::isfinite(v) && std::fabs(v) <= kPixelBound; }

std::string curveName(int c) { return "curve " + std::to_string(c + 1); }

std::string pointName(int c, int j) { return "point " + std::to_string(j + 1) + " of " + curveName(c); }

const std::string pixelRange = "; positions must lie within " + std::to_string(static_cast<long>(kPixelBound))
    + " pixels of the origin";

std::string checkCounts(const GraphRecord& rec)
{
    for (int c = 0; c < kCurveCount; ++c) {
        const std::int32_t n = getInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4);
        if (n < 0)
            return curveName(c) + " claims " + number(n) + " points; a point count cannot be negative";
        if (n > kMaxPoints)
            return curveName(c) + " claims " + number(n) + " points; a curve holds at most "
                + std::to_string(kMaxPoints);
    }
    const std::int32_t labels = getInt32(rec, L::xLabelCount);
    if (labels < 0 || labels > kMaxLabels)
        return "the graph claims " + number(labels) + " X-axis labels; a graph holds 0 to "
            + std::to_string(kMaxLabels);
    return {};
}

std::string checkTexts(const GraphRecord& rec)
{
    for (int i = 0; i < kMaxLabels; ++i)
        if (!terminated(rec, L::labelSlot(i), L::labelSlotSize))
            return "X-axis label " + std::to_string(i + 1) + " runs past the end of its "
                + std::to_string(L::labelSlotSize) + "-byte slot";
    for (int c = 0; c < kCurveCount; ++c)
        if (!terminated(rec, L::captionSlot(c), L::captionSlotSize))
            return "the caption of " + curveName(c) + " runs past the end of its "
                + std::to_string(L::captionSlotSize) + "-byte slot";
    if (!terminated(rec, L::title, L::titleSlotSize))
        return "the title runs past the end of its " + std::to_string(L::titleSlotSize) + "-byte slot";
    return {};
}

std::string checkYAxis(const GraphRecord& rec)
{
    const struct {
        std::size_t offset;
        const char* name;
    } scalars[] = {
        { L::yMin, "the Y minimum" },
        { L::yMax, "the Y maximum" },
        { L::yScale, "the Y scale" },
        { L::percentError, "the error-bar percentage" },
    };
    for (const auto& s : scalars) {
        const float v = getFloat32(rec, s.offset);
        if (!std::isfinite(v))
            return std::string(s.name) + " is " + number(v) + ", not a finite number";
    }
    // Beyond 100 the bars leave the plot, and the painter's arithmetic with
    // them; below 0 they would be drawn upside down.
    const float percent = getFloat32(rec, L::percentError);
    if (percent < 0 || percent > 100)
        return "the error-bar percentage is " + number(percent) + "; it must lie between 0 and 100";
    for (int k = 0; k < kYTickCount; ++k) {
        const float v = getFloat32(rec, L::yTicks + static_cast<std::size_t>(k) * 4);
        if (!std::isfinite(v))
            return "Y-axis value " + std::to_string(k + 1) + " is " + number(v) + ", not a finite number";
    }
    // Clicked rows are turned into values by dividing by the scale.
    if (getInt32(rec, L::yRangeSet) != 0 && getFloat32(rec, L::yScale) == 0)
        return "the Y axis has a range but a scale of 0 pixels per unit";
    // The error bars are drawn over the Y range times the scale, which for any
    // range the program sets up is the 360-pixel plot height.
    const long double height = (static_cast<long double>(getFloat32(rec, L::yMax)) - getFloat32(rec, L::yMin))
        * getFloat32(rec, L::yScale);
    if (!withinPixels(static_cast<double>(height)))
        return "the Y range (" + number(getFloat32(rec, L::yMin)) + " to " + number(getFloat32(rec, L::yMax))
            + ") at a scale of " + number(getFloat32(rec, L::yScale)) + " pixels per unit does not fit the plot";
    return {};
}

std::string checkPoints(const GraphRecord& rec)
{
    for (int c = 0; c < kCurveCount; ++c) {
        const std::int32_t n = getInt32(rec, L::pointCount + static_cast<std::size_t>(c) * 4);
        for (int j = 0; j < n; ++j) {
            const float x = getFloat32(rec, L::curveEntry(L::pixelX, c, j));
            const float y = getFloat32(rec, L::curveEntry(L::pixelY, c, j));
            const float v = getFloat32(rec, L::curveEntry(L::valueY, c, j));
            if (!withinPixels(x))
                return pointName(c, j) + " has the X position " + number(x) + pixelRange;
            if (!withinPixels(y))
                return pointName(c, j) + " has the Y position " + number(y) + pixelRange;
            if (!std::isfinite(v))
                return pointName(c, j) + " has the value " + number(v) + ", not a finite number";
        }
        float values[kMaxPoints];
        for (int j = 0; j < n; ++j)
            values[j] = getFloat32(rec, L::curveEntry(L::valueY, c, j));
        if (!statisticsHold(values, n))
            return "the values of " + curveName(c)
                + " add up to more than a 32-bit number holds, so its mean could not be shown";
    }
    return {};
}

std::string checkXAxis(const GraphRecord& rec)
{
    const std::int32_t spacing = getInt32(rec, L::labelSpacing);
    if (spacing < 0)
        return "the X-axis labels are " + number(spacing) + " pixels apart; the spacing cannot be negative";
    // Any divisions count is accepted: the painter draws an axis whose
    // divisions leave no whole step with one division per label. The program
    // itself can save such a pair (a label prompt cancelled on a graph whose
    // spacing was still 0), and a graph it saved must always open again.
    return {};
}

std::string checkCaptionBox(const GraphRecord& rec)
{
    const std::int32_t x = getInt32(rec, L::captionBoxX);
    const std::int32_t y = getInt32(rec, L::captionBoxY);
    if (!withinPixels(x) || !withinPixels(y))
        return "the caption box lies at (" + number(x) + ", " + number(y) + ")" + pixelRange;
    return {};
}

} // namespace

std::string checkRecord(const GraphRecord& rec)
{
    // Counts first: the point checks walk the arrays by them.
    for (auto check : { checkCounts, checkTexts, checkYAxis, checkPoints, checkXAxis, checkCaptionBox }) {
        std::string reason = check(rec);
        if (!reason.empty())
            return reason;
    }
    return {};
}
