// The right mouse button: places the caption box once after the captions
// dialog, otherwise deletes the current curve's point under the cursor.

#include "document/GraphDocument.h"
#include "ui/TWndw.h"

void TWndw::evRButtonDown(int x, int y)
{
    if (doc.placingCaption) {
        doc.captionBoxX = x;
        doc.captionBoxY = y;
        doc.captionsPlaced = 1;
        doc.placingCaption = 0;
        repaint();
        return;
    }

    const int c = doc.currentCurve;
    const int n = doc.pointCount[c];
    for (int i = 0; i < n; ++i) {
        // Columns compare as whole pixels; the row against the stored float,
        // so a fractional row shifts the 3 x 3 square by its fraction.
        const bool hitX = doc.pixelX[c][i] - 1 <= x && x <= doc.pixelX[c][i] + 1;
        const bool hitY = doc.pixelY[c][i] - 1 <= y && y <= doc.pixelY[c][i] + 1;
        if (hitX && hitY) {
            for (int k = i; k <= n - 2; ++k) {
                doc.pixelY[c][k] = doc.pixelY[c][k + 1];
                doc.pixelX[c][k] = doc.pixelX[c][k + 1];
                doc.valueY[c][k] = doc.valueY[c][k + 1];
            }
            doc.pointCount[c] = n - 1;
            // Only a deleted point is a change; a click on empty plot is not.
            doc.dirty = 1;
            repaint();
            return;
        }
    }
}
