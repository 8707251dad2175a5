#include "framework/CodePageText.h"

#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {
// The text without the characters the code page cannot hold, and how many
// of those stood before `caret`.
wxString holdable(const wxString& text, long caret, long& droppedBeforeCaret)
{
    wxString kept;
    droppedBeforeCaret = 0;
    long at = 0;
    for (wxUniChar ch : text) {
        if (codePageHolds(ch.GetValue()))
            kept += ch;
        else if (at < caret)
            ++droppedBeforeCaret;
        ++at;
    }
    return kept;
}
} // namespace

std::string toCodePage(const wxString& text)
{
    const wxScopedCharBuffer utf8 = text.utf8_str();
    if (auto bytes = utf8ToCodePage(std::string_view(utf8.data(), utf8.length())))
        return *bytes;
    long unused = 0;
    const wxScopedCharBuffer kept = holdable(text, 0, unused).utf8_str();
    return utf8ToCodePage(std::string_view(kept.data(), kept.length())).value_or(std::string());
}

void refuseUnholdableText(wxTextCtrl* edit)
{
    edit->Bind(wxEVT_TEXT, [edit](wxCommandEvent& event) {
        const wxString value = edit->GetValue();
        const wxScopedCharBuffer utf8 = value.utf8_str();
        if (!utf8ToCodePage(std::string_view(utf8.data(), utf8.length()))) {
            long dropped = 0;
            const long caret = edit->GetInsertionPoint();
            edit->ChangeValue(holdable(value, caret, dropped));
            edit->SetInsertionPoint(caret - dropped);
            wxBell();
        }
        event.Skip();
    });
}
