#pragma once
// The program's texts are 8-bit code-page strings, as the graph file stores
// them; the toolkit works in Unicode. Edit boxes refuse what the code page
// cannot hold as it is typed or pasted, so nothing is ever changed into
// something else on the way to the document.

#include "document/CodePage.h"

#include <string>
#include <wx/string.h>

class wxTextCtrl;

inline wxString fromCodePage(const std::string& bytes)
{
    const std::string utf8 = codePageToUtf8(bytes);
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

// A character the code page cannot hold is left out; the edit boxes never
// let one in, so this only matters for texts the program did not take from
// the user.
std::string toCodePage(const wxString& text);

// Makes the box drop, as they arrive, the characters the code page cannot
// hold, with a beep, and keeps the caret where the typing was.
void refuseUnholdableText(wxTextCtrl* edit);
