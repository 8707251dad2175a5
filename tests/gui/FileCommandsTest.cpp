#include "document/CodePage.h"
#include "drawing/RenderFile.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/GraphSnapshot.h"
#include "files/RecoveryCopy.h"
#include "framework/FileDialogs.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"
#include "tests/support/SkipOrFail.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtk/gtk.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/stopwatch.h>

namespace fs = std::filesystem;

namespace {
// Answers the file dialogs without a window and remembers what was asked.
struct FakeFileDialogs : TFileDialogService {
    std::string answer; // path chosen; empty means Cancel
    int chosenType = 0; // non-zero: the file type picked in the dialog
    std::vector<TOpenSaveDialog::TData> asked;
    bool runOpen(wxWindow*, TOpenSaveDialog::TData& data) override { return run(data); }
    bool runSave(wxWindow*, TOpenSaveDialog::TData& data) override { return run(data); }
    bool run(TOpenSaveDialog::TData& data)
    {
        asked.push_back(data);
        if (answer.empty())
            return false;
        data.fileName = answer;
        if (chosenType)
            data.filterIndex = chosenType;
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
        const bool asks = dirty() != 0;
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
    EXPECT_EQ(fake->asked[0].flags, OFN_FILEMUSTEXIST);
    EXPECT_EQ(fake->asked[1].filter, "Graph Files(*.gd2)|*.gd2|Text Files(*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_EQ(fake->asked[1].flags, OFN_OVERWRITEPROMPT);
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
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_EQ(fs::file_size(p), 9653u);
    const GraphDocument saved = doc;

    // Spoil the window's state, then open the file over it.
    click(IDC_SMALLPOINTS);
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
            typeInto(
                d, 101, codePageToUtf8(title.substr(0, 10)) + "\u2713" + codePageToUtf8(title.substr(10)));
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

    // A title the old program let run past its slot: the graph, its title
    // cut to the slot, and one message saying so; nothing unsaved.
    GraphRecord old = graphRecord;
    std::memset(&old.bytes[RecordLayout::title], 'T', RecordLayout::titleSlotSize);
    const fs::path oldFile = dir / "old.gd2";
    std::ofstream(oldFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(old.bytes.data()), kGraphRecordSize);
    doc = GraphDocument {};
    doc.yScale = 1;
    dialogs().expectMessage();
    EXPECT_TRUE(window->openFile(oldFile.string()));
    EXPECT_EQ(std::string(doc.title), std::string(36, 'T'));
    EXPECT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(dirty(), 0);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].caption, "Graph Repaired");
    EXPECT_NE(
        messages()[0].text.find("The title was longer than a graph file holds and was cut to 36 characters."),
        std::string::npos);
    messages().clear();

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
    click(IDC_SHOWERRORBARS);
    leftClick(250, 250);
    ASSERT_EQ(dirty(), 1);
    open(p);
    EXPECT_EQ(doc.showErrorBars, 1);
    EXPECT_EQ(dirty(), 0);
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
        EXPECT_EQ(dirty(), s.dirty) << s.command;
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

// A name typed without an extension gets ".gd2", so Open's graph filter
// lists the file again; Save with no file yet asks for one as Save As does.
TEST_F(FileCommands, ANameWithoutAnExtensionIsSavedAsAGraphFile)
{
    std::ofstream(dir / "taken.gd2", std::ios::binary) << "old";
    const struct {
        int command;
        const char* typed;
        int replace; // the answer to "already exists", 0: not asked
        const char* written; // null: nothing written
    } cases[] = {
        { CM_SAVEAS, "sales", 0, "sales.gd2" },
        { CM_SAVE, "fresh", 0, "fresh.gd2" },
        { CM_SAVEAS, "sales.txt", 0, "sales.txt" },
        { CM_SAVEAS, "v1.2", 0, "v1.2" },
        { CM_SAVEAS, ".hidden", 0, ".hidden.gd2" },
        { CM_SAVEAS, "taken", wxID_NO, nullptr },
        { CM_SAVEAS, "taken", wxID_YES, "taken.gd2" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        doc.fileName.clear();
        leftClick(300, 300);
        messages().clear();
        if (c.replace)
            dialogs().expectMessage(c.replace);
        fake->answer = (dir / c.typed).string();
        command(c.command);
        EXPECT_EQ(messages().size(), c.replace ? 1u : 0u);
        EXPECT_EQ(fake->asked.back().defaultExtension, "gd2");
        if (c.written) {
            EXPECT_EQ(doc.fileName, (dir / c.written).string());
            EXPECT_EQ(fs::file_size(dir / c.written), 9653u);
            EXPECT_EQ(dirty(), 0);
        } else {
            EXPECT_EQ(doc.fileName, "");
            EXPECT_EQ(slurp(dir / "taken.gd2"), "old");
            EXPECT_EQ(dirty(), 1);
        }
    }
    EXPECT_FALSE(fs::exists(dir / "sales"));
}

TEST_F(FileCommands, CancelledSaveAsKeepsThePreviousFileForSave)
{
    const fs::path p = dir / "first.gd2";
    saveAs(p);
    leftClick(300, 300);
    fake->answer.clear();
    command(CM_SAVEAS);
    EXPECT_EQ(doc.fileName, p.string());
    EXPECT_EQ(dirty(), 1);
    command(CM_SAVE);
    EXPECT_EQ(dirty(), 0);
    open(p);
    EXPECT_EQ(doc.pointCount[0], 1);
}

// A new graph has no file: Save asks for a name instead of writing over the
// old graph's file, and it keeps none of the old captions. Undo gives the
// old graph back with its file; a graph saved under another name takes its
// steps along, so Undo never points Save back at the old name.
TEST_F(FileCommands, ANewGraphHasNoFileUntilSavedAndUndoGivesTheOldOneBack)
{
    const fs::path old = dir / "results-2025.gd2", fresh = dir / "results-2026.gd2";
    makeGraph();
    std::snprintf(doc.captions[0], kCaptionSize, "Group A (north)");
    doc.captionsPlaced = 1;
    saveAs(old);
    const std::string oldBytes = slurp(old);
    dialogs().expect([](wxDialog*) { return static_cast<int>(wxID_OK); }); // Basics, as it stands
    command(CM_NEWGRAPH);
    EXPECT_EQ(doc.fileName, "");
    EXPECT_EQ(doc.captions[0][0], 0);
    EXPECT_EQ(doc.captionsPlaced, 0);
    EXPECT_EQ(dirty(), 1);
    leftClick(200, 200);
    const std::size_t asked = fake->asked.size();
    fake->answer.clear();
    command(CM_SAVE); // asks for a name, and is cancelled
    EXPECT_EQ(fake->asked.size(), asked + 1);
    EXPECT_EQ(slurp(old), oldBytes);
    EXPECT_EQ(dirty(), 1);

    const struct {
        int command; // or 0: Save As `saveTo`, or a point added when that is empty
        const char* saveTo;
        const char* fileName;
        int dirty, points;
    } steps[] = {
        { CM_EDITUNDO, nullptr, "", 1, 0 },
        { CM_EDITUNDO, nullptr, "results-2025.gd2", 0, 2 },
        { CM_EDITREDO, nullptr, "", 1, 0 },
        { 0, "results-2026.gd2", "results-2026.gd2", 0, 0 },
        { CM_EDITUNDO, nullptr, "results-2025.gd2", 1, 2 },
        { CM_EDITREDO, nullptr, "results-2026.gd2", 0, 0 },
        { 0, nullptr, "results-2026.gd2", 1, 1 },
        { 0, "renamed.gd2", "renamed.gd2", 0, 1 },
        { CM_EDITUNDO, nullptr, "renamed.gd2", 1, 0 },
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.fileName);
        if (s.command)
            command(s.command);
        else if (s.saveTo)
            saveAs(dir / s.saveTo);
        else
            leftClick(300, 300);
        EXPECT_EQ(doc.fileName, s.fileName[0] ? (dir / s.fileName).string() : "");
        EXPECT_EQ(dirty(), s.dirty);
        EXPECT_EQ(doc.pointCount[0], s.points);
    }
    EXPECT_EQ(slurp(old), oldBytes);
    EXPECT_EQ(fs::file_size(fresh), 9653u);
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
    click(IDC_LABELPOINTS);
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

TEST_F(FileCommands, BadFilesAreRefusedAndChangeNothing)
{
    leftClick(300, 300);
    const fs::path good = dir / "good.gd2";
    saveAs(good);
    leftClick(310, 310);
    const GraphDocument before = doc;

    // A file that lost its end with the points its counts name.
    const fs::path shortFile = dir / "short.gd2";
    std::ofstream(shortFile, std::ios::binary) << slurp(good).substr(0, 100);
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
        EXPECT_EQ(dirty(), 1);
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
        EXPECT_EQ(dirty(), 1);
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
        EXPECT_EQ(dirty(), 1);
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
        if (!c.dirty)
            asOpened();
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
        EXPECT_EQ(dirty(), proceeds && c.command == CM_OPEN ? 0 : c.dirty);
        EXPECT_TRUE(dialogs().allUsed());
    }
}

// The three questions that could lose unsaved points default to No: the
// Enter or Escape a user presses to get rid of the box keeps the work.
TEST_F(FileCommands, EnterOrEscapeOnEachUnsavedQuestionKeepsThePoints)
{
    const struct {
        int command;
        int key;
    } cases[] = {
        { CM_EXIT, WXK_RETURN },
        { CM_EXIT, WXK_ESCAPE },
        { CM_NEWGRAPH, WXK_RETURN },
        { CM_NEWGRAPH, WXK_ESCAPE },
        { CM_OPEN, WXK_RETURN },
        { CM_OPEN, WXK_ESCAPE },
    };
    leftClick(200, 200);
    fake->answer = (dir / "none.gd2").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        SCOPED_TRACE(c.key);
        bool noFocus = false;
        dialogs().expectKey(c.key, noFocus);
        command(c.command);
        pump();
        if (noFocus)
            SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
        ASSERT_FALSE(window->IsBeingDeleted());
        EXPECT_EQ(messages().back().caption, "Unsaved Data");
        EXPECT_EQ(doc.pointCount[0], 1);
        EXPECT_EQ(dirty(), 1);
        EXPECT_TRUE(fake->asked.empty()) << "Open went on";
    }
}

// A file manager's URI list dropped on the plot opens its first graph as
// Open does; the entry boxes stay drop sites for text of their own.
TEST_F(FileCommands, ADroppedFileOpensAsOpenWouldAndTheEntryBoxesKeepTakingText)
{
    const fs::path graph = dir / "dropped graph.gd2", table = dir / "table.csv";
    leftClick(500, 100);
    saveAs(graph);
    std::ofstream(table) << "1,2,3\n";
    const struct {
        std::vector<fs::path> files;
        bool dirty;
        int answer; // to the unsaved-points question; 0: not asked
        std::vector<std::string> captions; // of the messages shown, in turn
        bool opens;
    } cases[] = {
        { { graph }, false, 0, {}, true },
        { { graph }, true, wxID_NO, { "Unsaved Data" }, false },
        { { graph }, true, wxID_YES, { "Unsaved Data" }, true },
        { { graph, table }, false, 0, { "Open" }, true },
        { { table }, false, 0, { "Open Error" }, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.size() * 10 + c.answer);
        doc = GraphDocument {};
        leftClick(200, 200);
        leftClick(300, 250);
        if (!c.dirty)
            asOpened();
        messages().clear();
        if (c.answer)
            dialogs().expectMessage(c.answer);
        for (std::size_t m = c.answer ? 1 : 0; m < c.captions.size(); ++m)
            dialogs().expectMessage(wxID_OK);
        auto* target = dynamic_cast<wxFileDropTarget*>(window->client()->GetDropTarget());
        ASSERT_NE(target, nullptr);
        std::string uris;
        for (const fs::path& f : c.files) {
            wxString escaped(f.string());
            escaped.Replace(" ", "%20");
            uris += "file://" + escaped.utf8_string() + "\r\n";
        }
        auto* data = static_cast<wxFileDataObject*>(target->GetDataObject());
        data->SetData(wxDF_FILENAME, uris.size(), uris.data());
        EXPECT_TRUE(target->OnDropFiles(300, 200, data->GetFilenames()));
        pump();
        std::vector<std::string> shown;
        for (const auto& m : messages())
            shown.push_back(m.caption);
        EXPECT_EQ(shown, c.captions);
        if (c.files.size() > 1) {
            EXPECT_EQ(messages().back().text,
                "Only one graph is shown at a time: the first of the 2 files dropped is opened.");
        }
        EXPECT_EQ(doc.pointCount[0], c.opens ? 1 : 2);
        EXPECT_EQ(doc.fileName, c.opens ? graph.string() : "");
        EXPECT_TRUE(dialogs().allUsed());
    }
    // GTK hands a drop to the deepest drop site under the pointer: each
    // box takes text itself, and no file target of ours stands in its way.
    for (int id : { IDC_XBOX, IDC_YBOX }) {
        EXPECT_EQ(window->control(id)->GetDropTarget(), nullptr);
        GtkTargetList* accepted = gtk_drag_dest_get_target_list(GTK_WIDGET(window->control(id)->GetHandle()));
        ASSERT_NE(accepted, nullptr);
        EXPECT_TRUE(gtk_target_list_find(accepted, gdk_atom_intern_static_string("UTF8_STRING"), nullptr));
    }
}

// Opened and saved graphs join the desktop's recent files (the test
// program's own temporary data folder), typed as graphs.
TEST_F(FileCommands, OpeningAndSavingAddTheFileToTheDesktopsRecentFiles)
{
    const fs::path saved = dir / "saved.gd2", opened = dir / "opened.gd2";
    leftClick(500, 100);
    saveAs(opened);
    saveAs(saved);
    open(opened);
    const fs::path store = fs::path(g_get_user_data_dir()) / "recently-used.xbel";
    ASSERT_EQ(store.string().rfind("/tmp/", 0), 0u) << "the test must not touch a real home";
    std::string xbel;
    // The store is written once the toolkit is idle.
    waitUntil(
        [&] {
            xbel = slurp(store);
            return xbel.find("saved.gd2") != std::string::npos
                && xbel.find("opened.gd2") != std::string::npos;
        },
        5000);
    for (const fs::path& p : { saved, opened }) {
        const std::size_t at = xbel.find("href=\"file://" + p.string() + "\"");
        ASSERT_NE(at, std::string::npos) << xbel;
        EXPECT_NE(xbel.find("mime:mime-type type=\"application/x-plotwell-graph\"", at), std::string::npos);
    }
}

// The figure as PNG, SVG or PDF by the name's extension, else by the type
// chosen; the graph's file name and unsaved mark stay; a failure says why.
TEST_F(FileCommands, ExportPictureWritesTheFigureInTheFormatAskedForAndLeavesTheGraphAlone)
{
    makeGraph();
    EXPECT_EQ(window->GetTitle(), "Plotwell (Version 2.0)");
    saveAs(dir / "graph.gd2");
    // The desktop tells graphs apart by the window's title.
    EXPECT_EQ(window->GetTitle(), wxString::FromUTF8("graph.gd2 \u2013 Plotwell (Version 2.0)"));
    leftClick(600, 120);
    const struct {
        std::string answer;
        int type; // 0: as the dialog opened (the type chosen last)
        std::string written; // empty: nothing, and "Export Error" shown
        const char* starts;
        unsigned pngWidth = 0;
    } cases[] = {
        { "plain", 0, "plain.png", "\x89PNG", 742 },
        { "drawn.SVG", 5, "drawn.SVG", "<?xml" },
        { "paper", 5, "paper.pdf", "%PDF-" },
        { "vector", 4, "vector.svg", "<?xml" },
        { "sharp", 2, "sharp.png", "\x89PNG", 1484 },
        { "again", 0, "again.png", "\x89PNG", 1484 },
        { "missing/x.png", 0, "", nullptr },
    };
    fake->asked.clear();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        messages().clear();
        if (c.written.empty())
            dialogs().expectMessage(wxID_OK);
        fake->answer = (dir / c.answer).string();
        fake->chosenType = c.type;
        command(CM_EXPORTPICTURE);
        if (c.written.empty()) {
            ASSERT_EQ(messages().size(), 1u);
            EXPECT_EQ(messages()[0].caption, "Export Error");
            EXPECT_NE(messages()[0].text.find("missing/x.png"), std::string::npos);
        } else {
            EXPECT_TRUE(messages().empty());
            const std::string bytes = slurp(dir / c.written);
            EXPECT_EQ(bytes.rfind(c.starts, 0), 0u);
            if (c.pngWidth) {
                ASSERT_GT(bytes.size(), 24u);
                EXPECT_EQ(
                    static_cast<unsigned char>(bytes[18]) * 256u + static_cast<unsigned char>(bytes[19]),
                    c.pngWidth);
                // Its resolution recorded: 96 dots per inch at the graph's size.
                EXPECT_NE(bytes.find("pHYs"), std::string::npos);
            }
        }
        EXPECT_EQ(doc.fileName, (dir / "graph.gd2").string());
        EXPECT_EQ(dirty(), 1);
    }
    EXPECT_EQ(fake->asked[0].title, "Export Picture");
    EXPECT_EQ(fake->asked[0].folder, dir.string());
    EXPECT_EQ(fake->asked[0].name, "graph.png");
    EXPECT_EQ(fake->asked[4].name, "graph.svg"); // after the SVG was chosen
    EXPECT_EQ(fake->asked[5].filterIndex, 2);
    EXPECT_EQ(fake->asked[0].filter,
        "PNG Picture, 742 x 400 pixels (*.png)|*.png|PNG Picture, 1484 x 800 pixels (*.png)|*.png|PNG "
        "Picture, "
        "2226 x 1200 pixels (*.png)|*.png|SVG Picture (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf|");
    RenderLayout figure;
    figure.figure = true;
    std::string error;
    ASSERT_TRUE(renderGraph(doc, (dir / "figure.png").string(), error, figure)) << error;
    EXPECT_EQ(slurp(dir / "plain.png"), slurp(dir / "figure.png"));
    EXPECT_TRUE(dialogs().allUsed());
}

