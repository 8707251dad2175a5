// The four toggle pairs, the curve selectors and Thick Lines. Each toggle
// sets its option to exactly 1 or 0 whatever it was, so other handlers can
// run them to bring a pair of buttons into line with the document.

#include "document/GraphDocument.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"

#include <wx/window.h>

namespace {
void toggle(TWndw& w, int& option, int value, int hide, int show)
{
    option = value;
    // A button pressed from the keyboard hands the focus to the partner
    // shown in its place, so a second Space undoes the first.
    wxWindow* hidden = w.control(hide);
    const bool hadFocus = hidden && wxWindow::FindFocus() == hidden;
    w.showControl(hide, false);
    w.showControl(show, true);
    if (hadFocus)
        if (wxWindow* shown = w.control(show))
            shown->SetFocus();
    w.repaint();
}
} // namespace

void TWndw::actConnectPoints() { toggle(*this, doc.connectPoints, 1, IDC_CONNECT, IDC_DISCONNECT); }
void TWndw::actDisconnectPoints() { toggle(*this, doc.connectPoints, 0, IDC_DISCONNECT, IDC_CONNECT); }
void TWndw::actLargePoints() { toggle(*this, doc.largePoints, 1, IDC_LARGEPOINTS, IDC_SMALLPOINTS); }
void TWndw::actSmallPoints() { toggle(*this, doc.largePoints, 0, IDC_SMALLPOINTS, IDC_LARGEPOINTS); }
void TWndw::actLabelPoints() { toggle(*this, doc.labelPoints, 1, IDC_LABELPOINTS, IDC_UNLABELPOINTS); }
void TWndw::actUnlabelPoints() { toggle(*this, doc.labelPoints, 0, IDC_UNLABELPOINTS, IDC_LABELPOINTS); }
void TWndw::actShowErrorBars() { toggle(*this, doc.showErrorBars, 1, IDC_SHOWERRORBARS, IDC_HIDEERRORBARS); }
void TWndw::actHideErrorBars() { toggle(*this, doc.showErrorBars, 0, IDC_HIDEERRORBARS, IDC_SHOWERRORBARS); }

void TWndw::showOptionButtons()
{
    if (doc.largePoints)
        actLargePoints();
    else
        actSmallPoints();
    if (doc.connectPoints)
        actConnectPoints();
    else
        actDisconnectPoints();
    if (doc.labelPoints)
        actLabelPoints();
    else
        actUnlabelPoints();
}

void TWndw::showErrorBarButton()
{
    // The two buttons share one place: the one shown names the change it
    // makes, and Show only appears once there is a percentage to show.
    showControl(IDC_HIDEERRORBARS, doc.showErrorBars != 0);
    showControl(IDC_SHOWERRORBARS, doc.showErrorBars == 0 && doc.percentError > 0);
}

void TWndw::cmCurve1()
{
    doc.currentCurve = 0;
    repaint();
}

void TWndw::cmCurve2()
{
    doc.currentCurve = 1;
    repaint();
}

void TWndw::cmCurve3()
{
    doc.currentCurve = 2;
    repaint();
}

void TWndw::cmThickLines()
{
    // Flips the option rather than reading the box: every writer of
    // thickLines also sets the box, so the two stay in step.
    doc.thickLines = doc.thickLines ? 0 : 1;
    repaint();
}
