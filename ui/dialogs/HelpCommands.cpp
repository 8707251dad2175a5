// Help menu: four windows of fixed text, closed with their Close button.

#include "ui/TWndw.h"
#include "ui/dialogs/TDlg4.h"

void TWndw::cmGeneralHelp() { TDlg4(this, 3).execute(); }

void TWndw::cmAddingPoints() { TDlg4(this, 6).execute(); }

void TWndw::cmDeletingPoints() { TDlg4(this, 7).execute(); }

void TWndw::cmAbout() { TDlg4(this, 4).execute(); }
