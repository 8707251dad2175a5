#pragma once
// The graph title dialog.

#include "framework/TDialog.h"

class TDlg11 : public TDialog {
public:
    explicit TDlg11(wxWindow* parent, int templateNumber = 11)
        : TDialog(parent, templateNumber)
    {
    }

protected:
    void setupWindow() override;
    void cmOk() override;
};
