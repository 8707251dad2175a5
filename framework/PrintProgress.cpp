#include "framework/PrintProgress.h"

#include "framework/CodePageText.h"

#include <gtk/gtk.h>
#include <wx/control.h>

namespace {
// Where the window opens, in dialog units from the owner's client corner.
constexpr int left = 84, top = 51;

// Sets a static's text as it is: '&' in a title is no mnemonic.
void setPlainLabel(wxWindow* w, const wxString& text)
{
    if (auto* c = dynamic_cast<wxControl*>(w))
        c->SetLabelText(text);
}
} // namespace

TPrintProgress::TPrintProgress(wxWindow* parent, const std::string& title, const TPrintDevice& device)
    : TDialog(parent, 32599, wxCAPTION | wxSYSTEM_MENU)
{
    if (parent)
        Move(parent->ClientToScreen(ConvertDialogToPixels(wxPoint(left, top))));

    // The template's texts are the formats the job fills in.
    pageFormat = control(IDC_PRINT_PAGE)->GetLabel();
    lastPageFormat = control(IDC_PRINT_LASTPAGE)->GetLabel();
    // The heading shares its line with the page line: it stands there alone
    // until the first page starts.
    control(IDC_PRINT_PAGE)->Hide();
    control(IDC_PRINT_LASTPAGE)->Hide();
    // The program's own texts are 8-bit code-page strings; printer names
    // come from the platform in UTF-8.
    wxWindow* titleLine = control(IDC_PRINT_TITLE);
    setPlainLabel(titleLine, wxString::Format(titleLine->GetLabel(), fromCodePage(title)));
    titleLine->SetToolTip(fromCodePage(title));
    wxWindow* deviceLine = control(IDC_PRINT_DEVICE);
    if (!device.port.empty()) {
        setPlainLabel(deviceLine,
            wxString::Format(
                deviceLine->GetLabel(), wxString::FromUTF8(device.name), wxString::FromUTF8(device.port)));
    } else {
        // Nothing to name after "on": the template's empty line stands in.
        deviceLine->Hide();
        control(IDC_PRINT_PORT)->Show();
    }

    // Cancel asks the job to stop; the window goes when the job ends.
    Bind(wxEVT_BUTTON, &TPrintProgress::onCancel, this, IDC_PRINT_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &TPrintProgress::onClose, this);
    // No close box: the window manager must be told there is none.
    gtk_window_set_deletable(GTK_WINDOW(GetHandle()), FALSE);
}

void TPrintProgress::showPage(int page, int lastPage)
{
    control(IDC_PRINT_HEADING)->Hide();
    setPlainLabel(control(IDC_PRINT_PAGE), wxString::Format(pageFormat, page));
    setPlainLabel(control(IDC_PRINT_LASTPAGE), wxString::Format(lastPageFormat, lastPage));
    control(IDC_PRINT_PAGE)->Show();
    control(IDC_PRINT_LASTPAGE)->Show();
    Update();
}

void TPrintProgress::onCancel(wxCommandEvent&)
{
    cancelPressed = true;
    control(IDC_PRINT_CANCEL)->Disable();
}

void TPrintProgress::onClose(wxCloseEvent& event)
{
    if (event.CanVeto())
        event.Veto();
}
