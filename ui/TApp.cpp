#include "ui/TApp.h"

#include "ui/TWndw.h"

#include <glib.h>

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
    return true;
}
