#pragma once
// Toolkit styles for the controls of a dialog template.

#include "resources/DialogTemplates.h"

#include <wx/stattext.h>

// A static keeps the size its template gives it and aligns its text as told.
inline long staticStyle(unsigned style)
{
    long wx = wxST_NO_AUTORESIZE;
    if (style & DS_RIGHT)
        wx |= wxALIGN_RIGHT;
    else if (style & DS_CENTRE)
        wx |= wxALIGN_CENTRE_HORIZONTAL;
    return wx;
}
