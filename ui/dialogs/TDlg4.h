#pragma once
// The fixed-text windows of the Help menu. Their only button is Close, which
// has the Cancel id, so the framework's own Cancel closes them.

#include "framework/TDialog.h"

class TDlg4 : public TDialog {
public:
    TDlg4(wxWindow* parent, int templateNumber)
        : TDialog(parent, templateNumber)
    {
    }
};
