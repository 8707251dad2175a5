#pragma once
// The Y-Scale dialog: Y range and error-bar size. New Graph shows it whole;
// with doc.extendingY set it asks only for a new maximum, for Extend Y-Axis.

#include "framework/TDialog.h"

#include <string>

class TDlg3 : public TDialog {
public:
    explicit TDlg3(wxWindow* parent, int templateNumber = 5);

protected:
    void setupWindow() override;
    void cmOk() override;

private:
    // Empty when the reduced dialog may take this maximum, otherwise why not.
    std::string extensionProblem(float newMax) const;
};

// The whole number by which Extend Y-Axis divides the heights of the points:
// the magnitudes of both maxima truncated toward zero, the new one divided by
// the old. 0 when there is none: the old maximum is less than 1 in size or
// the new one smaller than the old.
int yExtensionRatio(float oldMax, float newMax);

// Why Extend Y-Axis cannot work from the present maximum, for any new one.
extern const char* const noMaximumToExtend;
