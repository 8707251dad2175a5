#pragma once
// The Basics dialog: title, how many X labels and their divisions, and the
// four display options of a new graph.

#include "framework/TDialog.h"

class TDlg1 : public TDialog {
public:
    explicit TDlg1(wxWindow* parent, int templateNumber = 1);

protected:
    void cmOk() override;
};
