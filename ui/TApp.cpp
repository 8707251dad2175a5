#include "ui/TApp.h"

#include "ui/TWndw.h"

#include <glib.h>
#include <string>

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
    auto* window = new TWndw(nullptr, "Plotwell (Version 2.0)");
    SetTopWindow(window);
    window->Show();
    // "plotwell graph.gd2", as a file manager starts it: opened once the
    // window is up, so a refusal shows over it and leaves the empty graph.
    if (argc > 1) {
        const std::string path(argv[1].utf8_str());
        window->CallAfter([window, path] { window->openFile(path); });
    }
    return true;
}
