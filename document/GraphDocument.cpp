#include "document/GraphDocument.h"

#include <utility>

GraphDocument doc;

void clearGraph()
{
    // Only the current curve's pixel slots are zeroed, and valueY not at all:
    // the other curves become empty through their counts alone.
    const int c = doc.currentCurve;
    for (int j = 0; j < kMaxPoints; ++j)
        doc.pixelY[c][j] = 0;
    for (int j = 0; j < kMaxPoints; ++j)
        doc.pixelX[c][j] = 0;
    for (auto& label : doc.xLabels)
        label[0] = 0;
    for (float& tick : doc.yTicks)
        tick = 0;
    for (int& count : doc.pointCount)
        count = 0;
    doc.xLabelCount = 0;
}

void sortCurve() { sortCurve(doc, doc.currentCurve); }

void sortCurve(GraphDocument& d, int c)
{
    const int n = d.pointCount[c];
    // Neighbour swaps on strictly greater columns only, so equal columns keep
    // the order in which they were entered.
    for (int i = n - 1; i >= 1; --i) {
        for (int j = 0; j <= i - 1; ++j) {
            if (d.pixelX[c][j] > d.pixelX[c][j + 1]) {
                std::swap(d.pixelX[c][j], d.pixelX[c][j + 1]);
                std::swap(d.pixelY[c][j], d.pixelY[c][j + 1]);
                std::swap(d.valueY[c][j], d.valueY[c][j + 1]);
            }
        }
    }
}
