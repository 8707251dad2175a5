// The print service over the toolkit's printing: GTK's print dialog (which
// always offers printing to a PDF, PostScript or SVG file, with or without
// printers), its page set-up dialog, and its print operation. Pages are
// drawn by our own cairo backend straight on the print context: the
// toolkit's printer DC writes opaque text backgrounds at the page origin.

#include "framework/Printer.h"

#include "framework/dc/CairoDC.h"

#include <cmath>
#include <glib.h>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/log.h>
#include <wx/print.h>
#include <wx/printdlg.h>
// The toolkit's GTK printing: its native print data and printer DC.
#include <wx/gtk/print.h>

namespace {

// The toolkit's printer keeps its last error in a static that nothing resets
// between jobs; clearing it lets a job be told from the one before.
struct PrinterErrorReset : wxPrinterBase {
    static void clear() { sm_lastError = wxPRINTER_NO_ERROR; }
};

// The toolkit's printout, passing each step on to our job. The toolkit asks
// for the page range before it lets the printout begin, and does not cope
// with a range of no pages, so the job begins as soon as the context exists.
class Adapter : public wxPrintout {
public:
    Adapter(TPrintJob& printJob, wxPrintData& printSettings)
        : wxPrintout(wxEmptyString)
        , job(printJob)
        , settings(printSettings)
    {
    }
    ~Adapter() override
    {
        if (operation) {
            g_signal_handlers_disconnect_by_data(operation, this);
            g_object_unref(operation);
        }
    }

    void OnPreparePrinting() override
    {
        begun = true;
        // The settings, the toolkit's printer and its DC all share one native
        // record, which holds the running operation and its context.
        auto* native = dynamic_cast<wxGtkPrintNativeData*>(settings.GetNativeData());
        auto* dc = GetDC() ? dynamic_cast<wxGtkPrinterDCImpl*>(GetDC()->GetImpl()) : nullptr;
        if (native) {
            operation = native->GetPrintJob();
            context = native->GetPrintContext();
        }
        if (operation) {
            g_object_ref(operation);
            g_signal_connect(operation, "done", G_CALLBACK(onDone), this);
        }
        resolution = dc ? dc->GetResolution() : 0;
        if (!dc || !operation || !context || resolution <= 0) {
            stop();
            return;
        }
        const TPrintDevice chosen = device();
        output = chosen.port;
        outputExisted = !output.empty() && stat(output.c_str(), &outputBefore) == 0;
        pages = job.begin(chosen);
        if (pages <= 0)
            stop();
    }

    // A print to a file that failed leaves no half-written file. The file
    // printer writes the output only once the pages are done, so a file that
    // is still as it was before the job is someone's and stays.
    void removePartialOutput() const
    {
        struct stat now;
        if (output.empty() || stat(output.c_str(), &now) != 0 || !S_ISREG(now.st_mode))
            return;
        const bool unchanged = outputExisted && now.st_ino == outputBefore.st_ino
            && now.st_dev == outputBefore.st_dev && now.st_size == outputBefore.st_size
            && now.st_mtim.tv_sec == outputBefore.st_mtim.tv_sec
            && now.st_mtim.tv_nsec == outputBefore.st_mtim.tv_nsec;
        if (!unchanged)
            unlink(output.c_str());
    }

    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override
    {
        *minPage = *pageFrom = 1;
        *maxPage = *pageTo = pages > 0 ? pages : 1;
    }

    bool HasPage(int page) override { return !stopped && page >= 1 && page <= pages; }

