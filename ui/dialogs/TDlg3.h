#pragma once
// The Y-Scale dialog: Y range and error-bar size. New Graph shows it whole;
// for Extend Y-Axis it asks only for a new maximum.

#include "framework/TDialog.h"

#include <string>

struct GraphDocument;

enum class YScaleMode { newGraph, extend };

class TDlg3 : public TDialog {
public:
    explicit TDlg3(wxWindow* parent, YScaleMode mode = YScaleMode::newGraph, int templateNumber = 5);

protected:
    void setupWindow() override;
    void cmOk() override;

private:
    bool extending;
};
