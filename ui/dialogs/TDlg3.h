#pragma once
// The Y-Scale dialog: Y range and error-bar size. New Graph shows it whole;
// with doc.extendingY set it asks only for a new maximum, for Extend Y-Axis.

#include "framework/TDialog.h"

#include <string>

struct GraphDocument;

class TDlg3 : public TDialog {
public:
    explicit TDlg3(wxWindow* parent, int templateNumber = 5);

protected:
    void setupWindow() override;
    void cmOk() override;
};
