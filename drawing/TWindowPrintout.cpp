#include "drawing/TWindowPrintout.h"

#include "document/PlotArea.h"
#include "drawing/Painter.h"

void TWindowPrintout::printPage(TDC& dc, TSize pageSize) const
{
    dc.SaveDC();
    // One logical unit per window pixel; isotropic, so the graph keeps its
    // proportions and the smaller of the two page/window ratios wins.
    dc.SetMapMode(TMapMode::isotropic);
    dc.SetViewportExtEx(pageSize.cx, pageSize.cy);
    dc.SetWindowExtEx(PlotArea::clientWidth, PlotArea::clientHeight);
    dc.IntersectClipRect(0, 0, PlotArea::clientWidth, PlotArea::clientHeight);
    paintGraph(dc, graph, PaintFor::paper);
    dc.RestoreDC(-1);
}
