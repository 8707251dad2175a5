// Extras menu: "Add/Change  Graph Title" and "Add/Move  Captions". A changed
// text counts as unsaved work, as every stored change does (see TWndw).

#include "ui/TWndw.h"
#include "ui/dialogs/TDlg11.h"
#include "ui/dialogs/TDlg9.h"

void TWndw::cmGraphTitle() { TDlg11(this).execute(); }

void TWndw::cmCaptions()
{
    // The box is placed, and the window repainted, by the next right click.
    TDlg9(this).execute();
}
