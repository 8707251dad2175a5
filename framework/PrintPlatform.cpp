// The print service over the desktop's printing: GTK's print dialog (which
// always offers printing to a PDF, PostScript or SVG file, with or without
// printers), its page set-up dialog, and its print operation. Pages are
// drawn by our own cairo backend straight on the operation's context.

#include "framework/Printer.h"

#include "framework/dc/CairoDC.h"

#include <cmath>
#include <glib.h>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/toplevel.h>

namespace {
GtkWindow* toplevelOf(wxWindow* w)
{
    wxWindow* top = w ? wxGetTopLevelParent(w) : nullptr;
    return top ? GTK_WINDOW(top->GetHandle()) : nullptr;
}

// One run of GTK's print operation, each of its steps passed on to our job.
class Operation {
public:
    Operation(TPrintJob& printJob, const TPrintSettings& settings)
        : job(printJob)
        , operation(gtk_print_operation_new())
    {
        gtk_print_operation_set_print_settings(operation, settings.print);
        gtk_print_operation_set_default_page_setup(operation, settings.page);
        // One page, always: nothing to choose from.
        gtk_print_operation_set_n_pages(operation, 1);
        g_signal_connect(operation, "begin-print", G_CALLBACK(onBegin), this);
        g_signal_connect(operation, "draw-page", G_CALLBACK(onDraw), this);
        g_signal_connect(operation, "done", G_CALLBACK(onDone), this);
    }
    ~Operation()
    {
        g_signal_handlers_disconnect_by_data(operation, this);
        g_object_unref(operation);
    }
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // Shows the dialog and prints; the chosen printer is kept in `settings`.
    TPrintResult run(wxWindow* parent, TPrintSettings& settings)
    {
        GError* error = nullptr;
        const GtkPrintOperationResult answer = gtk_print_operation_run(
            operation, GTK_PRINT_OPERATION_ACTION_PRINT_DIALOG, toplevelOf(parent), &error);
        if (answer == GTK_PRINT_OPERATION_RESULT_ERROR)
            fail(error);
        if (error)
            g_error_free(error);
        job.end();
        if (begun)
            settings.keep(gtk_print_operation_get_print_settings(operation), nullptr);
        const TPrintResult r = result(answer);
        if (begun && r != TPrintResult::printed)
            removePartialOutput();
        return r;
    }

    // The system's message for the failure, if it gave one.
    std::string detail;

private:
    static void onBegin(GtkPrintOperation*, GtkPrintContext*, gpointer self)
    {
        static_cast<Operation*>(self)->begin();
    }

    static void onDraw(GtkPrintOperation*, GtkPrintContext* context, gint page, gpointer self)
    {
        static_cast<Operation*>(self)->draw(context, page + 1);
    }

    static void onDone(GtkPrintOperation* operation, GtkPrintOperationResult result, gpointer self)
    {
        if (result != GTK_PRINT_OPERATION_RESULT_ERROR)
            return;
        GError* error = nullptr;
        gtk_print_operation_get_error(operation, &error);
        static_cast<Operation*>(self)->fail(error);
        if (error)
            g_error_free(error);
    }

    void begin()
    {
        begun = true;
        const TPrintDevice chosen = device();
        output = chosen.port;
        outputExisted = !output.empty() && stat(output.c_str(), &outputBefore) == 0;
        const int pages = job.begin(chosen);
        if (pages <= 0)
            stop();
        else
            gtk_print_operation_set_n_pages(operation, pages);
    }

    // Draws in device pixels of the printer's resolution, from the corner of
    // the printable area, where the operation's context starts.
    void draw(GtkPrintContext* context, int page)
    {
        if (stopped)
            return;
        const TSize pageSize { static_cast<int>(std::lround(gtk_print_context_get_width(context))),
            static_cast<int>(std::lround(gtk_print_context_get_height(context))) };
        bool goOn = false;
        {
            TCairoDC tdc(gtk_print_context_get_cairo_context(context));
            goOn = job.page(tdc, pageSize, page);
        }
        if (!goOn)
            stop();
    }

    void stop()
    {
        stopped = true;
        gtk_print_operation_cancel(operation);
    }

    void fail(const GError* error)
    {
        if (failure != TPrintResult::printed)
            return;
        failure = TPrintResult::generalError;
        if (!error)
            return;
        if ((error->domain == G_IO_ERROR && error->code == G_IO_ERROR_NO_SPACE)
            || (error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOSPC))
            failure = TPrintResult::outOfDisk;
        else if ((error->domain == GTK_PRINT_ERROR && error->code == GTK_PRINT_ERROR_NOMEM)
            || (error->domain == G_FILE_ERROR && error->code == G_FILE_ERROR_NOMEM))
            failure = TPrintResult::outOfMemory;
        if (error->message)
            detail = error->message;
    }

    // How the job ended, as far as the answer and the operation tell.
    TPrintResult result(GtkPrintOperationResult answer) const
    {
        if (!begun)
            return answer == GTK_PRINT_OPERATION_RESULT_CANCEL ? TPrintResult::dialogCancelled
                                                               : TPrintResult::dialogFailed;
        if (stopped)
            return TPrintResult::stopped;
        if (failure != TPrintResult::printed)
            return failure;
        if (gtk_print_operation_get_status(operation) == GTK_PRINT_STATUS_FINISHED_ABORTED)
            return TPrintResult::userAborted;
        return answer == GTK_PRINT_OPERATION_RESULT_APPLY ? TPrintResult::printed
                                                          : TPrintResult::generalError;
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

    TPrintJob& job;
    GtkPrintOperation* operation;
    bool begun = false;
    bool stopped = false;
    TPrintResult failure = TPrintResult::printed;
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

    bool setup(wxWindow* parent, TPrintSettings& settings) override
    {
        GtkWidget* dialog = gtk_page_setup_unix_dialog_new(nullptr, toplevelOf(parent));
        auto* pageDialog = GTK_PAGE_SETUP_UNIX_DIALOG(dialog);
        gtk_page_setup_unix_dialog_set_page_setup(pageDialog, settings.page);
        gtk_page_setup_unix_dialog_set_print_settings(pageDialog, settings.print);
        gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
        const bool chosen = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK;
        // The printer it formats for is the one the next print dialog offers.
        if (chosen)
            settings.keep(gtk_page_setup_unix_dialog_get_print_settings(pageDialog),
                gtk_page_setup_unix_dialog_get_page_setup(pageDialog));
        gtk_widget_destroy(dialog);
        return chosen;
    }

    TPrintResult print(wxWindow* parent, TPrintSettings& settings, TPrintJob& job) override
    {
        lastDetail.clear();
        Operation operation(job, settings);
        const OnePageDialog onePage;
        const TPrintResult result = operation.run(parent, settings);
        lastDetail = operation.detail;
        return result;
    }

private:
    std::string lastDetail;
};
} // namespace

std::unique_ptr<TPrintService> makePlatformPrintService() { return std::make_unique<PlatformPrinting>(); }
