#include "drawing/GraphText.h"

#include "document/TextHelpers.h"
#include "drawing/Painter.h"

#include <algorithm>

namespace {
std::string slot(const char* text, std::size_t size)
{
    return std::string(text, std::find(text, text + size, '\0'));
}

// The statistics line's figures without its padding: "Mean = 28.38, Wtd-Mean = 28.38".
std::string figures(const GraphDocument& d, int c)
{
    const std::string line = statisticsLine(d, c);
    std::string out;
    for (char ch : line.substr(line.find(':') + 1))
        if (ch != ' ' || (!out.empty() && out.back() != ' '))
            out += ch;
    return std::string(trimmed(out));
}
} // namespace

std::string graphName(const GraphDocument& d)
{
    const std::string title(trimmed(slot(d.title, kTitleSize)));
    return title.empty() ? "Graph" : "Graph: " + title;
}

std::string graphDescription(const GraphDocument& d, char decimal)
{
    std::string text = d.yRangeSet
        ? "Y axis from " + valueText(d.yMin, decimal) + " to " + valueText(d.yMax, decimal) + "."
        : "No Y range: Y is the height above the X axis, 0 to 360.";
    std::string labels;
    for (int k = 0; d.yRangeSet && k < std::min(d.xLabelCount, kMaxLabels); ++k)
        if (const std::string label = slot(d.xLabels[k], kLabelTextSize); !label.empty())
            labels += (labels.empty() ? "" : ", ") + label;
    if (!labels.empty())
        text += " X labels: " + labels + ".";
    bool any = false;
    for (int c = 0; c < kCurveCount; ++c) {
        const int n = std::clamp(d.pointCount[c], 0, kMaxPoints);
        if (n == 0)
            continue;
        any = true;
        const std::string caption(trimmed(slot(d.captions[c], kCaptionSize)));
        text += " Curve " + std::to_string(c + 1) + (caption.empty() ? "" : ", " + caption) + ": "
            + std::to_string(n) + (n == 1 ? " point. " : " points. ") + figures(d, c) + ".";
    }
    return any ? text : text + " No points yet.";
}

std::string pointAnnouncement(const GraphDocument& d, PointRef p, char decimal)
{
    const std::string label = labelUnder(d, d.pixelX[p.curve][p.slot]);
    return "Curve " + std::to_string(p.curve + 1) + ", point " + std::to_string(p.slot + 1) + " of "
        + std::to_string(std::clamp(d.pointCount[p.curve], 0, kMaxPoints)) + ", "
        + (label.empty() ? "X " + std::to_string(typedXOf(d, p)) : label) + ", "
        + valueText(d.valueY[p.curve][p.slot], decimal);
}
