// Adding points: typed X and Y with Next Point, or a left click in the plot.

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "document/PointTable.h"
#include "framework/Accessible.h"
#include "framework/MessageBox.h"
#include "framework/UserLocale.h"
#include "resources/CommandIds.h"
#include "ui/Refusal.h"
#include "ui/TWndw.h"

#include <algorithm>
#include <cmath>
#include <string>

void TWndw::cmNextPoint()
{
    const int c = doc.currentCurve;
    int x = 0;
    float y = 0;
    if (showRefusal(this, yRangeEntryProblem(doc)) || showRefusal(this, readTypedX(controlText(IDC_XBOX), x))
        || showRefusal(this, readTypedY(doc, controlText(IDC_YBOX), y))
        || showRefusal(this, joinProblem(doc, c, x + PlotArea::left, y)))
        return;
    addTypedPoint(doc, c, x, y);

    setControlText(IDC_XBOX, "");
    setControlText(IDC_YBOX, "");
    // The next point is typed straight away, X first.
    control(IDC_XBOX)->SetFocus();
    const int n = doc.pointCount[c];
    announce("Point added to curve " + std::to_string(c + 1) + ": X " + std::to_string(x) + ", "
        + valueText(y, userDecimalPoint()) + "; " + std::to_string(n) + (n == 1 ? " point" : " points"));
}

void TWndw::evLButtonDown(int x, int y)
{
    const int c = doc.currentCurve;
    if (showRefusal(this, yRangeEntryProblem(doc)))
        return;
    if (x > PlotArea::right || x < PlotArea::left) {
        showRefusal(this, { kXOffGraph, "Point error" });
        return;
    }
    const float value = pixelYToValue(doc, static_cast<float>(y));
    if (y > PlotArea::bottom || y < PlotArea::clickTop || !std::isfinite(value)) {
        showRefusal(this, { kYOffGraph, "Point error" });
        return;
    }
    if (showRefusal(this, joinProblem(doc, c, x, value)))
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
