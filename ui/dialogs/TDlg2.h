#pragma once
// The X-label prompt: asks for the labels of a new graph one at a time and
// closes once xLabelTarget of them are stored.

#include "framework/TDialog.h"

class TDlg2 : public TDialog {
public:
    explicit TDlg2(wxWindow* parent, int templateNumber = 2);

protected:
    void setupWindow() override;
    void cmOk() override;
};
