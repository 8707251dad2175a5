// Not built yet: the commands are routed but do nothing.

#include "ui/TWndw.h"

void TWndw::cmGeneralHelp() {}
void TWndw::cmAddingPoints() {}
void TWndw::cmDeletingPoints() {}
void TWndw::cmAbout() {}
