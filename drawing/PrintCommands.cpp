// File, Print and File, Printer Setup: the graph printed on one page as the
// window shows it, by the painter's printing variant.

#include "document/GraphDocument.h"
#include "drawing/TWindowPrintout.h"
#include "framework/MessageBox.h"
#include "framework/Printer.h"
#include "ui/TWndw.h"

namespace {
// `printing` is set for exactly as long as the command runs, whatever way it
// ends, and the window is repainted on both edges.
class PrintingFlag {
public:
    explicit PrintingFlag(TWndw& shown)
        : window(shown)
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
    const TWindowPrintout printout(doc);
    try {
        printer->print(this, "", [&printout](TDC& dc, TSize pageSize) { printout.printPage(dc, pageSize); });
    } catch (...) {
        // The printer object reports its own failures; this is one of its own.
        messageBox(notPrintedText("", printErrorReason(TPrintResult::generalError)), "Print Error",
            MB_OK | MB_ICONSTOP);
    }
}

void TWndw::cmPrinterSetup()
{
    if (TPrinter* printer = this->printer())
        printer->setup(this);
}
