#pragma once
// The curve captions dialog. Its OK also arms caption placement: the next
// right click in the main window puts the caption box there.

#include "framework/TDialog.h"

class TDlg9 : public TDialog {
public:
    explicit TDlg9(wxWindow* parent, int templateNumber = 9)
        : TDialog(parent, templateNumber)
    {
    }

protected:
    void setupWindow() override;
    void cmOk() override;
};
