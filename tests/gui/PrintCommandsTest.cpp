// File, Print and Printer Setup with the platform's printing replaced: the
// fake answers the dialogs and plays the device, while the printer object,
// its progress window and its error reports are the real ones.

#include "framework/PrintProgress.h"
#include "framework/Printer.h"
#include "resources/CommandIds.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/RecordingDC.h"

#include <gtk/gtk.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/stattext.h>

namespace {
TPrintProgress* findProgress()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* p = dynamic_cast<TPrintProgress*>(w); p && !p->IsBeingDeleted())
            return p;
    return nullptr;
}

struct FakePrinting : TPrintService {
    enum class Dialog { print, cancel, throwBeforeJob, throwDuringJob };
    Dialog dialog = Dialog::print;
    int failingDialogs = 0; // dialogs that fail before one opens
    TPrintResult outcome = TPrintResult::printed; // what the platform makes of a finished job
    int copies = 1;
    bool setupAnswer = true;
    std::function<void()> duringPage; // runs while page 1 is being printed

    // What the fake saw.
    int setups = 0;
    std::vector<std::string> dialogPrinters; // the printer each print dialog opened with
    int prints = 0; // print dialogs run
    std::vector<std::unique_ptr<TRecordingDC>> pages;
    bool ownerEnabledInJob = true;
    std::vector<std::string> progressTexts; // heading, page, last page, title, device, port
    bool pageLineShown = false;
    bool progressClosable = true, titleEllipsized = false;

    bool setup(wxWindow*, TPrintSettings& settings) override
    {
        ++setups;
        if (!setupAnswer)
            return false;
        gtk_print_settings_set_printer(settings.print, "Setup Choice");
        return true;
    }

    TPrintResult print(wxWindow* parent, TPrintSettings& settings, TPrintJob& job) override
    {
        ++prints;
        const char* printer = gtk_print_settings_get_printer(settings.print);
        dialogPrinters.push_back(printer ? printer : "");
        if (failingDialogs > 0) {
            --failingDialogs;
            return TPrintResult::dialogFailed;
        }
        if (dialog == Dialog::cancel)
            return TPrintResult::dialogCancelled;
        if (dialog == Dialog::throwBeforeJob)
            throw std::runtime_error("no device context for the chosen printer");

        gtk_print_settings_set_printer(settings.print, "Fake Printer");
        const int count = job.begin(TPrintDevice { "Fake Printer", "/tmp/graph.pdf" });
        ownerEnabledInJob = parent->IsEnabled();
        if (dialog == Dialog::throwDuringJob)
            throw std::runtime_error("spooler went away");
        for (int copy = 0; copy < copies; ++copy) {
            for (int page = 1; page <= count; ++page) {
                pages.push_back(std::make_unique<TRecordingDC>());
                const bool goOn = job.page(*pages.back(), TSize { 2480, 3508 }, page);
                readProgress();
                if (page == 1 && duringPage)
                    duringPage();
                if (!goOn || job.aborted()) {
                    job.end();
                    return TPrintResult::stopped;
                }
            }
        }
        job.end();
        return outcome;
    }

    void readProgress()
    {
        progressTexts.clear();
        if (TPrintProgress* p = findProgress()) {
            progressTexts.push_back(std::string(p->GetTitle().utf8_str()));
            for (int id : { IDC_PRINT_PAGE, IDC_PRINT_LASTPAGE, IDC_PRINT_TITLE, IDC_PRINT_DEVICE })
                progressTexts.push_back(p->text(id));
            pageLineShown
                = p->control(IDC_PRINT_PAGE)->IsShown() && !p->control(IDC_PRINT_HEADING)->IsShown();
            // No close box while printing (what the window manager is told
            // to draw); a long name shortened in its middle.
            progressClosable = gtk_window_get_deletable(GTK_WINDOW(p->GetHandle()));
            titleEllipsized = p->control(IDC_PRINT_TITLE)->HasFlag(wxST_ELLIPSIZE_MIDDLE);
        }
    }
};

class PrintCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        auto owned = std::make_unique<FakePrinting>();
        fake = owned.get();
        setPrintService(std::move(owned));
        // One point, so the page has a statistics line.
        leftClick(150, 200);
        asOpened();
    }
    void TearDown() override
    {
        setPrintService(nullptr);
        WindowTest::TearDown();
    }
    void expectNothingLeftBehind()
    {
        pump();
        EXPECT_TRUE(window->IsEnabled());
        EXPECT_EQ(findProgress(), nullptr);
    }

    FakePrinting* fake = nullptr;
};

