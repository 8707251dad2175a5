#include "document/CodePage.h"
#include "files/GraphRecord.h"
#include "framework/FileDialogs.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/msgdlg.h>

namespace fs = std::filesystem;

namespace {
// Answers the file dialogs without a window and remembers what was asked.
struct FakeFileDialogs : TFileDialogService {
    std::string answer; // path chosen; empty means Cancel
    long failure = 0; // non-zero: the dialog fails with this code
    std::vector<TOpenSaveDialog::TData> asked;
    bool runOpen(wxWindow*, TOpenSaveDialog::TData& data) override { return run(data); }
    bool runSave(wxWindow*, TOpenSaveDialog::TData& data) override { return run(data); }
    bool run(TOpenSaveDialog::TData& data)
    {
        asked.push_back(data);
        if (failure) {
            data.error = failure;
            return false;
        }
        if (answer.empty())
            return false;
        data.fileName = answer;
        return true;
    }
};

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), {} };
}

class FileCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        graphRecord = GraphRecord {};
        auto owned = std::make_unique<FakeFileDialogs>();
        fake = owned.get();
        setFileDialogService(std::move(owned));
        dir = fs::temp_directory_path() / ("plotwell-files-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        setFileDialogService(nullptr);
        fs::remove_all(dir);
        WindowTest::TearDown();
    }
    void makeGraph()
    {
        leftClick(100, 200);
        leftClick(300, 100);
        click(IDC_CURVE3);
        leftClick(400, 300);
        click(IDC_CURVE1);
        std::snprintf(doc.title, kTitleSize, "Rainfall");
        std::snprintf(doc.xLabels[0], kLabelTextSize, "Jan");
        doc.xLabelCount = 1;
        doc.labelSpacing = 600;
        doc.divisionsPerLabel = 2;
        doc.percentError = 10;
        doc.yRangeSet = 1;
        doc.yMin = 0;
        doc.yMax = 100;
        doc.yScale = 3.6f;
        doc.largePoints = 1;
        doc.thickLines = 1;
    }
    void saveAs(const fs::path& p)
    {
        fake->answer = p.string();
        command(CM_SAVEAS);
    }
    // Opens p; unsaved points are first asked about, and the query is
    // answered Yes and checked here, so the messages a test sees are Open's.
    void open(const fs::path& p)
    {
        fake->answer = p.string();
        const bool asks = doc.dirty != 0;
        const std::size_t before = messages().size();
        if (asks)
            dialogs().expectMessageFirst(wxID_YES);
        command(CM_OPEN);
        if (asks) {
            ASSERT_GT(messages().size(), before);
            EXPECT_EQ(messages()[before].caption, "Unsaved Data");
            messages().erase(messages().begin() + static_cast<std::ptrdiff_t>(before));
        }
    }

    FakeFileDialogs* fake = nullptr;
    fs::path dir;
};

