#pragma once
// The progress window of a print job (template 32599): modeless, owned by
// the window being printed, with a Cancel button that asks the job to stop.
// It cannot be closed any other way.

#include "framework/Printer.h"
#include "framework/TDialog.h"

#include <string>

// Ids of the controls a job fills in.
enum PrintProgressId : int {
    IDC_PRINT_CANCEL = 2,
    IDC_PRINT_HEADING = 65535,
    IDC_PRINT_PAGE = 104,
    IDC_PRINT_LASTPAGE = 105,
    IDC_PRINT_TITLE = 101,
    IDC_PRINT_PORT = 103,
    IDC_PRINT_DEVICE = 102,
};

class TPrintProgress : public TDialog {
public:
    TPrintProgress(wxWindow* parent, const std::string& title, const TPrintDevice& device);

    // Shows which page is being printed, and the last one.
    void showPage(int page, int lastPage);
    bool cancelled() const { return cancelPressed; }

private:
    void onCancel(wxCommandEvent& event);
    void onClose(wxCloseEvent& event);

    bool cancelPressed = false;
    wxString pageFormat, lastPageFormat;
};
