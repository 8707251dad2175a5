// The four toggle pairs, the curve selectors and Thick Lines. A toggle sets
// its option; after every change the window shows, of each pair, the
// button that names the change it would make.

#include "document/GraphDocument.h"
#include "resources/CommandIds.h"
#include "ui/TWndw.h"

#include <utility>
#include <wx/window.h>

namespace {
// Each toggle sets its option to exactly 1 or 0, whatever it held; the
// buttons follow once the change is over.
void toggle(int& option, int value) { option = value; }

// Of a pair sharing one place, the button that names the change it would
// make is shown. Only a button that changes is touched: showing the pair
// again after every change would redraw it each time.
void showPair(TWndw& w, int turnOn, int turnOff, bool isOn)
{
    const int show = isOn ? turnOff : turnOn, hide = isOn ? turnOn : turnOff;
    wxWindow* hidden = w.control(hide);
    if (!hidden || !hidden->IsShown())
        return;
    // A button pressed from the keyboard hands the focus to the partner
    // shown in its place, so a second Space undoes the first.
    const bool hadFocus = wxWindow::FindFocus() == hidden;
    w.showControl(hide, false);
    w.showControl(show, true);
    if (hadFocus)
        if (wxWindow* shown = w.control(show))
            shown->SetFocus();
}
} // namespace

void TWndw::actConnectPoints() { toggle(doc.connectPoints, 1); }
void TWndw::actDisconnectPoints() { toggle(doc.connectPoints, 0); }
void TWndw::actLargePoints() { toggle(doc.largePoints, 1); }
void TWndw::actSmallPoints() { toggle(doc.largePoints, 0); }
void TWndw::actLabelPoints() { toggle(doc.labelPoints, 1); }
void TWndw::actUnlabelPoints() { toggle(doc.labelPoints, 0); }
void TWndw::actShowErrorBars() { toggle(doc.showErrorBars, 1); }
void TWndw::actHideErrorBars() { toggle(doc.showErrorBars, 0); }

void TWndw::showOptionButtons()
{
    showPair(*this, IDC_LARGEPOINTS, IDC_SMALLPOINTS, doc.largePoints != 0);
    showPair(*this, IDC_CONNECT, IDC_DISCONNECT, doc.connectPoints != 0);
    showPair(*this, IDC_LABELPOINTS, IDC_UNLABELPOINTS, doc.labelPoints != 0);
}

void TWndw::showErrorBarButton()
{
    // The two buttons share one place: the one shown names the change it
    // makes, and Show only appears once there is a percentage to show.
    const bool hide = doc.showErrorBars != 0, show = doc.showErrorBars == 0 && doc.percentError > 0;
    wxWindow* focused = wxWindow::FindFocus();
    const bool hadFocus
        = focused && (focused == control(IDC_HIDEERRORBARS) || focused == control(IDC_SHOWERRORBARS));
    for (auto [id, wanted] : { std::pair { IDC_HIDEERRORBARS, hide }, std::pair { IDC_SHOWERRORBARS, show } })
        if (wxWindow* button = control(id); button && button->IsShown() != wanted)
            showControl(id, wanted);
    if (hadFocus && !focused->IsShown())
        if (wxWindow* shown = control(hide ? IDC_HIDEERRORBARS : IDC_SHOWERRORBARS);
            shown && shown->IsShown())
            shown->SetFocus();
}

void TWndw::cmCurve1() { doc.currentCurve = 0; }

void TWndw::cmCurve2() { doc.currentCurve = 1; }

void TWndw::cmCurve3() { doc.currentCurve = 2; }

void TWndw::cmThickLines()
{
    // Flips the option rather than reading the box: every writer of
    // thickLines also sets the box, so the two stay in step.
    doc.thickLines = doc.thickLines ? 0 : 1;
}
