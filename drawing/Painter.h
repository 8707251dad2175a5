#pragma once
// Draws the whole graph of a document into a drawing context: the window,
// a printed page, an image file or a recording. Keeps nothing between calls;
// every call redraws everything from the document. The few differences
// between screen and paper are decided by the caller's `target`.

#include "document/GraphDocument.h"
#include "framework/dc/TDC.h"

#include <string>

// The window, the printed page, or the figure for reports and previews:
// the page's picture cut to the window's width, whose value labels are kept
// inside that width.
enum class PaintFor { screen, paper, figure };
void paintGraph(TDC& dc, const GraphDocument& d = doc, PaintFor target = PaintFor::screen);

// The statistics line under the graph for curve c (which has points), as
// it is drawn: " Curve 1:    Mean = 28.38,    Wtd-Mean = 28.38".
std::string statisticsLine(const GraphDocument& d, int c);

// The bytes of every field paintGraph reads: two documents with the same
// bytes paint the same picture for the same target, so a window may keep
// what it painted until these change.
std::string paintedFields(const GraphDocument& d = doc);
