// New Graph: empties the document and leads through Basics, the label prompt
// and Y-Scale, as one change of the graph. A Cancel anywhere puts the graph
// back as it was before the command. Unsaved points are asked about first.

#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg1.h"
#include "ui/dialogs/TDlg2.h"
#include "ui/dialogs/TDlg3.h"

void TWndw::cmNewGraph()
{
    if (!mayDiscardChanges())
        return;
    clearGraph();

    if (TDlg1(this).execute() == IDCANCEL)
        return cancelEdit();

    if (doc.xLabelTarget > 0 && TDlg2(this).execute() == IDCANCEL)
        return cancelEdit();

    doc.labelSpacing = doc.xLabelCount > 0 ? PlotArea::labelBand / doc.xLabelCount : 0;

    if (doc.xLabelCount > 0 || doc.showErrorBars) {
        doc.extendingY = 0;
        if (TDlg3(this).execute() == IDCANCEL)
            return cancelEdit();
    } else if (doc.yRangeSet) {
        // The range kept from the last graph, with its scale, is the one
        // points are typed against: the axis must read it too, not the ten
        // zeros left by the clearing.
        computeYTicks(doc);
    }

    showErrorBarButton();
    repaint();
}
