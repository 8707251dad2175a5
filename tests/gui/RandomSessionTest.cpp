// A long random session on the real main window: clicks anywhere, typed
// points from good, edge and garbage values, the toggles, curve switches,
// every dialog with random input and random answers, saves and reopens,
// and both axis extensions. After every step the document must still be one
// the program can draw, save and open again.
//   gui_tests --gtest_filter='RandomSession.*' --steps 50000 --seed 7

#include "document/GraphDocument.h"
#include "drawing/Painter.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "framework/FileDialogs.h"
#include "framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"
#include "tests/support/RecordingDC.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

namespace fs = std::filesystem;

namespace {

using Random = std::mt19937_64;

int between(Random& r, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(r); }

template <typename T, std::size_t N> const T& pick(Random& r, const T (&items)[N])
{
    return items[static_cast<std::size_t>(between(r, 0, static_cast<int>(N) - 1))];
}

// Typed input: mostly what a user means, sometimes what a user mistypes.
std::string randomText(Random& r)
{
    static const char* const good[] = { "0", "10", "55", "250.5", "360", "670", "100", "42", "7.25", "Jan",
        "Week3", "ab12", "Rain", "caf\xE9", "5\x80" };
    static const char* const edge[] = { "-0", "670.0", "1e2", "  5", "+3", "0.0001", "359.999", "671", "-1",
        "1e-40", "3.4e38", "99999999999", "00012", "1.5e1", "" };
    static const char* const garbage[] = { "abc", "nan", "inf", "-inf", "1e39", "0x10", "1,5", "..", "--5",
        "\xE2\x9C\x93", "\xE4\xB8\xAD\xE6\x96\x87", "\xF0\x9F\x98\x80", "a b", "%s%n", "\t" };
    switch (between(r, 0, 9)) {
    case 0:
    case 1:
        return pick(r, edge);
    case 2:
        return pick(r, garbage);
    case 3:
        return std::string(
            static_cast<std::size_t>(between(r, 20, 300)), static_cast<char>(between(r, '0', 'z')));
    case 4:
        return std::to_string(between(r, -50, 800));
    default:
        return pick(r, good);
    }
}

// Answers the file dialogs with a random choice of the session's files.
struct SessionFiles : TFileDialogService {
    Random* random = nullptr;
    fs::path dir;
    std::string chosen;
    bool runOpen(wxWindow*, TOpenSaveDialog::TData& data) override { return choose(data, true); }
    bool runSave(wxWindow*, TOpenSaveDialog::TData& data) override { return choose(data, false); }
    bool choose(TOpenSaveDialog::TData& data, bool opening)
    {
        chosen.clear();
        const int choice = between(*random, 0, 9);
        if (choice == 0)
            return false; // cancelled
        static const char* const names[]
            = { "a.gd2", "b.gd2", "c.gd2", "short.gd2", "garbage.gd2", "missing.gd2", "no-folder/x.gd2" };
        const char* name = opening ? pick(*random, names) : names[between(*random, 0, 2)];
        if (!opening && choice == 1)
            name = "no-folder/x.gd2";
        chosen = (dir / name).string();
        data.fileName = chosen;
        return true;
    }
};

class RandomSession : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        dir = fs::temp_directory_path() / ("plotwell-session-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "short.gd2", std::ios::binary) << std::string(4992, '\0');
        std::ofstream(dir / "garbage.gd2", std::ios::binary) << std::string(9653, '\xFF');
        auto owned = std::make_unique<SessionFiles>();
        files = owned.get();
        files->random = &random;
        files->dir = dir;
        setFileDialogService(std::move(owned));
        dialogs().setFallback([this](wxDialog* d) { return answer(d); });
    }
    void TearDown() override
    {
        setFileDialogService(nullptr);
        fs::remove_all(dir);
        WindowTest::TearDown();
    }

