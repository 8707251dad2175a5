#include "framework/MessageBox.h"

#include "framework/CodePageText.h"

#include <wx/msgdlg.h>

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

int MessageBox(wxWindow* owner, const std::string& text, const std::string& caption, unsigned flags)
{
    long style = (flags & MB_YESNO) ? wxYES_NO : wxOK;
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
    default:
        style |= wxICON_NONE;
        break;
    }
    wxMessageDialog box(owner, shown(text), shown(caption), style);
    switch (box.ShowModal()) {
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
