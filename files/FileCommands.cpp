// Not built yet: the commands are routed but do nothing.

#include "ui/TWndw.h"

void TWndw::cmOpen() {}
void TWndw::cmSave() {}
void TWndw::cmSaveAs() {}