TEST_F(FileCommands, DialogsAreAskedWithTheirFiltersAndFlags)
{
    command(CM_OPEN);
    command(CM_SAVEAS);
    ASSERT_EQ(fake->asked.size(), 2u);
    EXPECT_EQ(fake->asked[0].filter, "Graph Files(*.gd2)|*.gd2|All Files(*.*)|*.*|Text Files(*.txt)|*.txt|");
    EXPECT_EQ(fake->asked[0].flags, 6148u);
    EXPECT_EQ(fake->asked[1].filter, "Graph Files(*.gd2)|*.gd2|Text Files(*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(fake->asked[1].flags, 6u);
    for (const auto& data : fake->asked) {
        EXPECT_EQ(data.filterIndex, 1);
        EXPECT_EQ(data.fileName, "");
    }
    EXPECT_EQ(toolkitWildcard(fake->asked[1].filter),
        "Graph Files(*.gd2)|*.gd2|Text Files(*.txt)|*.txt|All Files (*.*)|*");
}

TEST_F(FileCommands, SavedGraphOpensAgainAsItWas)
{
    makeGraph();
    const fs::path p = dir / "rain.gd2";
    saveAs(p);
    EXPECT_EQ(doc.dirty, 0);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_EQ(fs::file_size(p), 9653u);
    const GraphDocument saved = doc;

    // Spoil the window's state, then open the file over it.
    window->actSmallPoints();
    window->setChecked(IDC_THICKLINES, false);
    doc = GraphDocument {};
    doc.yScale = 1;
    open(p);
    EXPECT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(doc.pointCount[2], 1);
    EXPECT_EQ(doc.pixelX[2][0], 400);
    EXPECT_EQ(doc.pixelY[0][1], saved.pixelY[0][1]);
    EXPECT_EQ(doc.valueY[0][0], saved.valueY[0][0]);
    EXPECT_STREQ(doc.title, "Rainfall");
    EXPECT_STREQ(doc.xLabels[0], "Jan");
    EXPECT_EQ(doc.yScale, 3.6f);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_TRUE(window->isChecked(IDC_THICKLINES));
    EXPECT_TRUE(shown(IDC_SMALLPOINTS));
    EXPECT_FALSE(shown(IDC_LARGEPOINTS));
    // percentError above 0 turns the error bars on.
    EXPECT_EQ(doc.showErrorBars, 1);
    EXPECT_TRUE(shown(IDC_HIDEERRORBARS));
    EXPECT_FALSE(shown(IDC_SHOWERRORBARS));

    // Saving the opened graph again writes the same bytes.
    const std::string first = slurp(p);
    command(CM_SAVE);
    EXPECT_EQ(slurp(p), first);
}

// Every character of the code page, typed as a user types it, reaches the
// file as its byte and comes back from it; one the code page cannot hold
// never gets in.
TEST_F(FileCommands, EveryCodePageCharacterTypedInTitleAndCaptionsRoundTrips)
{
    std::string all;
    for (int b = 0x80; b <= 0xFF; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all += static_cast<char>(b);
    const fs::path p = dir / "chars.gd2";
    for (std::size_t at = 0; at < all.size(); at += 35 + 3 * 24) {
        const std::string title = all.substr(at, 35);
        std::string captions[3];
        for (int c = 0; c < 3; ++c)
            captions[c] = at + 35 + 24 * c < all.size() ? all.substr(at + 35 + 24 * c, 24) : "x";
        expectDialog(dialogs(), [&](TDialog& d) {
            // The check mark is refused as it is typed, so 36 fit.
            typeInto(d, 101, codePageToUtf8(title.substr(0, 10)) + "\u2713" + codePageToUtf8(title.substr(10)));
            press(d, 1);
        });
        command(CM_GRAPHTITLE);
        expectDialog(dialogs(), [&](TDialog& d) {
            typeInto(d, 101, codePageToUtf8(captions[0]));
            typeInto(d, 103, codePageToUtf8(captions[1]));
            typeInto(d, 102, codePageToUtf8(captions[2]));
            press(d, 1);
        });
        command(CM_CAPTIONS);
        ASSERT_EQ(std::string(doc.title), title);
        saveAs(p);
        doc = GraphDocument {};
        open(p);
        EXPECT_EQ(std::string(doc.title), title);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(std::string(doc.captions[c]), captions[c]) << c;
        // And the dialogs show them again as the same characters.
        expectDialog(dialogs(), [&](TDialog& d) {
            EXPECT_EQ(d.text(101), title);
            press(d, 2);
        });
        command(CM_GRAPHTITLE);
    }
    EXPECT_TRUE(messages().empty());
}

// What "plotwell FILE" does once the window is up: the file's graph, or its
// refusal over the empty graph.
TEST_F(FileCommands, AFileNamedAtStartOpensAsOpenWouldOrLeavesTheEmptyGraph)
{
    makeGraph();
    const fs::path p = dir / "start.gd2";
    saveAs(p);
    doc = GraphDocument {};
    doc.yScale = 1;
    EXPECT_TRUE(window->openFile(p.string()));
    EXPECT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_TRUE(shown(IDC_HIDEERRORBARS));
    EXPECT_TRUE(messages().empty());

    doc = GraphDocument {};
    doc.yScale = 1;
    std::ofstream(dir / "bad.gd2", std::ios::binary) << "not a graph";
    dialogs().expectMessage();
    EXPECT_FALSE(window->openFile((dir / "bad.gd2").string()));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].caption, "Open Error");
    EXPECT_NE(messages()[0].text.find("bad.gd2"), std::string::npos);
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(doc.fileName, "");
}

