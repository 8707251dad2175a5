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
    // A new graph is about something else: the last one's captions and their
    // box would speak of curves that are gone, and Save must not write it over
    // the file the last one came from.
    for (auto& caption : doc.captions)
        caption[0] = 0;
    doc.captionBoxX = 0;
    doc.captionBoxY = 0;
    doc.captionsPlaced = 0;
    doc.placingCaption = 0;
    doc.fileName.clear();
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
