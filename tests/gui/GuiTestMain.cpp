// Starts the toolkit once for all window tests; each test makes its own
// main window. Dialogs are answered by the script hook in GuiHarness.

#include "tests/gui/GuiHarness.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>
#include <wx/modalhook.h>

namespace {
class ScriptHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override { return DialogScript::instance().answerNext(dialog); }
    void Exit(wxDialog*) override { }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot start the toolkit: is there a display?\n");
        return 1;
    }
    ScriptHook hook;
    hook.Register();
    const int result = RUN_ALL_TESTS();
    hook.Unregister();
    wxEntryCleanup();
    return result;
}