TEST_F(FileCommands, OpenKeepsErrorBarsOnAndStartsUnchanged)
{
    const fs::path p = dir / "plain.gd2";
    leftClick(200, 200);
    saveAs(p);
    window->actShowErrorBars();
    leftClick(250, 250);
    ASSERT_EQ(doc.dirty, 1);
    open(p);
    EXPECT_EQ(doc.showErrorBars, 1);
    EXPECT_EQ(doc.dirty, 0);
    EXPECT_EQ(doc.pointCount[0], 1);
    EXPECT_TRUE(messages().empty());
}

// Undoing back to the graph on disk leaves nothing unsaved, so closing asks
// nothing; Open begins a history of its own.
TEST_F(FileCommands, UndoingBackToTheSavedGraphLeavesNothingUnsaved)
{
    const fs::path p = dir / "saved.gd2";
    leftClick(200, 200);
    saveAs(p);
    const struct {
        int command;
        int dirty;
    } steps[] = { { 0, 1 }, { CM_EDITUNDO, 0 }, { CM_EDITREDO, 1 }, { CM_EDITUNDO, 0 }, { CM_EDITUNDO, 1 },
        { 0, 1 } };
    for (const auto& s : steps) {
        if (s.command)
            command(s.command);
        else
            leftClick(250, 250);
        EXPECT_EQ(doc.dirty, s.dirty) << s.command;
    }
    EXPECT_FALSE(menuEnabled(CM_EDITREDO)) << "a new change drops what could be redone";
    open(p);
    EXPECT_EQ(doc.pointCount[0], 1);
    EXPECT_FALSE(menuEnabled(CM_EDITUNDO));
    EXPECT_FALSE(menuEnabled(CM_EDITREDO));
    command(CM_EXIT);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(window));
    window = nullptr;
    pump();
}

TEST_F(FileCommands, SaveWithoutAFileNameSaysSo)
{
    dialogs().expectMessage();
    command(CM_SAVE);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "No Filename");
    EXPECT_EQ(messages()[0].caption, "ERROR");
    EXPECT_TRUE(messages()[0].style & wxICON_EXCLAMATION);
}

TEST_F(FileCommands, CancelledSaveAsKeepsThePreviousFileForSave)
{
    const fs::path p = dir / "first.gd2";
    saveAs(p);
    leftClick(300, 300);
    fake->answer.clear();
    command(CM_SAVEAS);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_EQ(doc.dirty, 1);
    command(CM_SAVE);
    EXPECT_EQ(doc.dirty, 0);
    open(p);
    EXPECT_EQ(doc.pointCount[0], 1);
}

TEST_F(FileCommands, ATextFileNameStillReceivesTheRecord)
{
    leftClick(300, 300);
    saveAs(dir / "graph.txt");
    EXPECT_EQ(fs::file_size(dir / "graph.txt"), 9653u);
}

TEST_F(FileCommands, SaveOverALongerFileKeepsItsLength)
{
    const fs::path p = dir / "long.gd2";
    std::ofstream(p, std::ios::binary) << std::string(12000, 'x');
    leftClick(300, 300);
    saveAs(p);
    EXPECT_EQ(fs::file_size(p), 12000u);
    EXPECT_EQ(slurp(p).substr(9653), std::string(12000 - 9653, 'x'));
    doc.pointCount[0] = 0;
    open(p);
    EXPECT_EQ(doc.pointCount[0], 1);
}

TEST_F(FileCommands, AGraphWhoseLabelPromptWasCancelledStillOpensAfterSaving)
{
    // Labels on a Y range with no label spacing yet: what a label prompt
    // cancelled on a graph that had no labels before leaves behind.
    leftClick(300, 300);
    doc.yRangeSet = 1;
    doc.yMin = 0;
    doc.yMax = 90;
    doc.yScale = 4;
    doc.xLabelCount = 1;
    doc.labelSpacing = 0;
    doc.divisionsPerLabel = 2;
    const fs::path p = dir / "cancelled.gd2";
    saveAs(p);
    doc.pointCount[0] = 0;
    open(p);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(doc.pointCount[0], 1);
    EXPECT_EQ(doc.xLabelCount, 1);
}

