// Adding points: typed X and Y with Next Point, or a left click in the plot.

#include "document/CurveStatistics.h"
#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/TextHelpers.h"
#include "framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
// The entry boxes are read as a 24-byte buffer would hold them.
constexpr std::size_t kEntryChars = 23;

bool curveIsFull(TWndw& w, int c)
{
    if (doc.pointCount[c] < kMaxPoints)
        return false;
    w.messageBox(curveFullText(c), "Curve Overflow", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

// The mean shown under the graph must stay a number: on a Y range near the
// largest a float holds, a few values add up to more.
bool sumsOverflow(TWndw& w, int c, int x, float value)
{
    if (pointKeepsStatistics(doc, c, x, value))
        return false;
    w.messageBox(sumsOverflowText(c), "Point error", MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void xOffGraph(TWndw& w) { w.messageBox(kXOffGraph, "Point error", MB_OK); }

void yOffGraph(TWndw& w) { w.messageBox(kYOffGraph, "Point error", MB_OK); }

// A graph read from an old file can hold a Y range of zero: its points are
// shown where they were stored, but no value has a row on it.
bool noUsableYRange(TWndw& w)
{
    if (yRangeUsable(doc))
        return false;
    w.messageBox(kYRangeUnusable, "Point error", MB_OK);
    return true;
}
} // namespace

void TWndw::cmNextPoint()
{
    const int c = doc.currentCurve;
    if (noUsableYRange(*this))
        return;

    const std::string xText(leadingChars(controlText(IDC_XBOX), kEntryChars));
    if (xText.empty()) {
        messageBox("No Value for X inserted", "Data Error", MB_OK);
        return;
    }
    // A typo such as 1OO is refused, not read as the 1 it starts with.
    int x = 0;
    if (!wholeNumberOf(xText, x)) {
        messageBox("The X-value is not a number", "Data Error", MB_OK);
        return;
    }
    if (!typedXOnGraph(x)) {
        xOffGraph(*this);
        return;
    }

    const std::string yText(leadingChars(controlText(IDC_YBOX), kEntryChars));
    if (yText.empty()) {
        messageBox("No Value for Y inserted", "Data Error", MB_OK);
        return;
    }
    float y = 0;
    if (!realNumberOf(yText, y)) {
        messageBox("The Y-value is not a number", "Data Error", MB_OK);
        return;
    }
    if (!typedYOnGraph(doc, y)) {
        yOffGraph(*this);
        return;
    }
    if (curveIsFull(*this, c) || sumsOverflow(*this, c, x + PlotArea::left, y))
        return;
    addTypedPoint(doc, c, x, y);

    setControlText(IDC_XBOX, "");
    setControlText(IDC_YBOX, "");
    // The next point is typed straight away, X first.
    control(IDC_XBOX)->SetFocus();
}

void TWndw::evLButtonDown(int x, int y)
{
    const int c = doc.currentCurve;
    if (noUsableYRange(*this))
        return;
    if (x > PlotArea::right || x < PlotArea::left) {
        xOffGraph(*this);
        return;
    }
    if (y > PlotArea::bottom || y < PlotArea::clickTop) {
        yOffGraph(*this);
        return;
    }
    const float value = pixelYToValue(doc, static_cast<float>(y));
    if (!std::isfinite(value)) {
        yOffGraph(*this);
        return;
    }
    if (curveIsFull(*this, c) || sumsOverflow(*this, c, x, value))
        return;

    const int n = doc.pointCount[c];
    const int i = insertionIndex(doc, c, x);
    for (int k = n; k > i; --k) {
        doc.pixelX[c][k] = doc.pixelX[c][k - 1];
        doc.pixelY[c][k] = doc.pixelY[c][k - 1];
        doc.valueY[c][k] = doc.valueY[c][k - 1];
    }
    doc.pixelX[c][i] = x;
    doc.pixelY[c][i] = static_cast<float>(y);
    doc.valueY[c][i] = value;
    doc.pointCount[c] = n + 1;
    sortCurve();
}