TEST_F(FileCommands, AfterOpenAndNewGraphTheErrorBarButtonShownMatchesTheOption)
{
    const fs::path none = dir / "none.gd2";
    const fs::path some = dir / "some.gd2";
    leftClick(200, 200);
    saveAs(none);
    doc.percentError = 10;
    saveAs(some);
    asOpened();

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
        asOpened(); // no question before the next graph
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

// A graph left unsaved by a program that ended is offered back at start:
// Yes shows it as unsaved changes to its file (Undo gives the file's graph)
// and this window's own copy takes over; No drops it. Saving, or undoing
// back to what was saved, leaves no copy.
TEST_F(FileCommands, AGraphLeftUnsavedIsOfferedBackAsChangesToItsFile)
{
    const std::string file = (dir / "sales.gd2").string();
    makeGraph();
    fake->answer = file;
    command(CM_SAVE);
    const GraphDocument saved = doc;
    leftClick(500, 250);
    const GraphSnapshot unsaved = takeSnapshot(doc);
    const std::string folder = recoveryFolder();
    const std::string own = recoveryPath(folder, thisProcess());
    waitUntil([&] { return fs::exists(own); });
    command(CM_EDITUNDO);
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(own); })) << "back at what was saved";
    const ProcessStamp ended { 999999, 1, thisProcess().boot };
    const std::string left = recoveryPath(folder, ended);
    for (const int answer : { wxID_NO, wxID_YES }) {
        std::ofstream(left, std::ios::binary) << recoveryBytes(unsaved, ended);
        doc = GraphDocument {};
        asOpened();
        messages().clear();
        dialogs().expectMessage(answer);
        window->offerRecoveredGraph();
        pump();
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
            "Plotwell was closed without saving a graph with 4 points (sales.gd2). Restore it?");
        EXPECT_FALSE(fs::exists(left)) << answer;
        EXPECT_EQ(dirty(), answer == wxID_YES);
    }
    EXPECT_TRUE(takeSnapshot(doc).sameGraph(unsaved));
    EXPECT_EQ(window->session().undoName(), "Restore Graph");
    EXPECT_TRUE(waitUntil([&] { return fs::exists(own); }));
    command(CM_EDITUNDO);
    EXPECT_EQ(doc.pointCount[0], saved.pointCount[0]);
    EXPECT_EQ(doc.fileName, file);
    command(CM_EDITREDO);
    command(CM_SAVE);
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(own); })) << "saved";
}

