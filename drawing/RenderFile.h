#pragma once
// Draws a graph as the window shows it (light grey background, then the
// painter) into a PNG, SVG or PDF file, chosen by the file's extension.
// Needs no display. The file is written under a temporary name in the same
// folder and renamed into place only when complete, so a failure never
// leaves a half-written or damaged file behind.

#include "document/GraphDocument.h"

#include <string>

// Returns false and sets `error` to a message for the user when the file
// could not be written; the target is then untouched.
bool renderGraph(const GraphDocument& d, const std::string& path, std::string& error,
                 int width = 750, int height = 545);
