// Extend Y-Axis: a new, larger maximum for the Y axis, and the current
// curve moved down to match. The Y-Scale dialog's OK marks the graph as
// changed; the command itself does not.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg3.h"

void TWndw::cmExtendYAxis()
{
    doc.extendingY = 1;
    const float oldMax = doc.yMax;
    // Heights are divided by new maximum / old maximum in whole numbers;
    // below 1 there is nothing to divide by, whatever is typed.
    if (yExtensionRatio(oldMax, oldMax) == 0) {
        messageBox(noMaximumToExtend, "Data Error", MB_OK);
        return;
    }
    if (TDlg3(this).execute() != IDOK)
        return;

    // The dialog takes no maximum without a ratio of at least 1.
    const int ratio = yExtensionRatio(oldMax, doc.yMax);
    if (ratio > 0) {
        // Every slot, in use or not, each step rounded to a float: heights
        // above the baseline shrink by the ratio, and the point drops one
        // more row.
        const float by = static_cast<float>(ratio);
        for (float& p : doc.pixelY[doc.currentCurve]) {
            p = PlotArea::baseline - p;
            p = p / by;
            p = PlotArea::baseline - p;
            p = p + 1;
        }
    }

    packRecord();
    repaint();
}
