// Starts the toolkit once for all window tests; each test makes its own
// main window. Dialogs are answered by the script hook in GuiHarness.

#include "tests/gui/GuiHarness.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <glib.h>
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
    // Recent files and anything else the desktop keeps go to a folder of the
    // run's own, never to the user's home.
    char dataHome[] = "/tmp/plotwell-gui-data-XXXXXX";
    if (!mkdtemp(dataHome)) {
        perror("mkdtemp");
        return 1;
    }
    setenv("XDG_DATA_HOME", dataHome, 1);
    setenv("XDG_STATE_HOME", dataHome, 1);
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
    // The toolkit's own complaints are faults of ours (a control smaller
    // than it can draw, a bad call): they fail the test that caused them.
    g_log_set_writer_func(
        [](GLogLevelFlags level, const GLogField* fields, gsize count, gpointer data) {
            if (level & (G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING)) {
                std::string domain, message;
                for (gsize i = 0; i < count; ++i) {
                    if (std::strcmp(fields[i].key, "GLIB_DOMAIN") == 0 && fields[i].length < 0)
                        domain = static_cast<const char*>(fields[i].value);
                    if (std::strcmp(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0)
                        message = static_cast<const char*>(fields[i].value);
                }
                if (domain.rfind("Gtk", 0) == 0 || domain.rfind("Gdk", 0) == 0)
                    ADD_FAILURE() << domain << ": " << message;
            }
            return g_log_writer_default(level, fields, count, data);
        },
        nullptr, nullptr);
    ScriptHook hook;
    hook.Register();
    const int result = RUN_ALL_TESTS();
    hook.Unregister();
    wxEntryCleanup();
    std::filesystem::remove_all(dataHome);
    return result;
}
