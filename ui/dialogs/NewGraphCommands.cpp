// Not built yet: the commands are routed but do nothing.

#include "ui/TWndw.h"

void TWndw::cmNewGraph() {}
