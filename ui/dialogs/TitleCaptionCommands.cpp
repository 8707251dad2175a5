// Extras menu: "Add/Change  Graph Title" and "Add/Move  Captions". A changed
// text counts as unsaved work, as every stored change does (see TWndw).

#include "document/GraphDocument.h"
#include "ui/PlotView.h"
#include "ui/TWndw.h"
#include "ui/dialogs/TDlg11.h"
#include "ui/dialogs/TDlg9.h"

void TWndw::cmGraphTitle() { TDlg11(this).execute(); }

void TWndw::cmCaptions()
{
    // The box is placed, and the window repainted, by the next right click,
    // or from the keyboard on the plot, which takes the focus for it.
    TDlg9(this).execute();
    if (doc.placingCaption)
        plotView()->startPlacingCaptions();
}
