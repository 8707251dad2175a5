#include "framework/MessageBox.h"

#include "framework/Accessible.h"

#include "framework/CodePageText.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {
// The program's own texts are plain ASCII; a message that names a file
// carries the path as the system spells it (UTF-8). Anything that is not
// valid UTF-8 is taken as the program's 8-bit code page.
wxString shown(const std::string& text)
{
    const wxString utf8 = wxString::FromUTF8(text.data(), text.size());
    return utf8.empty() && !text.empty() ? fromCodePage(text) : utf8;
}
} // namespace

TMessageBox::TMessageBox(wxWindow* owner, const wxString& text, const wxString& caption, unsigned flags)
    : wxDialog(owner, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSYSTEM_MENU)
    , message(text)
    , style((flags & MB_YESNO) ? wxYES_NO : wxOK)
{
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        style |= wxICON_ERROR;
        break;
    case MB_ICONQUESTION:
        style |= wxICON_QUESTION;
        break;
    case MB_ICONEXCLAMATION:
        style |= wxICON_EXCLAMATION;
        break;
    case MB_ICONINFORMATION:
        style |= wxICON_INFORMATION;
        break;
    default:
        style |= wxICON_NONE;
        break;
    }

    auto* body = new wxBoxSizer(wxHORIZONTAL);
    if (const char* icon = iconName()) {
        const wxBitmap bitmap
            = wxArtProvider::GetBitmap(wxString::FromAscii(icon), wxART_MESSAGE_BOX, wxSize(48, 48));
        if (bitmap.IsOk())
            body->Add(new wxStaticBitmap(this, wxID_ANY, bitmap), 0, wxALL | wxALIGN_TOP, 12);
    }
    auto* words = new wxStaticText(this, wxID_ANY, wxString());
    // Shown as it is: an ampersand in a file name is no mnemonic.
    words->SetLabelText(text);
    words->Wrap(FromDIP(420));
    body->Add(words, 1, wxALL | wxALIGN_CENTER_VERTICAL, 12);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    wxButton* first = nullptr;
    wxButton* chosen = nullptr; // the default button, which Enter presses
    if (style & wxYES_NO) {
        first = new wxButton(this, wxID_YES, "&Yes");
        buttons->Add(first, 0, wxRIGHT, 8);
        auto* no = new wxButton(this, wxID_NO, "&No");
        buttons->Add(no);
        SetEscapeId(wxID_NO);
        chosen = (flags & MB_DEFBUTTON2) ? no : first;
    } else {
        first = new wxButton(this, wxID_OK, "OK");
        buttons->Add(first);
        SetEscapeId(wxID_OK);
        chosen = first;
    }
    chosen->SetDefault();
    SetAffirmativeId(first->GetId());
    for (int id : { wxID_YES, wxID_NO })
        Bind(
            wxEVT_BUTTON, [this, id](wxCommandEvent&) { EndModal(id); }, id);

    auto* all = new wxBoxSizer(wxVERTICAL);
    all->Add(body, 1, wxEXPAND);
    all->Add(buttons, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 12);
    SetSizerAndFit(all);
    CentreOnParent();
    chosen->SetFocus();
    Bind(wxEVT_CHAR_HOOK, &TMessageBox::onKey, this);
    // A screen reader says an alert's text as it appears, not only "frame".
    setAccessibleRole(this, AccessibleRole::alert);
    setAccessibleDescription(this, std::string(text.utf8_str()));
}

const char* TMessageBox::iconName() const
{
    if (style & wxICON_ERROR)
        return "dialog-error";
    if (style & wxICON_QUESTION)
        return "dialog-question";
    if (style & wxICON_EXCLAMATION)
        return "dialog-warning";
    if (style & wxICON_INFORMATION)
        return "dialog-information";
    return nullptr;
}

void TMessageBox::onKey(wxKeyEvent& event)
{
    if ((style & wxYES_NO) && !event.HasAnyModifiers()) {
        switch (event.GetUnicodeKey()) {
        case 'y':
        case 'Y':
            EndModal(wxID_YES);
            return;
        case 'n':
        case 'N':
            EndModal(wxID_NO);
            return;
        default:
            break;
        }
    }
    event.Skip();
}

namespace {
// A box belongs to the dialog the user is in, whoever asked for it: the
// newest modal dialog still up, else the owner asked for. Owned by a window
// underneath, the box would hand the activation back to that window.
wxWindow* boxOwner(wxWindow* owner)
{
    wxWindow* found = nullptr;
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal() && d->IsShown() && !d->IsBeingDeleted())
            found = d;
    return found ? found : owner;
}
} // namespace

int MessageBox(wxWindow* owner, const std::string& text, const std::string& caption, unsigned flags)
{
    owner = boxOwner(owner);
    wxWindow* focus = wxWindow::FindFocus();
    TMessageBox box(owner, shown(text), shown(caption), flags);
    const int answer = box.ShowModal();
    // Back to the window the user was typing in, active again: some window
    // managers otherwise activate the main window behind a modal dialog.
    if (wxWindow* top = owner ? wxGetTopLevelParent(owner) : nullptr; top && top->IsShown()) {
        top->Raise();
        if (focus && top->IsDescendant(focus))
            focus->SetFocus();
    }
    switch (answer) {
    case wxID_YES:
        return IDYES;
    case wxID_NO:
        return IDNO;
    case wxID_OK:
        return IDOK;
    default:
        return IDCANCEL;
    }
}