TEST_F(FileCommands, OpenNormalisesStoredFlagsAndTheButtonsFollowThem)
{
    // A record made by hand at the stored offsets, not through packRecord.
    GraphRecord rec;
    putInt32(rec, RecordLayout::pointCount, 1);
    putFloat32(rec, RecordLayout::pixelX, 123.9f);
    putFloat32(rec, RecordLayout::pixelY, 200);
    putFloat32(rec, RecordLayout::yScale, 1);
    putInt32(rec, RecordLayout::largePoints, 5);
    putInt32(rec, RecordLayout::connectPoints, 5);
    putInt32(rec, RecordLayout::labelPoints, 0);
    putByte(rec, RecordLayout::thickLines, 0);
    const fs::path p = dir / "byhand.gd2";
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(rec.bytes.data()), 9653);

    window->setChecked(IDC_THICKLINES, true);
    window->actLabelPoints();
    open(p);
    EXPECT_EQ(doc.pixelX[0][0], 123);
    EXPECT_EQ(doc.largePoints, 1);
    EXPECT_EQ(doc.connectPoints, 1);
    EXPECT_EQ(doc.labelPoints, 0);
    EXPECT_TRUE(shown(IDC_SMALLPOINTS));
    EXPECT_TRUE(shown(IDC_DISCONNECT));
    EXPECT_TRUE(shown(IDC_LABELPOINTS));
    EXPECT_FALSE(shown(IDC_UNLABELPOINTS));
    EXPECT_FALSE(window->isChecked(IDC_THICKLINES));
    // percentError 0: the error-bar buttons are left alone.
    EXPECT_FALSE(shown(IDC_SHOWERRORBARS));
    EXPECT_FALSE(shown(IDC_HIDEERRORBARS));
}

TEST_F(FileCommands, AFailedDialogReportsItsCode)
{
    fake->failure = 12290;
    dialogs().expectMessage();
    command(CM_OPEN);
    dialogs().expectMessage();
    command(CM_SAVEAS);
    ASSERT_EQ(messages().size(), 2u);
    for (const auto& m : messages()) {
        EXPECT_EQ(m.text, "Error #12290 occurred.");
        EXPECT_EQ(m.caption, "ERROR");
        EXPECT_TRUE(m.style & wxICON_EXCLAMATION);
    }
}

TEST_F(FileCommands, BadFilesAreRefusedAndChangeNothing)
{
    leftClick(300, 300);
    const fs::path good = dir / "good.gd2";
    saveAs(good);
    leftClick(310, 310);
    const GraphDocument before = doc;

    const fs::path shortFile = dir / "short.gd2";
    std::ofstream(shortFile, std::ios::binary) << std::string(100, '\0');
    std::string bad = slurp(good);
    bad[0] = char(0xFF); // curve 1 claims a negative count
    const fs::path badFile = dir / "bad.gd2";
    std::ofstream(badFile, std::ios::binary) << bad;

    for (const fs::path& p : { shortFile, badFile, dir / "missing.gd2", dir }) {
        messages().clear();
        dialogs().expectMessage();
        open(p);
        ASSERT_EQ(messages().size(), 1u) << p;
        EXPECT_NE(messages()[0].text.find(p.filename().string()), std::string::npos) << messages()[0].text;
        EXPECT_EQ(messages()[0].caption, "Open Error");
        EXPECT_TRUE(messages()[0].style & wxICON_EXCLAMATION);
        EXPECT_EQ(doc.pointCount[0], before.pointCount[0]);
        EXPECT_EQ(doc.pixelX[0][1], before.pixelX[0][1]);
        EXPECT_EQ(doc.fileName, before.fileName);
        EXPECT_EQ(doc.dirty, 1);
    }
}

