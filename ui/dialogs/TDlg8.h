#pragma once
// The Extend X-Axis dialog: how many labels to add to the right-hand end of
// the X axis (or, negative, to take away).

#include "framework/TDialog.h"

class TDlg8 : public TDialog {
public:
    // On OK, extraLabels holds the number accepted; it is untouched otherwise.
    TDlg8(wxWindow* parent, int& extraLabels, int templateNumber = 8);

protected:
    void cmOk() override;

private:
    int& extraLabels;
};
