#include "ui/TApp.h"

wxIMPLEMENT_APP(TApp);
