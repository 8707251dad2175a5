#pragma once
// Modal message boxes with the flag values and results of the original
// desktop system, so every caller states buttons and icon the same way.

#include <string>
#include <wx/dialog.h>

class wxWindow;

enum : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100, // the second button (No) is the default
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Shows a modal message box owned by `owner` and returns the button pressed.
int MessageBox(wxWindow* owner, const std::string& text, const std::string& caption, unsigned flags);

// The box itself. The toolkit's own message dialog no longer draws the icon
// a box asks for, so this one lays out its icon (from the desktop's icon
// theme), text and buttons itself. Keys: Enter presses the default button
// (Yes, or No with MB_DEFBUTTON2, or OK), Escape No (or OK), and Y and N
// answer a question.
class TMessageBox : public wxDialog {
public:
    TMessageBox(wxWindow* owner, const wxString& text, const wxString& caption, unsigned flags);

    const wxString& GetMessage() const { return message; }
    // The toolkit's style bits for the box: wxYES_NO or wxOK, and the icon.
    long GetMessageDialogStyle() const { return style; }
    // The icon theme's name for the icon shown ("dialog-warning", ...), or
    // empty for none.
    const char* iconName() const;

private:
    void onKey(wxKeyEvent& event);

    wxString message;
    long style;
};
