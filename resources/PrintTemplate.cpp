#include "resources/PrintTemplate.h"

namespace {
using C = PrintTemplateControl;
const PrintTemplateControl progressControls[] = {
    { IDC_PRINT_CANCEL, C::Button, "Cancel", 49, 40, 40, 14 },
    { IDC_PRINT_HEADING, C::Static, "Now printing", 33, 8, 72, 8, C::Centre },
    { IDC_PRINT_PAGE, C::Static, "Now printing Page %d", 14, 8, 84, 8, C::Left },
    { IDC_PRINT_LASTPAGE, C::Static, "to %d of", 96, 8, 27, 8, C::Right },
    { IDC_PRINT_TITLE, C::Static, "'%s' on the", 4, 16, 130, 8, C::Centre },
    { IDC_PRINT_PORT, C::Static, "", 0, 24, 130, 8, C::Centre, true },
    { IDC_PRINT_DEVICE, C::Static, "%s on %s", 0, 24, 130, 8, C::Centre },
};

const PrintTemplate progress { 32599, "Printing", 84, 51, 138, 60, progressControls };
} // namespace

const PrintTemplate& printProgressTemplate() { return progress; }
