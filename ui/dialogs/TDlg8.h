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

// Where Extend X-Axis moves a point at column x when the labelled ticks,
// oldTick pixels apart, come to lie newTick pixels apart: it keeps its place
// within its label interval, measured from the Y axis.
int extendedColumn(int x, int oldTick, int newTick);

// The labelled-tick distances before and after adding `extra` labels to the
// document's axis; 0 before when the points have no labels to keep to.
struct XExtension {
    int oldTick = 0;
    int newTick = 0;
};
XExtension xExtension(int extra);
