#pragma once
#include <wx/icon.h>

// Icon resource 1 (the window icon) or 2.
wxIcon programIcon(int number);
