#pragma once
// The plot as a control of its own: it shows the window's picture of the
// plot, takes the clicks there, takes the keyboard focus in its place in the
// Tab order and tells a screen reader what the graph holds. With the focus,
// the arrow keys step through the current curve's points (each one said),
// Delete deletes the point stepped to, and while the caption box waits to be
// placed the arrow keys move its outline and Enter places it.

#include "document/PointTable.h"

#include <wx/window.h>

class TWndw;

class PlotView : public wxWindow {
public:
    // The plot's place in the client area: every column and row a click may
    // add a point in.
    static constexpr int left = 50, top = 19, width = 651, height = 362;

    PlotView(TWndw& owner, wxWindow* parent);
    ~PlotView() override;

    // The point of the current curve the arrow keys stepped to, or -1.
    int steppedPoint() const { return stepped; }
    // Where the caption box goes when Enter places it (client pixels).
    wxPoint captionOutline() const { return outline; }
    // After the captions dialog: the outline shows and the keys move it.
    void startPlacingCaptions();

private:
    void describeGraph();
    void onPaint(wxPaintEvent& event);
    void onMouse(wxMouseEvent& event);
    void onKey(wxKeyEvent& event);
    void stepTo(int slot);
    void deleteStepped();
    void moveOutline(int dx, int dy);

    TWndw& owner;
    int listener = 0;
    int stepped = -1;
    wxPoint outline;
};
