// Edit Labels and Extend X-Axis. Both leave the stored record up to date and
// the window repainted; the edit path counts what they change.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg10.h"
#include "ui/dialogs/TDlg8.h"

#include <algorithm>
#include <wx/panel.h>

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

    // The dialog has made sure the new count is 1 to 20, leaves room for
    // the divisions and keeps every point on the axis; 0 changes nothing.
    if (extraLabels != 0) {
        // Every point of every curve keeps its place against its label.
        // Without labels before there is nothing to keep them against, and
        // they stay where they are.
        const XExtension e = xExtension(extraLabels);
        for (int c = 0; c < kCurveCount; ++c)
            for (int j = 0; j < std::clamp(doc.pointCount[c], 0, kMaxPoints); ++j)
                doc.pixelX[c][j] = extendedColumn(doc.pixelX[c][j], e.oldTick, e.newTick);
        doc.xLabelCount += extraLabels;
        doc.labelSpacing = PlotArea::labelBand / doc.xLabelCount;
        // An axis first given labels here may never have had divisions; the
        // painter draws it with one per label, and so the graph is stored.
        if (doc.divisionsPerLabel < 1)
            doc.divisionsPerLabel = 1;
    }

    packRecord();
    // The moved points are on screen, whole, before the message is read.
    repaint();
    client()->Update();
    messageBox("You should now use the 'Extras|Edit Labels' option to Add or Edit the new labels you need.",
        "Next Step", MB_OK);
}
