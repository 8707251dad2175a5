#include "framework/MessageBox.h"

#include <wx/msgdlg.h>

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
    // Texts are the program's own 8-bit strings; Latin-1 maps every byte.
    wxMessageDialog box(owner, wxString(text.c_str(), wxConvISO8859_1),
        wxString(caption.c_str(), wxConvISO8859_1), style);
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
