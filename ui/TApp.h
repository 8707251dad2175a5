#pragma once
#include <wx/app.h>

// The application object: creates the one main window and runs the loop.
class TApp : public wxApp {
public:
    TApp();
    bool OnInit() override;
};
