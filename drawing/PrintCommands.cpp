// File, Print and File, Printer Setup: the graph printed on one page as the
// window shows it, by the painter's printing variant.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "drawing/Painter.h"
#include "drawing/TWindowPrintout.h"
#include "framework/MessageBox.h"
#include "framework/Printer.h"
#include "ui/TWndw.h"

namespace {
// The main window as the printout sees it: the whole client-area layout,
// whatever size the window has now (a shrunken window must not print only
// its visible part, enlarged), and its paint method, which ignores the
// erase flag and the rectangle as on the screen.
class MainWindowPaint : public TPaintWindow {
public:
    TRect clientRect() const override { return TRect { 0, 0, PlotArea::clientWidth, PlotArea::clientHeight }; }
    void paint(TDC& dc, bool, const TRect&) override { paintGraph(dc); }
};

// `printing` is set for exactly as long as the command runs, whatever way it
// ends, and the window is repainted on both edges.
class PrintingFlag {
public:
    explicit PrintingFlag(TWndw& window)
        : window(window)
    {
        doc.printing = 1;
        window.repaint();
    }
    ~PrintingFlag()
    {
        doc.printing = 0;
        window.repaint();
    }
    PrintingFlag(const PrintingFlag&) = delete;
    PrintingFlag& operator=(const PrintingFlag&) = delete;

private:
    TWndw& window;
};
} // namespace

void TWndw::cmPrint()
{
    TPrinter* printer = this->printer();
    if (!printer)
        return;
    PrintingFlag flag(*this);
    MainWindowPaint target;
    TWindowPrintout printout("", target);
    // Every system this runs on asks for banding; no device here prints in
    // bands, so each page is still drawn once, whole.
    printout.setBanding(true);
    try {
        printer->print(this, printout, true);
    } catch (...) {
        // The printer object reports its own failures; this is one of its own.
        messageBox(notPrintedText(printout.getTitle(), printErrorReason(TPrintResult::generalError)),
            "Print Error", MB_OK | MB_ICONSTOP);
    }
}

void TWndw::cmPrinterSetup()
{
    if (TPrinter* printer = this->printer())
        printer->setup(this);
}
