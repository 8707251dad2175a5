#pragma once
// Modal message boxes with the flag values and results of the original
// desktop system, so every caller states buttons and icon the same way.

#include <string>

class wxWindow;

enum : unsigned {
    MB_OK = 0x0,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
};

enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Shows a modal message box owned by `owner` and returns the button pressed.
int MessageBox(wxWindow* owner, const std::string& text, const std::string& caption, unsigned flags);
