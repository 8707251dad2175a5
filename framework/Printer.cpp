#include "framework/Printer.h"

#include "document/CodePage.h"
#include "document/TextHelpers.h"

#include "framework/MessageBox.h"
#include "framework/PrintProgress.h"

#include <gtk/gtk.h>
#include <new>
#include <wx/app.h>

std::unique_ptr<TPrintService> makePlatformPrintService(); // PrintPlatform.cpp

namespace {
std::unique_ptr<TPrintService>& replacement()
{
    static std::unique_ptr<TPrintService> service;
    return service;
}

// One run of the printer object: the page drawn, the disabled owner and the
// progress window. Anything the drawing throws is caught here, because the
// platform calls these from inside its own C code.
class JobRun : public TPrintJob {
public:
    JobRun(wxWindow* parent, const std::string& jobTitle, const TPageDrawer& draw)
        : owner(parent)
        , title(jobTitle)
        , drawPage(draw)
    {
    }
    ~JobRun() override { end(); }

    int begin(const TPrintDevice& device) override
    {
        if (begun)
            return 0;
        begun = true;
        try {
            if (owner && owner->IsEnabled()) {
                owner->Disable();
                ownerDisabled = true;
            }
            progress = new TPrintProgress(owner, title, device);
            progress->Show();
            progress->Update();
            return aborted() ? 0 : 1;
        } catch (...) {
            fail();
            return 0;
        }
    }

    bool page(TDC& dc, TSize pageSize, int number) override
    {
        if (!begun || ended || number != 1 || aborted())
            return false;
        try {
            if (progress)
                progress->showPage(1, 1);
            drawPage(dc, pageSize);
        } catch (...) {
            fail();
            return false;
        }
        return !aborted();
    }

    bool aborted() override
    {
        if (progress && !ended) {
            // Lets a press on Cancel arrive while the job runs.
            wxTheApp->Yield(true);
            if (progress->cancelled())
                cancelled = true;
        }
        return cancelled || failure != TPrintResult::printed;
    }

    void end() override
    {
        if (!begun || ended)
            return;
        ended = true;
        if (progress) {
            progress->Destroy();
            progress = nullptr;
        }
        if (ownerDisabled)
            owner->Enable();
        ownerDisabled = false;
    }

    bool started() const { return begun; }
    bool wasCancelled() const { return cancelled; }
    TPrintResult failed() const { return failure; }

private:
    void fail()
    {
        if (failure != TPrintResult::printed)
            return;
        try {
            throw;
        } catch (const std::bad_alloc&) {
            failure = TPrintResult::outOfMemory;
        } catch (...) {
            failure = TPrintResult::generalError;
        }
    }

    wxWindow* owner;
    const std::string& title;
    const TPageDrawer& drawPage;
    TPrintProgress* progress = nullptr;
    bool ownerDisabled = false;
    bool begun = false;
    bool ended = false;
    bool cancelled = false;
    TPrintResult failure = TPrintResult::printed;
};

TPrintResult runService(wxWindow* parent, TPrintSettings& settings, JobRun& job)
{
    try {
        return printService().print(parent, settings, job);
    } catch (const std::bad_alloc&) {
        return TPrintResult::outOfMemory;
    } catch (...) {
        return TPrintResult::generalError;
    }
}
} // namespace

TPrintService& printService()
{
    static std::unique_ptr<TPrintService> platform = makePlatformPrintService();
    if (replacement())
        return *replacement();
    return *platform;
}

std::unique_ptr<TPrintService> setPrintService(std::unique_ptr<TPrintService> service)
{
    std::swap(service, replacement());
    return service;
}

std::string printErrorReason(TPrintResult result)
{
    switch (result) {
    case TPrintResult::printed:
    case TPrintResult::dialogCancelled:
    case TPrintResult::errorShown:
        return {};
    case TPrintResult::stopped:
        return "Printing canceled";
    case TPrintResult::userAborted:
        return "Printing aborted in Print Manager";
    case TPrintResult::outOfDisk:
        return "Out of disk space";
    case TPrintResult::outOfMemory:
        return "Out of memory";
    case TPrintResult::dialogFailed:
    case TPrintResult::generalError:
        break;
    }
    return "Error encountered during print";
}

TPrintSettings::TPrintSettings()
    : print(gtk_print_settings_new())
    , page(gtk_page_setup_new())
{
}

TPrintSettings::~TPrintSettings()
{
    g_object_unref(print);
    g_object_unref(page);
}

void TPrintSettings::keep(GtkPrintSettings* chosen, GtkPageSetup* chosenPage)
{
    if (chosen && chosen != print) {
        g_object_unref(print);
        print = gtk_print_settings_copy(chosen);
    }
    if (chosenPage && chosenPage != page) {
        g_object_unref(page);
        page = gtk_page_setup_copy(chosenPage);
    }
}

void TPrintSettings::clear()
{
    g_object_unref(print);
    g_object_unref(page);
    print = gtk_print_settings_new();
    page = gtk_page_setup_new();
}

void TPrinter::clearDevice() { data.clear(); }

void TPrinter::setup(wxWindow* parent)
{
    try {
        printService().setup(parent, data);
    } catch (...) {
        // The dialog failed: the printer chosen before stays as it was.
    }
}

bool TPrinter::print(wxWindow* parent, const std::string& title, const TPageDrawer& drawPage)
{
    JobRun job(parent, title, drawPage);
    TPrintResult result = runService(parent, data, job);
    if (result == TPrintResult::dialogFailed && !job.started()) {
        // Most often the remembered printer is gone: try once with the default.
        clearDevice();
        result = runService(parent, data, job);
    }
    job.end();

    // What the job itself knows decides over what the platform made of it.
    if (job.wasCancelled())
        result = TPrintResult::stopped;
    else if (job.failed() != TPrintResult::printed)
        result = job.failed();
    else if (result == TPrintResult::stopped)
        result = TPrintResult::generalError;

    if (result == TPrintResult::printed)
        return true;
    std::string reason = printErrorReason(result);
    // Where the system said what went wrong, the general reason says it too.
    if (result == TPrintResult::generalError) {
        const std::string detail = printService().failureDetail();
        if (!detail.empty())
            reason += ": " + detail;
    }
    if (!reason.empty()) {
        // The title is a code-page text, the message box takes UTF-8.
        MessageBox(parent, notPrintedText(codePageToUtf8(title), reason), "Print Error", MB_OK | MB_ICONSTOP);
    }
    return false;
}

std::string notPrintedText(const std::string& title, const std::string& reason)
{
    return formatText("'%s' not printed. %s.", title.c_str(), reason.c_str());
}
