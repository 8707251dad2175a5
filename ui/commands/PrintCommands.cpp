// File, Print and File, Printer Setup: the graph printed on one page as the
// window shows it, as paper shows it.

#include "document/GraphDocument.h"
#include "drawing/TWindowPrintout.h"
#include "framework/MessageBox.h"
#include "framework/Printer.h"
#include "ui/TWndw.h"

void TWndw::cmPrint()
{
    TPrinter* printer = this->printer();
    if (!printer)
        return;
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