TEST_F(PrintCommands, PrintsTheWindowOnOnePageInThePrintingVariant)
{
    command(CM_PRINT);

    EXPECT_EQ(fake->prints, 1);
    ASSERT_EQ(fake->pages.size(), 1u);
    const TRecordingDC& page = *fake->pages[0];
    auto viewport = page.callsOf("SetViewportExtEx");
    auto extent = page.callsOf("SetWindowExtEx");
    ASSERT_FALSE(viewport.empty());
    ASSERT_FALSE(extent.empty());
    EXPECT_EQ(viewport[0].args, (std::vector<int> { 2480, 3508 }));
    EXPECT_EQ(extent[0].args, (std::vector<int> { 742, 499 }));
    bool statistics = false;
    for (const TRecordedCall& c : page.callsOf("TextOut")) {
        EXPECT_NE(c.text, "X =");
        if (c.text.rfind(" Curve 1:", 0) == 0)
            statistics = c.args[0] == 200;
    }
    EXPECT_TRUE(statistics);

    // The progress window while the page printed; the owner disabled meanwhile.
    EXPECT_FALSE(fake->ownerEnabledInJob);
    EXPECT_EQ(fake->progressTexts,
        (std::vector<std::string> {
            "Printing", "Now printing Page 1", "to 1 of", "'' on the", "Fake Printer on /tmp/graph.pdf" }));
    EXPECT_TRUE(fake->pageLineShown);
    EXPECT_FALSE(fake->progressClosable);
    EXPECT_TRUE(fake->titleEllipsized);

    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.pointCount[0], 1);
    EXPECT_EQ(dirty(), 0);
    expectNothingLeftBehind();
}

// The page holds the whole layout whatever the window's size: a shrunken
// or enlarged window prints what the full window prints.
TEST_F(PrintCommands, ThePrintoutDoesNotDependOnTheWindowsSize)
{
    const wxSize sizes[] = { window->GetClientSize(), { 480, 300 }, { 900, 700 } };
    for (const wxSize& size : sizes) {
        window->SetClientSize(size);
        pump();
        command(CM_PRINT);
    }
    ASSERT_EQ(fake->pages.size(), std::size(sizes));
    for (std::size_t i = 1; i < std::size(sizes); ++i) {
        const auto& first = fake->pages[0]->calls;
        const auto& other = fake->pages[i]->calls;
        ASSERT_EQ(other.size(), first.size()) << sizes[i].x;
        for (std::size_t k = 0; k < first.size(); ++k) {
            EXPECT_EQ(other[k].op, first[k].op) << k;
            EXPECT_EQ(other[k].args, first[k].args) << first[k].op;
            EXPECT_EQ(other[k].text, first[k].text) << k;
        }
    }
}

TEST_F(PrintCommands, TheScreenKeepsItsOwnPictureWhilePrinting)
{
    // "X =" is painted left of the X entry box on the screen, not on paper.
    auto labelInk = [this] {
        window->client()->Update();
        cairo_surface_t* frame = window->lastFrame();
        if (!frame)
            return -1;
        cairo_surface_flush(frame);
        const unsigned char* data = cairo_image_surface_get_data(frame);
        const int stride = cairo_image_surface_get_stride(frame);
        int dark = 0;
        for (int y = 445; y < 461; ++y)
            for (int x = 10; x < 35; ++x)
                if ((*reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4) & 0xff) < 100)
                    ++dark;
        return dark;
    };
    pump();
    EXPECT_GT(labelInk(), 0);

    int whileOpen = -1;
    struct Peek : TPrintService {
        std::function<void()> peek;
        bool setup(wxWindow*, TPrintSettings&) override { return false; }
        TPrintResult print(wxWindow*, TPrintSettings&, TPrintJob&) override
        {
            peek();
            return TPrintResult::dialogCancelled;
        }
    };
    auto peek = std::make_unique<Peek>();
    peek->peek = [&] {
        pump();
        whileOpen = labelInk();
    };
    setPrintService(std::move(peek));
    command(CM_PRINT);
    EXPECT_GT(whileOpen, 0);
    pump();
    EXPECT_GT(labelInk(), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(PrintCommands, CancelInThePrintDialogPrintsNothingAndSaysNothing)
{
    fake->dialog = FakePrinting::Dialog::cancel;
    command(CM_PRINT);
    EXPECT_EQ(fake->prints, 1);
    EXPECT_TRUE(fake->pages.empty());
    EXPECT_TRUE(messages().empty());
    expectNothingLeftBehind();
}

TEST_F(PrintCommands, CancelInTheProgressWindowStopsTheJob)
{
    bool buttonDisabled = false;
    fake->copies = 2;
    fake->duringPage = [&] {
        TPrintProgress* progress = findProgress();
        ASSERT_NE(progress, nullptr);
        wxWindow* cancel = progress->control(IDC_PRINT_CANCEL);
        wxCommandEvent press(wxEVT_BUTTON, IDC_PRINT_CANCEL);
        press.SetEventObject(cancel);
        cancel->GetEventHandler()->ProcessEvent(press);
        buttonDisabled = !cancel->IsEnabled();
    };
    dialogs().expectMessage();
    command(CM_PRINT);

    EXPECT_TRUE(buttonDisabled);
    EXPECT_EQ(fake->pages.size(), 1u) << "the second copy was printed";
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "'' not printed. Printing canceled.");
    EXPECT_EQ(messages()[0].caption, "Print Error");
    EXPECT_TRUE(messages()[0].style & wxICON_ERROR);
    expectNothingLeftBehind();
}

