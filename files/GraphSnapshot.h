#pragma once
// The graph as Undo keeps it: the record a save would write, plus the few
// fields the user sees that no file keeps.

#include "document/EditHistory.h"
#include "document/GraphDocument.h"

GraphSnapshot takeSnapshot(const GraphDocument& d);
// Puts the graph back with its file name; what the snapshot does not hold
// (the Y-Scale dialog's state, slots past each count) stays as it is.
void restoreSnapshot(const GraphSnapshot& s, GraphDocument& d);
