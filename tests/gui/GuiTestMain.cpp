// Starts the toolkit once for all window tests; each test makes its own
// main window. Dialogs are answered by the script hook in GuiHarness.

#include "tests/gui/GuiHarness.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
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
    // What gtest leaves: the random session's own options.
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--steps" || arg == "--seed") && i + 1 < argc) {
            const unsigned long value = std::strtoul(argv[++i], nullptr, 10);
            if (arg == "--steps")
                sessionOptions().steps = static_cast<long>(value);
            else
                sessionOptions().seed = value;
        } else
            argv[kept++] = argv[i];
    }
    argc = kept;
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "cannot start the toolkit: is there a display?\n");
        return 1;
    }
    // A toolkit assertion would open its own dialog and wait for an answer
    // nobody gives; it fails the test instead.
    wxSetAssertHandler(
        [](const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
            ADD_FAILURE_AT(file.utf8_str(), line)
                << "toolkit assertion in " << func << ": " << cond << " " << msg;
        });
    ScriptHook hook;
    hook.Register();
    const int result = RUN_ALL_TESTS();
    hook.Unregister();
    wxEntryCleanup();
    return result;
}
