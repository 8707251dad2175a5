#include "ui/TApp.h"

#include "ui/TWndw.h"

bool TApp::OnInit()
{
    auto* window = new TWndw(nullptr, "Plotwell (Version 2.0)");
    SetTopWindow(window);
    window->Show();
    return true;
}
