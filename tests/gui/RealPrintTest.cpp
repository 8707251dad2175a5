// The toolkit's own print dialog, answered with its "Print to File" printer:
// the whole path from the command to a PDF page, with no printer or print
// server. The dialog is driven from a timer inside its own modal loop; if it
// does not become ready in time it is cancelled, so the test cannot hang.

#include "document/PlotArea.h"
#include "framework/Printer.h"
#include "resources/CommandIds.h"
#include "tests/core/SmallDisk.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/SkipOrFail.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <gtk/gtkunixprint.h>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// The newest visible top-level window of a GTK type, or null.
GtkWidget* visibleWindowOf(GType type)
{
    GtkWidget* found = nullptr;
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w; w = w->next)
        if (G_TYPE_CHECK_INSTANCE_TYPE(w->data, type) && gtk_widget_get_visible(GTK_WIDGET(w->data)))
            found = GTK_WIDGET(w->data);
    g_list_free(windows);
    return found;
}

// Presses Print once the dialog has selected the file printer it was given.
struct DialogDriver {
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    bool pressedPrint = false;
    bool timedOut = false;
    bool rangeOffered = true, copiesOffered = false, previewOffered = true;
    std::optional<std::chrono::steady_clock::time_point> ready;

    static gboolean tick(gpointer data)
    {
        auto* self = static_cast<DialogDriver*>(data);
        GtkWidget* dialog = visibleWindowOf(GTK_TYPE_PRINT_UNIX_DIALOG);
        if (dialog) {
            GtkPrinter* printer = gtk_print_unix_dialog_get_selected_printer(GTK_PRINT_UNIX_DIALOG(dialog));
            if (printer && gtk_printer_is_virtual(printer) && !self->ready)
                self->ready = std::chrono::steady_clock::now();
            // Pressed once the dialog has had time to lay itself out.
            if (self->ready
                && std::chrono::steady_clock::now() - *self->ready > std::chrono::milliseconds(300)) {
                const auto shown = [&](const char* name) {
                    GObject* w = gtk_widget_get_template_child(dialog, GTK_TYPE_PRINT_UNIX_DIALOG, name);
                    return GTK_IS_WIDGET(w) && gtk_widget_is_visible(GTK_WIDGET(w));
                };
                self->rangeOffered = shown("page_range_entry") || shown("current_page_radio");
                self->copiesOffered = shown("copies_spin");
                GtkWidget* preview
                    = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_APPLY);
                self->previewOffered = preview && gtk_widget_is_visible(preview);
                if (const char* shot = std::getenv("PLOTWELL_PRINT_DIALOG_SHOT")) {
                    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
                        gtk_widget_get_allocated_width(dialog), gtk_widget_get_allocated_height(dialog));
                    cairo_t* cr = cairo_create(image);
                    gtk_widget_draw(dialog, cr);
                    cairo_destroy(cr);
                    cairo_surface_write_to_png(image, shot);
                    cairo_surface_destroy(image);
                }
                self->pressedPrint = true;
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
                return G_SOURCE_REMOVE;
            }
        }
        if (std::chrono::steady_clock::now() - self->start > std::chrono::seconds(30)) {
            self->timedOut = true;
            if (dialog)
                gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
            return dialog ? G_SOURCE_REMOVE : G_SOURCE_CONTINUE;
        }
        return G_SOURCE_CONTINUE;
    }
};

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

struct Word {
    double xMin, yMin, xMax, yMax;
};

// The words of a PDF's first page with their boxes in points, and the page
// width; empty when the text extractor is not installed.
std::multimap<std::string, Word> pdfWords(const fs::path& pdf, double& pageWidth)
{
    std::multimap<std::string, Word> words;
    const std::string command = "pdftotext -bbox '" + pdf.string() + "' - 2>/dev/null";
    FILE* out = popen(command.c_str(), "r");
    if (!out)
        return words;
    std::string html;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;)
        html.append(buffer, n);
    pclose(out);
    std::smatch m;
    if (std::regex_search(html, m, std::regex(R"re(<page width="([0-9.]+)")re")))
        pageWidth = std::stod(m[1]);
    const std::regex word(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& w = *it;
        words.emplace(w[5], Word { std::stod(w[1]), std::stod(w[2]), std::stod(w[3]), std::stod(w[4]) });
    }
    return words;
}

