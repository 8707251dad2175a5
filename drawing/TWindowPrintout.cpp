#include "drawing/TWindowPrintout.h"

#include <utility>

TWindowPrintout::TWindowPrintout(std::string title, TPaintWindow& window)
    : TPrintout(std::move(title))
    , targetWindow(window)
{
}

void TWindowPrintout::getDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage)
{
    minPage = maxPage = selFromPage = selToPage = 0;
}

bool TWindowPrintout::hasPage(int pageNumber) { return pageNumber == 1; }

void TWindowPrintout::printPage(int, TRect& rect, unsigned)
{
    if (!dc)
        return;

    int previousMode = 0;
    TSize previousViewport, previousWindow;
    if (scaleToPage) {
        // One logical unit per window pixel; isotropic, so the graph keeps
        // its proportions and the smaller of the two page/window ratios wins.
        previousMode = dc->SetMapMode(TMapMode::isotropic);
        const TRect client = targetWindow.clientRect();
        dc->SetViewportExtEx(pageSize.cx, pageSize.cy, &previousViewport);
        dc->SetWindowExtEx(client.right, client.bottom, &previousWindow);
        dc->IntersectClipRect(0, 0, client.right, client.bottom);
        TPoint corners[2] = { { rect.left, rect.top }, { rect.right, rect.bottom } };
        dc->DPtoLP(corners, 2);
        rect = TRect { corners[0].x, corners[0].y, corners[1].x, corners[1].y };
    }

    targetWindow.paint(*dc, false, rect);

    if (scaleToPage) {
        dc->SetWindowExtEx(previousWindow.cx, previousWindow.cy);
        dc->SetViewportExtEx(previousViewport.cx, previousViewport.cy);
        dc->SetMapMode(previousMode);
    }
}