    // Any dialog: a message box gets one of its buttons; a template dialog
    // gets random texts and ticks, then a random button, a few times over,
    // and is cancelled if it is still open.
    int answer(wxDialog* dialog)
    {
        ++dialogsSeen;
        if (auto* box = dynamic_cast<TMessageBox*>(dialog))
            return (box->GetMessageDialogStyle() & wxYES_NO) ? (between(random, 0, 1) ? wxID_YES : wxID_NO)
                                                             : wxID_OK;
        auto* td = dynamic_cast<TDialog*>(dialog);
        if (!td)
            return wxID_CANCEL;
        td->CallAfter([this, td] {
            for (int round = 0; round < 3 && td->IsModal(); ++round) {
                std::vector<int> buttons;
                for (wxWindow* child : td->GetChildren()) {
                    if (auto* edit = dynamic_cast<wxTextCtrl*>(child);
                        edit && edit->IsShown() && between(random, 0, 3))
                        typeInto(*td, edit->GetId(), randomText(random));
                    else if (auto* box = dynamic_cast<wxCheckBox*>(child); box && between(random, 0, 1))
                        tick(*td, box->GetId(), between(random, 0, 1) != 0);
                    else if (auto* button = dynamic_cast<wxButton*>(child);
                             button && button->IsShown() && button->IsEnabled())
                        buttons.push_back(button->GetId());
                }
                if (buttons.empty())
                    break;
                // OK most of the time, so chains of dialogs get walked.
                const bool hasOk = std::find(buttons.begin(), buttons.end(), 1) != buttons.end();
                press(*td,
                    hasOk && between(random, 0, 2) ? 1
                                                   : buttons[static_cast<std::size_t>(between(
                                                       random, 0, static_cast<int>(buttons.size()) - 1))]);
            }
            if (td->IsModal())
                td->EndModal(wxID_CANCEL);
        });
        return wxID_NONE;
    }

    // Returns a description of the step, for the trace of a failure.
    std::string step()
    {
        static const int toggles[] = { IDC_CONNECT, IDC_DISCONNECT, IDC_LARGEPOINTS, IDC_SMALLPOINTS,
            IDC_LABELPOINTS, IDC_UNLABELPOINTS, IDC_SHOWERRORBARS, IDC_HIDEERRORBARS, IDC_THICKLINES };
        static const int curves[] = { IDC_CURVE1, IDC_CURVE2, IDC_CURVE3 };
        static const int commands[] = { CM_NEWGRAPH, CM_OPEN, CM_SAVE, CM_SAVEAS, CM_EXTENDX, CM_EXTENDY,
            CM_EDITLABELS, CM_CAPTIONS, CM_GRAPHTITLE, CM_ADDINGPOINTS, CM_DELETINGPOINTS, CM_GENERALHELP,
            CM_ABOUT, CM_EDITUNDO, CM_EDITUNDO, CM_EDITREDO, CM_EDITCUT, CM_EDITCOPY, CM_EDITPASTE };
        const int kind = between(random, 0, 19);
        if (kind < 6) {
            const int x = between(random, -5, 760), y = between(random, -5, 560);
            leftClick(x, y);
            return "left click " + std::to_string(x) + "," + std::to_string(y);
        }
        if (kind < 8) {
            // Right clicks mostly on a point, so deletions happen.
            const int c = doc.currentCurve, n = doc.pointCount[c];
            int x = between(random, 40, 730), y = between(random, 10, 390);
            if (n > 0 && between(random, 0, 2)) {
                const int j = between(random, 0, n - 1);
                x = doc.pixelX[c][j];
                y = static_cast<int>(std::lround(doc.pixelY[c][j]));
            }
            rightClick(x, y);
            return "right click " + std::to_string(x) + "," + std::to_string(y);
        }
        if (kind < 12) {
            const std::string x
                = between(random, 0, 3) ? std::to_string(between(random, 0, 670)) : randomText(random);
            const std::string y
                = between(random, 0, 3) ? std::to_string(between(random, 0, 360)) : randomText(random);
            type(IDC_XBOX, x);
            type(IDC_YBOX, y);
            click(IDC_NEXTPOINT);
            return "typed " + x + " / " + y;
        }
        if (kind < 14) {
            const int id = pick(random, toggles);
            if (!shown(id))
                return "no toggle";
            click(id);
            return "toggle " + std::to_string(id);
        }
        if (kind < 15) {
            const int id = pick(random, curves);
            click(id);
            return "curve " + std::to_string(id);
        }
        const int id = pick(random, commands);
        if (!menuEnabled(id))
            return "disabled command " + std::to_string(id);
        const std::size_t messagesBefore = messages().size();
        command(id);
        // Whatever undid or saved its way to a clean graph holds what its file holds.
        if ((id == CM_SAVE || id == CM_SAVEAS || id == CM_EDITUNDO || id == CM_EDITREDO)
            && messages().size() == messagesBefore)
            checkSaved();
        return "command " + std::to_string(id);
    }

