// The right mouse button: places the caption box once after the captions
// dialog, otherwise deletes the current curve's point nearest the cursor.

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "ui/TWndw.h"

void TWndw::evRButtonDown(int x, int y)
{
    if (doc.placingCaption) {
        doc.captionBoxX = x;
        doc.captionBoxY = y;
        doc.captionsPlaced = 1;
        doc.placingCaption = 0;
        return;
    }

    // A few pixels of reach, since Undo brings back a point taken by mistake;
    // a click farther from every point changes nothing.
    const int c = doc.currentCurve;
    const int i = pointNear(doc, c, x, y);
    if (i < 0)
        return;
    const int n = doc.pointCount[c];
    for (int k = i; k <= n - 2; ++k) {
        doc.pixelY[c][k] = doc.pixelY[c][k + 1];
        doc.pixelX[c][k] = doc.pixelX[c][k + 1];
        doc.valueY[c][k] = doc.valueY[c][k + 1];
    }
    doc.pointCount[c] = n - 1;
}