// Another program's save since the file was opened or saved is replaced
// only when the user says so; No (the default) leaves file and graph as
// they are, and Save As to another name asks nothing.
TEST_F(FileCommands, SaveAsksBeforeReplacingAFileAnotherProgramChanged)
{
    const std::string file = (dir / "shared.gd2").string();
    makeGraph();
    fake->answer = file;
    command(CM_SAVE);
    GraphDocument theirs = doc;
    theirs.pointCount[0] = 1;
    GraphRecord rec;
    packRecord(theirs, rec);
    std::string error;
    ASSERT_TRUE(writeGraphFile(file, rec, error)) << error;
    const std::string onDisk = slurp(file);
    leftClick(600, 150);
    for (const int answer : { wxID_NO, wxID_YES }) {
        messages().clear();
        dialogs().expectMessage(answer);
        command(CM_SAVE);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text,
            file + " has been changed by another program since it was opened. Replace it with this graph?");
        EXPECT_EQ(slurp(file) == onDisk, answer == wxID_NO);
        EXPECT_EQ(dirty(), answer == wxID_NO);
    }
    leftClick(620, 150);
    messages().clear();
    command(CM_SAVE); // our own save is no other program's
    fake->answer = (dir / "copy.gd2").string();
    command(CM_SAVEAS);
    EXPECT_TRUE(messages().empty());
}
