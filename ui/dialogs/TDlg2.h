#pragma once
// The X-label prompt: asks for the labels of a new graph one at a time and
// closes once as many as were asked for are stored.

#include "framework/TDialog.h"

class TDlg2 : public TDialog {
public:
    TDlg2(wxWindow* parent, int labelTarget, int templateNumber = 2);

protected:
    void setupWindow() override;
    void cmOk() override;

private:
    int labelTarget;
};
