#pragma once
// The printer object: the printer set-up and print dialogs, the print job
// with its progress window, and the report of a job that failed. The dialogs
// and the device itself come from a replaceable platform service, because a
// real printer, or the toolkit's print dialog, cannot be driven by a test.

#include "framework/dc/TDC.h"

#include <functional>
#include <memory>
#include <string>

class wxWindow;
typedef struct _GtkPrintSettings GtkPrintSettings;
typedef struct _GtkPageSetup GtkPageSetup;

// The printer, its options and the page the user chose last, as the
// desktop's print dialogs keep them.
class TPrintSettings {
public:
    TPrintSettings();
    ~TPrintSettings();
    TPrintSettings(const TPrintSettings&) = delete;
    TPrintSettings& operator=(const TPrintSettings&) = delete;

    // Takes over the dialog's choice (either may be null: kept as it was).
    void keep(GtkPrintSettings* chosen, GtkPageSetup* chosenPage);
    // Forgets every choice: the next dialog starts from the default printer.
    void clear();

    GtkPrintSettings* print = nullptr;
    GtkPageSetup* page = nullptr;
};

// The printer a job goes to, as the progress window names it.
struct TPrintDevice {
    std::string name; // the printer's name as the print dialog showed it
    std::string port; // where its output goes (the file, when printing to a file); may be empty
};

// How a run of the print service ended.
enum class TPrintResult {
    printed,
    dialogCancelled, // the user cancelled the print dialog: nothing printed
    dialogFailed, // the print dialog could not be shown, or gave no printer
    stopped, // the job asked to stop (its abort check, or a failure of its own)
    generalError,
    userAborted, // cancelled in the platform's print queue
    outOfDisk,
    outOfMemory,
    errorShown, // an error the platform has already shown to the user
};

// Draws the one page of a job on the printer's context, whose printable area
// is `pageSize` device pixels with its top left corner at (0, 0).
using TPageDrawer = std::function<void(TDC& dc, TSize pageSize)>;

// A print job as the platform drives it once the print dialog is answered.
// The platform makes and ends every page; the job draws them.
class TPrintJob {
public:
    virtual ~TPrintJob() = default;
    // The chosen printer's context is ready. Returns the number of pages of
    // one copy; 0 stops the job.
    virtual int begin(const TPrintDevice& device) = 0;
    // Draws page `page` (1 up to what begin returned) of one copy on `dc`,
    // whose printable area is `pageSize` device pixels with its top left
    // corner at (0, 0). The platform calls this again for every copy it does
    // not make by itself. Returns false when the job must stop.
    virtual bool page(TDC& dc, TSize pageSize, int page) = 0;
    // The abort check: lets the user press the progress window's Cancel.
    // True when the job must stop.
    virtual bool aborted() = 0;
    // The job is over, however it ended. Safe to call more than once.
    virtual void end() = 0;
};

// The platform side of printing. The program uses the toolkit's dialogs and
// printers; tests install a replacement that answers without a window.
class TPrintService {
public:
    virtual ~TPrintService() = default;
    // The printer set-up dialog over `settings`. Returns true for OK, with
    // `settings` holding the choice.
    virtual bool setup(wxWindow* parent, TPrintSettings& settings) = 0;
    // Shows the print dialog for the printer in `settings`; after OK runs
    // `job` on the chosen printer and keeps the choice in `settings`.
    virtual TPrintResult print(wxWindow* parent, TPrintSettings& settings, TPrintJob& job) = 0;
    // The system's own words for why the last print failed (a file that
    // could not be written, say), or empty when it gave none.
    virtual std::string failureDetail() const { return {}; }
};

TPrintService& printService();
// Replaces the service (null restores the platform's); returns the previous
// replacement, if any.
std::unique_ptr<TPrintService> setPrintService(std::unique_ptr<TPrintService> service);

class TPrinter {
public:
    TPrinter() = default;
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printer set-up dialog; its choice is kept for later jobs.
    void setup(wxWindow* parent);

    // Prints one page, drawn by `drawPage`, on a printer the user chooses in
    // the print dialog (always shown: this platform's printer, run without
    // it, waits for ever when no print server answers). While the job runs,
    // `parent` is disabled and the progress window, naming `title`, is up; a
    // job that fails is reported in a "Print Error" box. Returns true when
    // the job went to the printer.
    bool print(wxWindow* parent, const std::string& title, const TPageDrawer& drawPage);

    // The printer and settings chosen last.
    TPrintSettings& settings() { return data; }
    // Forgets the chosen printer: the next dialog starts from the default.
    void clearDevice();

private:
    TPrintSettings data;
};

// The reason shown for a failed job, or empty when the result needs no
// message (printed, cancelled in the dialog, or already shown).
std::string printErrorReason(TPrintResult result);
// The "Print Error" text for a printout title and a reason.
std::string notPrintedText(const std::string& title, const std::string& reason);
