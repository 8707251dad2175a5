#pragma once
// The Basics dialog: title, how many X labels and their divisions, and the
// four display options of a new graph.

#include "framework/TDialog.h"

class TDlg1 : public TDialog {
public:
    // `labelTarget` receives how many labels were asked for.
    TDlg1(wxWindow* parent, int& labelTarget, int templateNumber = 1);

protected:
    void cmOk() override;

private:
    int& labelTarget;
};