    bool OnPrintPage(int page) override
    {
        if (stopped)
            return false;
        auto* cr = static_cast<cairo_t*>(GetDC()->GetImpl()->GetCairoContext());
        GtkPageSetup* setup = gtk_print_context_get_page_setup(context);
        if (!cr || !setup) {
            stop();
            return false;
        }
        // The toolkit's DC has moved the origin to the paper's corner and
        // scaled to its own resolution; go back to the printable area, in
        // device pixels of that resolution.
        const double r = resolution;
        const double marginLeft = gtk_page_setup_get_left_margin(setup, GTK_UNIT_POINTS);
        const double marginTop = gtk_page_setup_get_top_margin(setup, GTK_UNIT_POINTS);
        const TSize pageSize {
            static_cast<int>(std::lround(gtk_page_setup_get_page_width(setup, GTK_UNIT_POINTS) * r / 72)),
            static_cast<int>(std::lround(gtk_page_setup_get_page_height(setup, GTK_UNIT_POINTS) * r / 72)),
        };
        cairo_save(cr);
        cairo_scale(cr, r / 72, r / 72);
        cairo_translate(cr, marginLeft, marginTop);
        cairo_scale(cr, 72 / r, 72 / r);
        bool goOn = false;
        {
            TCairoDC tdc(cr);
            goOn = job.page(tdc, pageSize, page);
        }
        cairo_restore(cr);
        if (!goOn)
            stop();
        return goOn;
    }

    void OnEndPrinting() override { job.end(); }

    // How the job ended, as far as the toolkit's result and the operation tell.
    TPrintResult result(bool printed)
    {
        if (!begun) {
            const wxPrinterError error = wxPrinter::GetLastError();
            return error == wxPRINTER_CANCELLED ? TPrintResult::dialogCancelled : TPrintResult::dialogFailed;
        }
        if (stopped)
            return TPrintResult::stopped;
        if (operation && operationFailed) {
            GError* error = nullptr;
            gtk_print_operation_get_error(operation, &error);
            if (error) {
                const TPrintResult r = fromError(error);
                if (error->message)
                    detail = error->message;
                g_error_free(error);
                return r;
            }
            return TPrintResult::generalError;
        }
        if (operation && gtk_print_operation_get_status(operation) == GTK_PRINT_STATUS_FINISHED_ABORTED)
            return TPrintResult::userAborted;
        return printed ? TPrintResult::printed : TPrintResult::generalError;
    }

    bool jobBegun() const { return begun; }
    // The system's message for the failure, once result() has seen one.
    std::string detail;
    // The result, with a failed job's partial output file removed.
    TPrintResult finish(bool printed)
    {
        const TPrintResult r = result(printed);
        if (begun && r != TPrintResult::printed)
            removePartialOutput();
        return r;
    }

private:
    static void onDone(GtkPrintOperation*, GtkPrintOperationResult result, gpointer self)
    {
        if (result == GTK_PRINT_OPERATION_RESULT_ERROR)
            static_cast<Adapter*>(self)->operationFailed = true;
    }

    void stop()
    {
        stopped = true;
        if (operation)
            gtk_print_operation_cancel(operation);
    }

    TPrintDevice device() const
    {
        TPrintDevice d;
        GtkPrintSettings* chosen = gtk_print_operation_get_print_settings(operation);
        if (const char* name = chosen ? gtk_print_settings_get_printer(chosen) : nullptr)
            d.name = name;
        const char* uri = chosen ? gtk_print_settings_get(chosen, GTK_PRINT_SETTINGS_OUTPUT_URI) : nullptr;
        if (uri) {
            if (gchar* path = g_filename_from_uri(uri, nullptr, nullptr)) {
                d.port = path;
                g_free(path);
            } else {
                d.port = uri;
            }
        }
        return d;
    }

    static TPrintResult fromError(const GError* error)
    {
        if (error->domain == G_IO_ERROR && error->code == G_IO_ERROR_NO_SPACE)
            return TPrintResult::outOfDisk;
        if (error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOSPC)
            return TPrintResult::outOfDisk;
        if (error->domain == GTK_PRINT_ERROR && error->code == GTK_PRINT_ERROR_NOMEM)
            return TPrintResult::outOfMemory;
        if (error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOMEM)
            return TPrintResult::outOfMemory;
        return TPrintResult::generalError;
    }

