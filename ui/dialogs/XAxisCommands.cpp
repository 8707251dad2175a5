// Edit Labels and Extend X-Axis. Both leave the stored record up to date and
// the window repainted; the edit path counts what they change.

#include "document/AxisEdits.h"
#include "document/GraphDocument.h"
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
}

void TWndw::cmExtendXAxis()
{
    int extraLabels = 0;
    if (TDlg8(this, extraLabels).execute() != IDOK)
        return;

    // The dialog has checked the extension; 0 changes nothing.
    XAxisExtension { extraLabels }.apply(doc);

    packRecord();
    // The moved points are on screen, whole, before the message is read.
    repaint();
    client()->Update();
    messageBox("You should now use the 'Extras|Edit Labels' option to Add or Edit the new labels you need.",
        "Next Step", MB_OK);
}
