#pragma once
// Draws the whole graph of a document into a drawing context: the window,
// a printed page, an image file or a recording. Keeps nothing between calls;
// every call redraws everything from the document. The few differences
// between screen and paper are decided from `printing`.

#include "document/GraphDocument.h"
#include "framework/dc/TDC.h"

#include <string>

void paintGraph(TDC& dc, const GraphDocument& d = doc);

// The bytes of every field paintGraph reads: two documents with the same
// bytes paint the same picture, so a window may keep what it painted
// until these change.
std::string paintedFields(const GraphDocument& d = doc);