class RealPrinting : public WindowTest {
protected:
    // File, Print through the toolkit's dialog, answered with its file
    // printer writing a PDF to `pdf`; a message box it leads to is answered OK.
    DialogDriver printTo(const fs::path& pdf, bool messageFollows = false)
    {
        TPrinter* printer = window->printer();
        DialogDriver driver;
        if (!printer) {
            ADD_FAILURE() << "no printer object";
            return driver;
        }
        gchar* uri = g_filename_to_uri(pdf.c_str(), nullptr, nullptr);
        gtk_print_settings_set(printer->settings().print, GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
        gtk_print_settings_set(printer->settings().print, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
        g_free(uri);
        // The file printer goes by its translated name.
        gtk_print_settings_set_printer(printer->settings().print, g_dgettext("gtk30", "Print to File"));
        const guint timer = g_timeout_add(50, &DialogDriver::tick, &driver);
        if (messageFollows)
            dialogs().expectMessage(wxID_OK);
        command(CM_PRINT);
        if (!driver.pressedPrint && !driver.timedOut)
            g_source_remove(timer);
        return driver;
    }
    // The one message a failed job ends with, which comes behind the job.
    bool waitForMessage()
    {
        for (int i = 0; i < 40 && messages().empty(); ++i) {
            pump();
            g_usleep(50000);
        }
        return messages().size() == 1;
    }
};

TEST_F(RealPrinting, PrintToFileWritesTheGraphAsOnePdfPage)
{
    const fs::path pdf = fs::temp_directory_path() / ("plotwell-print-" + std::to_string(getpid()) + ".pdf");
    fs::remove(pdf);
    leftClick(150, 200);
    asOpened();

    const DialogDriver driver = printTo(pdf);
    ASSERT_FALSE(driver.timedOut) << "the print dialog never offered the file printer";
    ASSERT_TRUE(driver.pressedPrint);
    // One page: nothing to choose but how many copies.
    EXPECT_FALSE(driver.rangeOffered);
    EXPECT_TRUE(driver.copiesOffered);
    // Preview is offered only where the desktop's previewer can show the page.
    gchar* command = nullptr;
    g_object_get(gtk_settings_get_default(), "gtk-print-preview-command", &command, nullptr);
    const std::string program = command ? std::string(command).substr(0, std::string(command).find(' ')) : "";
    g_free(command);
    gchar* previewer = g_find_program_in_path(program.c_str());
    EXPECT_EQ(driver.previewOffered, previewer != nullptr) << program;
    g_free(previewer);
    EXPECT_TRUE(messages().empty());

    // The file is written behind the job; wait for its end.
    std::string bytes;
    for (int i = 0; i < 200; ++i) {
        pump();
        bytes = slurp(pdf);
        if (bytes.size() > 100 && bytes.find("%%EOF") != std::string::npos)
            break;
        g_usleep(50000);
    }
    ASSERT_EQ(bytes.rfind("%PDF", 0), 0u) << pdf;
    EXPECT_NE(bytes.find("/Count 1"), std::string::npos) << "not exactly one page";

    double pageWidth = 0;
    const auto words = pdfWords(pdf, pageWidth);
    if (words.empty())
        SKIP_OR_FAIL_IN_CI("no pdftotext to read the page with");
    // The printing variant: no entry-box labels, no default X scale.
    for (const char* absent : { "X", "Y", "550", "600" })
        EXPECT_EQ(words.count(absent), 0u) << absent;
    ASSERT_EQ(words.count("360"), 1u);
    ASSERT_EQ(words.count("0"), 1u);
    ASSERT_EQ(words.count("Curve"), 1u);
    // The default Y scale puts "360" at row 15 and "0" at row 375, centred
    // on column 30: that gives the page's scale and where the window's
    // corner landed.
    const Word top = words.find("360")->second;
    const double s = (words.find("0")->second.yMin - top.yMin) / 360;
    const double left = (top.xMin + top.xMax) / 2 - 30 * s;
    // Scaled so the client-area layout's width fills the printable width,
    // which is the page less equal margins on both sides.
    EXPECT_NEAR(PlotArea::clientWidth * s + 2 * left, pageWidth, 1.5);
    // The statistics line starts at column 200 (its text begins with a space).
    const double statistics = (words.find("Curve")->second.xMin - left) / s;
    EXPECT_GT(statistics, 199);
    EXPECT_LT(statistics, 215);
    fs::remove(pdf);
}
} // namespace

namespace {
// A file the disk has no room for is not left behind half written, and the
// message says why.
TEST_F(RealPrinting, PrintToAFullDiskLeavesNoFileAndSaysWhy)
{
    const SmallDisk disk(fs::temp_directory_path() / ("plotwell-print-disk-" + std::to_string(getpid())));
    if (!disk.mounted)
        SKIP_OR_FAIL_IN_CI("mounting a small disk needs root");
    for (int j = 0; j < 40; ++j)
        leftClick(60 + 15 * j, 50 + 7 * j);
    disk.fill(8192);
    const DialogDriver driver = printTo(disk.path / "graph.pdf", true);
    ASSERT_TRUE(driver.pressedPrint);
    ASSERT_TRUE(waitForMessage());
    EXPECT_NE(messages()[0].text.find("not printed. Out of disk space."), std::string::npos)
        << messages()[0].text;
    EXPECT_FALSE(fs::exists(disk.path / "graph.pdf"));
}

// Any other failure names the system's own reason.
TEST_F(RealPrinting, PrintToAFolderThatIsNotThereSaysWhy)
{
    const DialogDriver driver = printTo("/nonexistent-plotwell-folder/graph.pdf", true);
    ASSERT_TRUE(driver.pressedPrint);
    ASSERT_TRUE(waitForMessage());
    EXPECT_NE(messages()[0].text.find("not printed. Error encountered during print: "), std::string::npos)
        << messages()[0].text;
    EXPECT_NE(messages()[0].text.find(g_strerror(ENOENT)), std::string::npos) << messages()[0].text;
}

TEST_F(RealPrinting, CancelledToolkitDialogsPrintNothingAndSayNothing)
{
    // Cancels the desktop's dialog as soon as it is up, naming its type.
    std::string shown;
    const auto cancelFirstDialog = [](gpointer data) -> gboolean {
        GtkWidget* dialog = visibleWindowOf(GTK_TYPE_DIALOG);
        if (!dialog)
            return G_SOURCE_CONTINUE;
        *static_cast<std::string*>(data) += std::string(G_OBJECT_TYPE_NAME(dialog)) + " ";
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
        return G_SOURCE_REMOVE;
    };
    // A timer whose dialog never came must not outlive the test.
    const auto runAnswered = [&](int id) {
        const guint timer = g_timeout_add(50, cancelFirstDialog, &shown);
        command(id);
        if (GSource* left = g_main_context_find_source_by_id(nullptr, timer))
            g_source_destroy(left);
    };
    runAnswered(CM_PRINT);
    runAnswered(CM_PRINTERSETUP);
    EXPECT_EQ(shown, "GtkPrintUnixDialog GtkPageSetupUnixDialog ");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(window->IsEnabled());
}
} // namespace
