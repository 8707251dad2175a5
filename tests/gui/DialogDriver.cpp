#include "tests/gui/DialogDriver.h"

#include <wx/msgdlg.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

void expectDialog(DialogScript& script, DialogSteps steps)
{
    script.expect([steps](wxDialog* dialog) {
        auto* td = dynamic_cast<TDialog*>(dialog);
        if (!td) {
            ADD_FAILURE() << "expected a template dialog, got: " << dialog->GetTitle();
            return static_cast<int>(wxID_CANCEL);
        }
        td->CallAfter([td, steps] {
            steps(*td);
            if (td->IsModal()) {
                ADD_FAILURE() << "dialog \"" << td->GetTitle() << "\" was left open; cancelled";
                td->EndModal(wxID_CANCEL);
            }
        });
        return static_cast<int>(wxID_NONE);
    });
}

void press(TDialog& dialog, int id)
{
    auto* button = dynamic_cast<wxButton*>(dialog.control(id));
    ASSERT_NE(button, nullptr) << "no button " << id;
    wxCommandEvent event(wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
}

void typeInto(TDialog& dialog, int id, const std::string& text)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(dialog.control(id));
    ASSERT_NE(edit, nullptr) << "no edit " << id;
    edit->Clear();
    // One character at a time, so the edit's limit stops the typing where
    // it would stop a user.
    for (const wxUniChar ch : typedText(text))
        edit->WriteText(wxString(ch));
}

void tick(TDialog& dialog, int id, bool on)
{
    auto* box = dynamic_cast<wxCheckBox*>(dialog.control(id));
    ASSERT_NE(box, nullptr) << "no check box " << id;
    box->SetValue(on);
    wxCommandEvent event(wxEVT_CHECKBOX, id);
    event.SetEventObject(box);
    event.SetInt(on ? 1 : 0);
    box->GetEventHandler()->ProcessEvent(event);
}

void expectInputError(const std::vector<ShownMessage>& messages, std::size_t index, const std::string& text,
    const std::string& caption, const std::string& owner)
{
    ASSERT_GT(messages.size(), index);
    const ShownMessage& m = messages[index];
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.caption, caption);
    EXPECT_EQ(m.owner, owner);
    EXPECT_FALSE(m.style & wxYES_NO);
    EXPECT_FALSE(m.style & (wxICON_EXCLAMATION | wxICON_HAND | wxICON_QUESTION | wxICON_INFORMATION));
}