TEST_F(FileCommands, FailedSaveKeepsDirtyTheNameAndTheOldFile)
{
    leftClick(300, 300);
    const fs::path p = dir / "kept.gd2";
    saveAs(p);
    const std::string old = slurp(p);
    leftClick(320, 320);

    // A folder that does not exist, and a folder where the file should be.
    fs::create_directories(dir / "folder.gd2");
    for (const fs::path& target : { dir / "gone" / "x.gd2", dir / "folder.gd2" }) {
        messages().clear();
        dialogs().expectMessage();
        saveAs(target);
        ASSERT_EQ(messages().size(), 1u) << target;
        EXPECT_EQ(messages()[0].caption, "Save Error");
        EXPECT_EQ(doc.dirty, 1);
        EXPECT_EQ(doc.fileName, p.string());
    }
    EXPECT_EQ(slurp(p), old);

    if (geteuid() != 0) {
        chmod(dir.c_str(), 0555);
        messages().clear();
        dialogs().expectMessage();
        command(CM_SAVE);
        chmod(dir.c_str(), 0755);
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_EQ(doc.dirty, 1);
        EXPECT_EQ(slurp(p), old);
    }
}
TEST_F(FileCommands, NewGraphAndOpenAskBeforeUnsavedPointsAreLostAndNoKeepsThem)
{
    const fs::path p = dir / "other.gd2";
    leftClick(500, 100);
    saveAs(p);
    struct Case {
        int command;
        bool dirty;
        int answer; // 0: no query expected
    };
    const Case cases[] = {
        { CM_OPEN, true, wxID_NO },
        { CM_OPEN, true, wxID_YES },
        { CM_OPEN, false, 0 },
        { CM_NEWGRAPH, true, wxID_NO },
        { CM_NEWGRAPH, true, wxID_YES },
        { CM_NEWGRAPH, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command == CM_OPEN ? "Open" : "New Graph");
        SCOPED_TRACE(c.answer);
        doc = GraphDocument {};
        leftClick(200, 200);
        leftClick(300, 250);
        doc.dirty = c.dirty;
        const GraphDocument before = doc;
        messages().clear();
        if (c.answer)
            dialogs().expectMessage(c.answer);
        const bool proceeds = c.answer != wxID_NO;
        if (proceeds && c.command == CM_NEWGRAPH)
            dialogs().expect([](wxDialog*) { return static_cast<int>(wxID_CANCEL); }); // Basics
        fake->answer = p.string();
        command(c.command);

        ASSERT_EQ(messages().size(), c.answer ? 1u : 0u);
        if (c.answer) {
            EXPECT_EQ(
                messages()[0].text, "Data not Saved;  the points on the graph will be lost.  OK to go on ?");
            EXPECT_EQ(messages()[0].caption, "Unsaved Data");
            EXPECT_TRUE(messages()[0].style & wxYES_NO);
            EXPECT_TRUE(messages()[0].style & wxICON_QUESTION);
        }
        // Cancel in New Graph puts the graph back; an opened graph is unchanged.
        EXPECT_EQ(doc.pointCount[0], proceeds && c.command == CM_OPEN ? 1 : 2);
        EXPECT_EQ(doc.dirty, proceeds && c.command == CM_OPEN ? 0 : before.dirty);
        EXPECT_TRUE(dialogs().allUsed());
    }
}

TEST_F(FileCommands, AfterOpenAndNewGraphTheErrorBarButtonShownMatchesTheOption)
{
    const fs::path none = dir / "none.gd2";
    const fs::path some = dir / "some.gd2";
    leftClick(200, 200);
    saveAs(none);
    doc.percentError = 10;
    saveAs(some);
    doc.dirty = 0;

    struct Case {
        const fs::path* file; // null: New Graph without labels or error bars
        int barsBefore;
        float percentBefore;
        bool hide, show;
    };
    const Case cases[] = {
        { &none, 1, 0, true, false }, // bars stay on
        { &none, 0, 0, false, false }, // nothing to show
        { &some, 0, 0, true, false }, // a percentage turns them on
        { nullptr, 0, 5, false, true }, // the kept percentage may be shown
        { nullptr, 0, 0, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file->filename().string() : "New Graph");
        doc.showErrorBars = c.barsBefore;
        doc.percentError = c.percentBefore;
        doc.dirty = 0; // no question before the next graph
        // Stale from an earlier graph: the wrong one of the pair.
        window->showControl(IDC_SHOWERRORBARS, c.barsBefore != 0);
        window->showControl(IDC_HIDEERRORBARS, c.barsBefore == 0);
        if (c.file) {
            open(*c.file);
        } else {
            dialogs().expect([](wxDialog* d) {
                d->CallAfter([d] { d->EndModal(wxID_OK); });
                return static_cast<int>(wxID_NONE);
            });
            command(CM_NEWGRAPH);
        }
        EXPECT_EQ(shown(IDC_HIDEERRORBARS), c.hide);
        EXPECT_EQ(shown(IDC_SHOWERRORBARS), c.show);
    }
}
} // namespace
