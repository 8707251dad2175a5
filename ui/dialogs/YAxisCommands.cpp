// Extend Y-Axis: a new, larger maximum for the Y axis, and every plotted
// point moved so that it still reads its own value on the taller axis. The
// Y-Scale dialog's OK marks the graph as changed; the command itself does
// not.

#include "document/GraphDocument.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg3.h"

#include <algorithm>

void TWndw::cmExtendYAxis()
{
    doc.extendingY = 1;
    const YRange from = currentYRange();
    if (TDlg3(this).execute() != IDOK)
        return;

    // Heights above the baseline shrink by old range / new range, for the
    // points of all three curves; unused slots hold no point and stay.
    const YRange to { doc.yMin, doc.yMax };
    for (int c = 0; c < kCurveCount; ++c)
        for (int j = 0; j < std::clamp(doc.pointCount[c], 0, kMaxPoints); ++j)
            doc.pixelY[c][j] = extendedRow(doc.pixelY[c][j], from, to);

    packRecord();
    repaint();
}