TEST_F(PrintCommands, FailedJobsAreReportedWithTheirReason)
{
    const std::pair<TPrintResult, const char*> cases[] = {
        { TPrintResult::generalError, "'' not printed. Error encountered during print." },
        { TPrintResult::userAborted, "'' not printed. Printing aborted in Print Manager." },
        { TPrintResult::outOfDisk, "'' not printed. Out of disk space." },
        { TPrintResult::outOfMemory, "'' not printed. Out of memory." },
    };
    for (const auto& [result, text] : cases) {
        messages().clear();
        fake->outcome = result;
        dialogs().expectMessage();
        command(CM_PRINT);
        ASSERT_EQ(messages().size(), 1u) << text;
        EXPECT_EQ(messages()[0].text, text);
        EXPECT_EQ(messages()[0].caption, "Print Error");
        EXPECT_TRUE(messages()[0].style & wxICON_ERROR);
        EXPECT_EQ(doc.pointCount[0], 1);
        expectNothingLeftBehind();
    }

    // An error the platform has shown already is not shown again.
    messages().clear();
    fake->outcome = TPrintResult::errorShown;
    command(CM_PRINT);
    EXPECT_TRUE(messages().empty());
    expectNothingLeftBehind();
}

TEST_F(PrintCommands, AServiceThatThrowsIsReportedAndClearsPrinting)
{
    for (auto mode : { FakePrinting::Dialog::throwBeforeJob, FakePrinting::Dialog::throwDuringJob }) {
        messages().clear();
        fake->dialog = mode;
        dialogs().expectMessage();
        command(CM_PRINT);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, "'' not printed. Error encountered during print.");
        EXPECT_EQ(messages()[0].caption, "Print Error");
        EXPECT_EQ(doc.pointCount[0], 1);
        expectNothingLeftBehind();
    }
    EXPECT_EQ(fake->prints, 2);
}

TEST_F(PrintCommands, PrinterSetupChoiceOpensThePrintDialog)
{
    fake->dialog = FakePrinting::Dialog::cancel;
    command(CM_PRINTERSETUP);
    EXPECT_EQ(fake->setups, 1);
    command(CM_PRINT);
    ASSERT_EQ(fake->dialogPrinters.size(), 1u);
    EXPECT_EQ(fake->dialogPrinters[0], "Setup Choice");

    // A cancelled set-up keeps the printer chosen before.
    fake->setupAnswer = false;
    command(CM_PRINTERSETUP);
    command(CM_PRINT);
    EXPECT_EQ(fake->dialogPrinters.back(), "Setup Choice");

    // The printer chosen in the print dialog is the one offered next time.
    fake->dialog = FakePrinting::Dialog::print;
    command(CM_PRINT);
    command(CM_PRINT);
    EXPECT_EQ(fake->dialogPrinters.back(), "Fake Printer");
    EXPECT_TRUE(messages().empty());
}

TEST_F(PrintCommands, ADialogThatFailsIsTriedOnceMoreWithTheDefaultPrinter)
{
    command(CM_PRINTERSETUP);
    fake->failingDialogs = 1;
    command(CM_PRINT);
    EXPECT_EQ(fake->dialogPrinters, (std::vector<std::string> { "Setup Choice", "" }));
    EXPECT_EQ(fake->pages.size(), 1u);
    EXPECT_TRUE(messages().empty());

    // Failing twice prints nothing, and says so.
    fake->failingDialogs = 2;
    dialogs().expectMessage();
    command(CM_PRINT);
    EXPECT_EQ(fake->pages.size(), 1u);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "'' not printed. Error encountered during print.");
    expectNothingLeftBehind();
}

TEST_F(PrintCommands, WithoutAPrinterObjectBothCommandsDoNothing)
{
    window->setPrinter(nullptr);
    command(CM_PRINTERSETUP);
    command(CM_PRINT);
    EXPECT_EQ(fake->setups, 0);
    EXPECT_EQ(fake->prints, 0);
    EXPECT_TRUE(messages().empty());
    expectNothingLeftBehind();
}

// The one page is drawn once for every copy, on the printer's context and
// its printable size; the progress window names the job.
TEST_F(PrintCommands, ThePageIsDrawnForEveryCopyOnThePrintersContext)
{
    fake->copies = 2;
    TPrinter printer;
    std::vector<std::string> drawn;
    EXPECT_TRUE(printer.print(window, "log", [&drawn](TDC&, TSize size) {
        drawn.push_back(std::to_string(size.cx) + "x" + std::to_string(size.cy));
    }));
    EXPECT_EQ(drawn, (std::vector<std::string> { "2480x3508", "2480x3508" }));
    EXPECT_EQ(fake->pages.size(), 2u);
    EXPECT_EQ(fake->progressTexts[1], "Now printing Page 1");
    EXPECT_EQ(fake->progressTexts[3], "'log' on the");
}

TEST_F(PrintCommands, APageThatFailsEndsTheJobWithAReport)
{
    TPrinter printer;
    dialogs().expectMessage();
    EXPECT_FALSE(printer.print(window, "log", [](TDC&, TSize) { throw std::bad_alloc(); }));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "'log' not printed. Out of memory.");
    EXPECT_EQ(fake->pages.size(), 1u);
    expectNothingLeftBehind();
}
} // namespace
