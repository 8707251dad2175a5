#include "ui/TApp.h"

#include "ui/TWndw.h"

#include <X11/Xlib.h>
#include <glib-unix.h>
#include <glib.h>
#include <string>
#include <unistd.h>

namespace {
TWndw* mainWindow = nullptr;
int (*toolkitIOErrorHandler)(Display*) = nullptr;

// Ended from outside (a logout sends SIGTERM, a closed terminal SIGHUP): the
// unsaved graph is put in its recovery copy first, with no question, since
// nobody may be there to answer one.
gboolean endedFromOutside(gpointer)
{
    if (mainWindow)
        mainWindow->writeRecoveryNow();
    ::_exit(0);
    return G_SOURCE_REMOVE;
}

// The display went away (the X server stopped or restarted): the toolkit
// ends the program once this returns.
int displayLost(Display* display)
{
    if (mainWindow)
        mainWindow->writeRecoveryNow();
    return toolkitIOErrorHandler ? toolkitIOErrorHandler(display) : 1;
}
} // namespace

TApp::TApp()
{
    // The window class name the desktop sees (WM_CLASS): set before the
    // toolkit starts, which otherwise takes the executable's name.
    g_set_prgname("Kestrel");
    SetClassName("Kestrel");
    SetAppDisplayName("Kestrel");
}

bool TApp::OnInit()
{
    // Its name for people and screen readers; the window class the desktop
    // file matches was taken from the first name as the toolkit started.
    g_set_prgname("Plotwell");
    g_set_application_name("Plotwell");
    SetAppDisplayName("Plotwell");
    auto* window = new TWndw(nullptr, "Plotwell (Version 2.0)");
    mainWindow = window;
    window->Bind(wxEVT_DESTROY, [window](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == window)
            mainWindow = nullptr;
        event.Skip();
    });
    g_unix_signal_add(SIGTERM, endedFromOutside, nullptr);
    g_unix_signal_add(SIGHUP, endedFromOutside, nullptr);
    toolkitIOErrorHandler = XSetIOErrorHandler(displayLost);
    SetTopWindow(window);
    window->Show();
    // A graph a program left unsaved is offered back first; then
    // "plotwell graph.gd2", as a file manager starts it, opens once the
    // window is up, so a refusal shows over it and leaves the graph there.
    const std::string path = argc > 1 ? std::string(argv[1].utf8_str()) : std::string();
    window->CallAfter([window, path] {
        window->offerRecoveredGraph();
        if (!path.empty() && window->mayDiscardChanges())
            window->openFile(path);
    });
    return true;
}
