#pragma once
// The X-axis labels dialog: every existing X label and the graph title, to be
// retyped in one place.

#include "framework/TDialog.h"

class TDlg10 : public TDialog {
public:
    explicit TDlg10(wxWindow* parent, int templateNumber = 10);

protected:
    void setupWindow() override;
    void cmOk() override;
};
