// Extras menu: "Add/Change  Graph Title" and "Add/Move  Captions". Neither
// marks the graph as changed.

#include "ui/TWndw.h"
#include "ui/dialogs/TDlg11.h"
#include "ui/dialogs/TDlg9.h"

void TWndw::cmGraphTitle()
{
    TDlg11(this).execute();
    repaint();
}

void TWndw::cmCaptions()
{
    // The box is placed, and the window repainted, by the next right click.
    TDlg9(this).execute();
}