    TPrintJob& job;
    wxPrintData& settings;
    GtkPrintOperation* operation = nullptr;
    GtkPrintContext* context = nullptr;
    int resolution = 0;
    int pages = 0;
    bool begun = false;
    bool stopped = false;
    bool operationFailed = false;
    std::string output; // the file printed to, if any
    bool outputExisted = false;
    struct stat outputBefore { };
};

// Whether the desktop's print previewer (a PDF viewer GTK starts on the
// previewed page) is installed.
bool previewerInstalled()
{
    gchar* command = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-print-preview-command", &command, nullptr);
    gchar** argv = nullptr;
    bool found = false;
    if (command && g_shell_parse_argv(command, nullptr, &argv, nullptr) && argv && argv[0]) {
        gchar* path = g_find_program_in_path(argv[0]);
        found = path != nullptr;
        g_free(path);
    }
    g_strfreev(argv);
    g_free(command);
    return found;
}

// GTK's print dialog always offers a page range, and a range other than
// page 1 ends in a misleading failure; the graph is one page, so the whole
// Range section goes while our dialog is up. Copies stay. Preview stays
// only where there is a previewer to show the page; elsewhere it would do
// nothing at all.
gboolean fitDialogToOnePage(GSignalInvocationHint*, guint, const GValue* params, gpointer)
{
    auto* shown = static_cast<GObject*>(g_value_get_object(&params[0]));
    if (!GTK_IS_PRINT_UNIX_DIALOG(shown))
        return TRUE;
    GObject* table
        = gtk_widget_get_template_child(GTK_WIDGET(shown), GTK_TYPE_PRINT_UNIX_DIALOG, "range_table");
    if (GTK_IS_WIDGET(table)) {
        // The table sits in a box with its "Range" heading.
        GtkWidget* section = gtk_widget_get_parent(GTK_WIDGET(table));
        gtk_widget_hide(section && GTK_IS_BOX(section) ? section : GTK_WIDGET(table));
    }
    if (GtkWidget* preview = gtk_dialog_get_widget_for_response(GTK_DIALOG(shown), GTK_RESPONSE_APPLY))
        gtk_widget_set_visible(preview, previewerInstalled());
    return TRUE;
}

// The hook lasts exactly as long as one print command.
class OnePageDialog {
public:
    OnePageDialog()
        : signal(g_signal_lookup("show", GTK_TYPE_WIDGET))
        , hook(g_signal_add_emission_hook(signal, 0, fitDialogToOnePage, nullptr, nullptr))
    {
    }
    ~OnePageDialog() { g_signal_remove_emission_hook(signal, hook); }
    OnePageDialog(const OnePageDialog&) = delete;
    OnePageDialog& operator=(const OnePageDialog&) = delete;

private:
    guint signal;
    gulong hook;
};

class PlatformPrinting : public TPrintService {
public:
    std::string failureDetail() const override { return lastDetail; }

    bool setup(wxWindow* parent, wxPrintData& settings) override
    {
        wxPageSetupDialogData data(settings);
        wxPageSetupDialog dialog(parent, &data);
        if (dialog.ShowModal() != wxID_OK)
            return false;
        settings = dialog.GetPageSetupDialogData().GetPrintData();
        return true;
    }

    TPrintResult print(wxWindow* parent, wxPrintData& settings, TPrintJob& job) override
    {
        lastDetail.clear();
        wxPrintDialogData data(settings);
        // One page, always: nothing to choose from (the GTK dialog clamps
        // any range to the single page anyway).
        data.EnablePageNumbers(false);
        data.EnableSelection(false);
        wxPrinter printer(&data);
        Adapter printout(job, settings);
        const OnePageDialog onePage;
        bool printed = false;
        {
            // The toolkit would pop up its own error boxes later; the printer
            // object reports failures itself.
            wxLogNull quiet;
            PrinterErrorReset::clear();
            printed = printer.Print(parent, &printout, true);
        }
        job.end();
        const TPrintResult result = printout.finish(printed);
        lastDetail = printout.detail;
        // The printer chose in the dialog is in the shared native record;
        // bring it into the settings, or the next dialog would start from
        // the old choice.
        if (printout.jobBegun())
            settings.ConvertFromNative();
        return result;
    }

private:
    std::string lastDetail;
};
} // namespace

std::unique_ptr<TPrintService> makePlatformPrintService() { return std::make_unique<PlatformPrinting>(); }
