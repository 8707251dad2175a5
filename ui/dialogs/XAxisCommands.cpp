// Edit Labels and Extend X-Axis. Neither marks the graph as changed; both
// leave the stored record up to date and the window repainted.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg10.h"
#include "ui/dialogs/TDlg8.h"

void TWndw::cmEditLabels()
{
    // Cancel stores nothing, but the record is refreshed all the same.
    TDlg10(this).execute();
    packRecord();
    repaint();
}

void TWndw::cmExtendXAxis()
{
    int extraLabels = 0;
    if (TDlg8(this, extraLabels).execute() != IDOK)
        return;

    // The dialog has made sure the new count is 1 to 20 and leaves room
    // for the divisions.
    const int oldCount = doc.xLabelCount;
    const float shrinkFactor
        = static_cast<float>(static_cast<double>(extraLabels) / (oldCount + extraLabels));
    doc.xLabelCount = oldCount + extraLabels;
    doc.labelSpacing = PlotArea::labelBand / doc.xLabelCount;
    // An axis first given labels here may never have had divisions; the
    // painter draws it with one per label, and so the graph is stored.
    if (doc.divisionsPerLabel < 1)
        doc.divisionsPerLabel = 1;

    // The points keep their place against the labels: every column is
    // scaled by old count / new count, measured from column 0. Without
    // labels before there is nothing to keep them against, and scaling by
    // zero would pile every point onto column 0.
    if (oldCount > 0) {
        const int c = doc.currentCurve;
        for (int j = 0; j < doc.pointCount[c]; ++j) {
            const double x = doc.pixelX[c][j];
            doc.pixelX[c][j] = static_cast<int>(x - x * shrinkFactor);
        }
    }

    packRecord();
    messageBox("You should now use the 'Extras|Edit Labels' option to Add or Edit the new labels you need.",
        "Next Step", MB_OK);
    repaint();
}
