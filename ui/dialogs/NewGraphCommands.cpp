// New Graph: empties the document and leads through Basics, the label prompt
// and Y-Scale, as one change of the graph. The new graph has no file, so
// Save asks for a name rather than writing over the old graph's file; Undo
// gives the old graph back with its file. A Cancel anywhere, even after an
// OK that was refused, puts the graph back exactly as it was before the
// command and leaves nothing to undo. Unsaved points are asked about first.

#include "document/AxisEdits.h"
#include "document/GraphDocument.h"
#include "document/GraphRules.h"
#include "document/PlotArea.h"
#include "framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg1.h"
#include "ui/dialogs/TDlg2.h"
#include "ui/dialogs/TDlg3.h"

#include <memory>

void TWndw::cmNewGraph()
{
    if (!mayDiscardChanges())
        return;
    // The dialogs write the document as they go; a Cancel puts it back whole.
    const auto cancelled = [this] { session().cancel(); };
    clearGraph();

    int labelTarget = 0;
    if (TDlg1(this, labelTarget).execute() == IDCANCEL)
        return cancelled();

    if (labelTarget > 0 && TDlg2(this, labelTarget).execute() == IDCANCEL)
        return cancelled();

    doc.labelSpacing = labelSpacingFor(doc.xLabelCount);

    if (doc.xLabelCount > 0 || doc.showErrorBars) {
        if (TDlg3(this).execute() == IDCANCEL)
            return cancelled();
    } else if (doc.yRangeSet) {
        // The range kept from the last graph, with its scale, is the one
        // points are typed against: the axis must read it too, not the ten
        // zeros left by the clearing.
        computeYTicks(doc);
    }
}