    // A save that said nothing wrote the document's record, and it opens.
    void checkSaved()
    {
        if (dirty() != 0 || doc.fileName.empty())
            return;
        GraphRecord read;
        std::string error;
        ASSERT_TRUE(readGraphFile(doc.fileName, read, error)) << error;
        // Slots past the counts keep whatever the record held before, so the
        // stored fields are compared: both packed afresh.
        auto reopened = std::make_unique<GraphDocument>();
        unpackRecordDocument(read, *reopened);
        GraphRecord fromFile, fromWindow;
        packRecord(*reopened, fromFile);
        packRecord(doc, fromWindow);
        const auto [a, b]
            = std::mismatch(fromFile.bytes.begin(), fromFile.bytes.end(), fromWindow.bytes.begin());
        EXPECT_EQ(a, fromFile.bytes.end())
            << "the saved file differs from the document at byte " << (a - fromFile.bytes.begin());
        ++saves;
    }

    // What every state the window can reach must hold.
    void checkDocument()
    {
        for (int c = 0; c < kCurveCount; ++c) {
            const int n = doc.pointCount[c];
            ASSERT_GE(n, 0);
            ASSERT_LE(n, kMaxPoints);
            for (int j = 0; j < n; ++j) {
                ASSERT_TRUE(std::isfinite(doc.pixelY[c][j]) && std::isfinite(doc.valueY[c][j]))
                    << "curve " << c + 1 << " point " << j + 1;
                if (j > 0) {
                    ASSERT_LE(doc.pixelX[c][j - 1], doc.pixelX[c][j])
                        << "curve " << c + 1 << " out of X order";
                }
            }
        }
        ASSERT_GE(doc.xLabelCount, 0);
        ASSERT_LE(doc.xLabelCount, kMaxLabels);
        for (const char(&label)[kLabelTextSize] : doc.xLabels)
            ASSERT_NE(std::memchr(label, 0, kLabelTextSize), nullptr);
        for (const char(&caption)[kCaptionSize] : doc.captions)
            ASSERT_NE(std::memchr(caption, 0, kCaptionSize), nullptr);
        ASSERT_NE(std::memchr(doc.title, 0, kTitleSize), nullptr);
        for (float v : { doc.yMin, doc.yMax, doc.yScale, doc.percentError })
            ASSERT_TRUE(std::isfinite(v));
        // Whatever state the window is in, saving it must give a file that opens.
        GraphRecord rec;
        packRecord(doc, rec);
        ASSERT_EQ(checkRecord(rec), "");
        TRecordingDC recording;
        paintGraph(recording, doc);
        ASSERT_EQ(recording.liveObjectCount(), 0);
        ASSERT_EQ(recording.saveDepth(), 0);
    }

    Random random;
    SessionFiles* files = nullptr;
    fs::path dir;
    long dialogsSeen = 0, saves = 0;
};

TEST_F(RandomSession, EveryStepLeavesADocumentThatDrawsSavesAndOpens)
{
    const SessionOptions options = sessionOptions();
    random.seed(options.seed);
    const auto started = std::chrono::steady_clock::now();
    std::string last;
    for (long i = 0; i < options.steps; ++i) {
        last = step();
        window->client()->Refresh();
        pump();
        checkDocument();
        if (HasFailure()) {
            ADD_FAILURE() << "seed " << options.seed << ", step " << i + 1 << ": " << last
                          << " (rerun with --seed " << options.seed << " --steps " << i + 1 << ")";
            return;
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("random session: seed %lu, %ld steps, %ld dialogs, %ld saves checked, %.1f s\n", options.seed,
        options.steps, dialogsSeen, saves, seconds);
    // A session of any length reaches the places it is meant to try.
    if (options.steps >= 1000) {
        EXPECT_GT(dialogsSeen, options.steps / 50);
        EXPECT_GT(saves, 0);
    }
}

} // namespace
