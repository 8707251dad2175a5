// Extend Y-Axis: a new, larger maximum for the Y axis, and every plotted
// point moved so that it still reads its own value on the taller axis. The
// Y-Scale dialog's OK marks the graph as changed; the command itself does
// not.

#include "document/AxisEdits.h"
#include "document/GraphDocument.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg3.h"

void TWndw::cmExtendYAxis()
{
    const YRange from = currentYRange(doc);
    if (TDlg3(this, YScaleMode::extend).execute() != IDOK)
        return;

    YAxisExtension { from, doc.yMax }.movePoints(doc);

    packRecord();
}
