#include "framework/PrintProgress.h"

#include "framework/CodePageText.h"

#include "framework/TemplateStyle.h"

#include "resources/DialogTemplates.h"
#include <gtk/gtk.h>

#include <wx/button.h>
#include <wx/control.h>
#include <wx/settings.h>
#include <wx/stattext.h>

namespace {
constexpr int templateNumber = 32599;
// Where the window opens, in dialog units from the owner's client corner.
constexpr int left = 84, top = 51;

// The program's own texts are 8-bit code-page strings; printer names come
// from the platform in UTF-8.
wxString fromProgram(const std::string& s) { return fromCodePage(s); }

wxString fromPlatform(const std::string& s) { return wxString::FromUTF8(s.c_str()); }

// Sets a static's text as it is: '&' in a title is no mnemonic.
void setText(wxWindow* w, const wxString& text)
{
    if (auto* c = dynamic_cast<wxControl*>(w))
        c->SetLabelText(text);
}

} // namespace

TPrintProgress::TPrintProgress(wxWindow* parent, const std::string& title, const TPrintDevice& device)
{
    const DialogTemplate& t = *dialogTemplate(templateNumber);
    // No close box: the job ends by itself or by Cancel.
    wxDialog::Create(
        parent, wxID_ANY, t.caption, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU);
    const wxFont font(wxFontInfo(t.pointSize).FaceName(t.fontName));
    SetFont(font.IsOk() ? font : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    SetClientSize(ConvertDialogToPixels(wxSize(t.width, t.height)));
    if (parent)
        Move(parent->ClientToScreen(ConvertDialogToPixels(wxPoint(left, top))));

    for (const DialogControlDef& c : t.controls) {
        // 65535 is the "no id" of a static text; the toolkit takes no ids
        // that high, so such a static is made without one and kept by hand.
        const int id = c.id < 32767 ? c.id : wxID_STATIC;
        const wxPoint from = ConvertDialogToPixels(wxPoint(c.x, c.y));
        const wxPoint to = ConvertDialogToPixels(wxPoint(c.x + c.width, c.y + c.height));
        const wxSize size(to.x - from.x, to.y - from.y);
        wxWindow* w = nullptr;
        if (c.kind == DialogControlKind::Button)
            w = new wxButton(this, id, c.text, from, size);
        else
            // The file's name is shown whole where it fits, else shortened
            // in the middle, where it least hides which file it is.
            w = new wxStaticText(this, id, c.text, from, size,
                staticStyle(c.style) | (c.id == IDC_PRINT_TITLE ? wxST_ELLIPSIZE_MIDDLE : 0));
        if (c.id == IDC_PRINT_HEADING)
            heading = w;
        if (c.style & DS_HIDDEN)
            w->Hide();
    }

    // The template's texts are the formats the job fills in.
    pageFormat = control(IDC_PRINT_PAGE)->GetLabel();
    lastPageFormat = control(IDC_PRINT_LASTPAGE)->GetLabel();
    // The heading shares its line with the page line: it stands there alone
    // until the first page starts.
    control(IDC_PRINT_PAGE)->Hide();
    control(IDC_PRINT_LASTPAGE)->Hide();
    wxWindow* titleLine = control(IDC_PRINT_TITLE);
    setText(titleLine, wxString::Format(titleLine->GetLabel(), fromProgram(title)));
    titleLine->SetToolTip(fromProgram(title));
    wxWindow* deviceLine = control(IDC_PRINT_DEVICE);
    if (!device.port.empty()) {
        setText(deviceLine,
            wxString::Format(deviceLine->GetLabel(), fromPlatform(device.name), fromPlatform(device.port)));
    } else {
        // Nothing to name after "on": the template's empty line stands in.
        deviceLine->Hide();
        control(IDC_PRINT_PORT)->Show();
    }

    Bind(wxEVT_BUTTON, &TPrintProgress::onCancel, this, IDC_PRINT_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &TPrintProgress::onClose, this);
    // The style alone leaves GTK telling the window manager to draw a close
    // box; the window manager must be told there is none.
    gtk_window_set_deletable(GTK_WINDOW(GetHandle()), FALSE);
}

void TPrintProgress::showPage(int page, int lastPage)
{
    control(IDC_PRINT_HEADING)->Hide();
    setText(control(IDC_PRINT_PAGE), wxString::Format(pageFormat, page));
    setText(control(IDC_PRINT_LASTPAGE), wxString::Format(lastPageFormat, lastPage));
    control(IDC_PRINT_PAGE)->Show();
    control(IDC_PRINT_LASTPAGE)->Show();
    Update();
}

wxWindow* TPrintProgress::control(int id) const { return id == IDC_PRINT_HEADING ? heading : FindWindow(id); }

std::string TPrintProgress::text(int id) const
{
    auto* c = dynamic_cast<wxControl*>(control(id));
    return c ? toCodePage(c->GetLabelText()) : std::string();
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
