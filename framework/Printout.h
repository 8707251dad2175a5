#pragma once
// A printout: what one print job draws, page by page. The printer object
// (Printer.h) hands it the device and calls its operations in this order:
//
//   setPrintParams, beginPrinting,
//   for each copy the device does not make by itself:
//       beginDocument, then for page 1 upwards while hasPage: printPage;
//       endDocument,
//   endPrinting.
//
// Nothing here knows the toolkit, so a printout can be run on any TDC (a
// recording, an image or PDF surface) without a printer or a display.

#include "framework/dc/TDC.h"

#include <string>
#include <utility>

struct TRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

// A window as a printout sees it: the client area it copies and the paint
// method that draws it.
class TPaintWindow {
public:
    virtual ~TPaintWindow() = default;
    // Origin (0, 0); right and bottom are the client area's width and height.
    virtual TRect clientRect() const = 0;
    // The window's paint method, run on another context: `erase` asks for the
    // background first, `rect` is the part to draw in logical units.
    virtual void paint(TDC& dc, bool erase, const TRect& rect) = 0;
};

class TPrintout {
public:
    explicit TPrintout(std::string title)
        : title(std::move(title))
    {
    }
    virtual ~TPrintout() = default;
    TPrintout(const TPrintout&) = delete;
    TPrintout& operator=(const TPrintout&) = delete;

    // Receives the printer's context and the printable page size in device
    // pixels. A null context means the page is over and the context gone.
    virtual void setPrintParams(TDC* context, TSize size)
    {
        dc = context;
        pageSize = size;
    }
    // The page range the print dialog offers: first and last page, first and
    // last page of the selection.
    virtual void getDialogInfo(int& minPage, int& maxPage, int& selFromPage, int& selToPage)
    {
        minPage = 1;
        maxPage = 1;
        selFromPage = 0;
        selToPage = 0;
    }
    virtual void beginPrinting() { }
    virtual void beginDocument(int /*startPage*/, int /*endPage*/, unsigned /*flags*/) { }
    virtual bool hasPage(int pageNumber) { return pageNumber == 1; }
    // Draws one page; `rect` is the part being printed, in device units.
    virtual void printPage(int /*page*/, TRect& /*rect*/, unsigned /*flags*/) { }
    virtual void endDocument() { }
    virtual void endPrinting() { }

    const std::string& getTitle() const { return title; }
    bool wantBanding() const { return banding; }
    void setBanding(bool on) { banding = on; }
    TDC* getDC() const { return dc; }
    TSize getPageSize() const { return pageSize; }

protected:
    std::string title;
    bool banding = false;
    TDC* dc = nullptr;
    TSize pageSize;
};
