#pragma once
// The graph as text, for those who do not see the picture: a screen reader
// reads the plot's name and description, and each point as it is stepped
// to. Made from the document alone, like the picture, and in the same words
// and figures the picture shows. Texts are in the document's code page.

#include "document/GraphDocument.h"
#include "document/PointTable.h"

#include <string>

// "Graph: Rainfall 2025", or "Graph" for a graph without a title.
std::string graphName(const GraphDocument& d);
// The Y range, the X labels, and each curve with points: its caption, its
// number of points and its statistics line.
std::string graphDescription(const GraphDocument& d, char decimal);
// "Curve 1, point 3 of 12, Mar, 17.5": the point's curve, place, the label
// over it (or its X when none is) and its value.
std::string pointAnnouncement(const GraphDocument& d, PointRef p, char decimal);
