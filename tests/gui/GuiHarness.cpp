#include "tests/gui/GuiHarness.h"

#include "files/GraphRecord.h"
#include "framework/CodePageText.h"
#include "framework/MessageBox.h"

#include <chrono>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/evtloop.h>
#include <wx/menu.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

DialogScript& DialogScript::instance()
{
    static DialogScript script;
    return script;
}

void DialogScript::expectMessage(int button)
{
    expect([button](wxDialog*) { return button; });
}

void DialogScript::expectMessageFirst(int button)
{
    answers.push_front([button](wxDialog*) { return button; });
}

void DialogScript::expectKey(int key, bool& noFocus)
{
    expect([key, &noFocus](wxDialog* d) {
        d->CallAfter([d, key, &noFocus] {
            d->Raise();
            const auto focused
                = [d] { return wxWindow::FindFocus() && d->IsDescendant(wxWindow::FindFocus()); };
            noFocus = !waitUntil(focused, 500);
            if (!noFocus) {
                wxUIActionSimulator().Char(key);
                waitUntil([d] { return !d->IsModal(); }, 500);
            }
            if (d->IsModal()) {
                if (!noFocus)
                    ADD_FAILURE() << "the key did not answer the box";
                d->EndModal(wxID_CANCEL);
            }
        });
        return static_cast<int>(wxID_NONE);
    });
}

void DialogScript::reset()
{
    answers.clear();
    messages.clear();
    fallback = nullptr;
}

SessionOptions& sessionOptions()
{
    static SessionOptions options;
    return options;
}

int DialogScript::answerNext(wxDialog* dialog)
{
    if (auto* box = dynamic_cast<TMessageBox*>(dialog)) {
        messages.push_back({ toCodePage(box->GetMessage()), toCodePage(box->GetTitle()),
            box->GetMessageDialogStyle(), box->GetParent() ? toCodePage(box->GetParent()->GetLabel()) : "" });
    }
    if (answers.empty() && fallback)
        return fallback(dialog);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog->GetTitle()
                      << (messages.empty() ? "" : " / " + messages.back().text);
        return wxID_CANCEL;
    }
    DialogAnswer answer = std::move(answers.front());
    answers.pop_front();
    return answer(dialog);
}

bool waitUntil(const std::function<bool()>& condition, int ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        wxMilliSleep(5);
    }
}

void WindowTest::SetUp()
{
    doc = GraphDocument {};
    graphRecord = GraphRecord {};
    DialogScript::instance().reset();
    window = new TWndw(nullptr, "Plotwell (Version 2.0)");
    window->Show();
    // The first paint is the window's own; a test starts after it.
    waitUntil([this] { return window->lastFrame() != nullptr; });
    pump();
}

void WindowTest::TearDown()
{
    EXPECT_TRUE(DialogScript::instance().allUsed()) << "an expected dialog never appeared";
    if (window) {
        asOpened(); // no close query while tearing down
        window->Destroy();
        window = nullptr;
    }
    pump();
    DialogScript::instance().reset();
}

void WindowTest::pump()
{
    for (int i = 0; i < 3; ++i) {
        wxTheApp->ProcessPendingEvents();
        while (wxEventLoopBase::GetActive() && wxEventLoopBase::GetActive()->Pending())
            wxEventLoopBase::GetActive()->Dispatch();
        wxTheApp->Yield(true);
    }
}

void WindowTest::command(int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(window);
    window->GetEventHandler()->ProcessEvent(event);
}

void WindowTest::click(int id)
{
    wxWindow* control = window->control(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    wxEventType type = wxEVT_BUTTON;
    if (auto* radio = dynamic_cast<wxRadioButton*>(control)) {
        radio->SetValue(true);
        type = wxEVT_RADIOBUTTON;
    } else if (auto* box = dynamic_cast<wxCheckBox*>(control)) {
        box->SetValue(!box->GetValue());
        type = wxEVT_CHECKBOX;
    }
    wxCommandEvent event(type, id);
    event.SetEventObject(control);
    event.SetInt(1);
    control->GetEventHandler()->ProcessEvent(event);
}

namespace {
void mouse(TWndw* window, wxEventType type, int x, int y)
{
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.m_x = x;
    event.m_y = y;
    event.SetEventObject(window->client());
    window->client()->GetEventHandler()->ProcessEvent(event);
}
} // namespace

void WindowTest::leftClick(int x, int y)
{
    mouse(window, wxEVT_LEFT_DOWN, x, y);
    mouse(window, wxEVT_LEFT_UP, x, y);
}

wxString typedText(const std::string& text)
{
    const wxString utf8 = wxString::FromUTF8(text.data(), text.size());
    return utf8.empty() && !text.empty() ? fromCodePage(text) : utf8;
}

void WindowTest::rightClick(int x, int y)
{
    mouse(window, wxEVT_RIGHT_DOWN, x, y);
    mouse(window, wxEVT_RIGHT_UP, x, y);
}

void WindowTest::type(int id, const std::string& text)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(window->control(id));
    ASSERT_NE(edit, nullptr);
    edit->SetValue(typedText(text));
}

bool WindowTest::shown(int id) const
{
    wxWindow* control = window->control(id);
    return control && control->IsShown();
}

bool WindowTest::menuEnabled(int id)
{
    window->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    window->GetMenuBar()->UpdateMenus();
    wxMenuItem* item = window->GetMenuBar()->FindItem(id);
    return item && item->IsEnabled();
}
