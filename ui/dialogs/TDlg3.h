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

private:
    // Empty when the reduced dialog may take this typed maximum, otherwise
    // why not.
    std::string extensionProblem(const std::string& typed, float newMax) const;
};

// The Y range the points of the document stand on: the one set, or without
// one the heights 0..360 that point entry takes.
struct YRange {
    float min = 0;
    float max = 0;
};
YRange currentYRange();

// Where Extend Y-Axis moves a point at row p when the Y range `from` becomes
// `to` with the same minimum: it keeps its value.
float extendedRow(float p, const YRange& from, const YRange& to);
