#pragma once
// The graph on one printed page: the window's whole client-area layout,
// whatever size the window has now, scaled onto the page by one factor in
// both directions, top left corner at the top left of the printable area.
// Only what lies inside that client area is printed, as paper shows it.

#include "document/GraphDocument.h"
#include "framework/dc/TDC.h"

class TWindowPrintout {
public:
    explicit TWindowPrintout(const GraphDocument& d)
        : graph(d)
    {
    }
    // Draws the page on `dc`, whose printable area is `pageSize` device
    // units; the context's state is handed back as it was.
    void printPage(TDC& dc, TSize pageSize) const;

private:
    const GraphDocument& graph;
};
