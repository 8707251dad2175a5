#pragma once
// Prints a window on one page: the window's own paint method draws on the
// printer's context, with the client area scaled onto the page by the same
// factor in both directions, top left corner at the top left of the
// printable area. Only what lies inside the client area is printed.

#include "framework/Printout.h"

#include <string>

class TWindowPrintout : public TPrintout {
public:
    TWindowPrintout(std::string title, TPaintWindow& window);

    // No page range to offer: the graph is always exactly one page.
    void getDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage) override;
    bool hasPage(int pageNumber) override;
    void printPage(int page, TRect& rect, unsigned flags) override;

    TPaintWindow& targetWindow;
    bool scaleToPage = true;
};
