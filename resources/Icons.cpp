#include "resources/Icons.h"

#include <wx/bitmap.h>

#include "resources/icons.xpm.inc"

wxIcon programIcon(int number)
{
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(number == 2 ? icon2_xpm : icon1_xpm));
    return icon;
}
