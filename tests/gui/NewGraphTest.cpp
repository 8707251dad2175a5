// New Graph through the real Basics, label prompt and Y-Scale dialogs: each
// dialog's own set-up and OK handler run inside its modal loop, driven by
// the scripts below. Expectations are queued in the order the dialogs and
// message boxes appear.

#include "document/GraphDocument.h"
#include "files/GraphRecord.h"
#include "framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"
#include "ui/dialogs/TDlg3.h"

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>
#include <wx/msgdlg.h>
#include <wx/panel.h>

namespace {
struct Basics {
    std::string title = "";
    std::string labels = "";
    std::string divisions = "";
    bool connect = false;
    bool large = false;
    bool labelPoints = false;
    bool errorBars = false;
};

class NewGraph : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        // A repaint asked for covers the whole client area; a dialog closing
        // over the window only uncovers part of it.
        // The panel, not `window`: tear-down forgets the window before the
        // toolkit has delivered its last paint.
        wxWindow* panel = window->client();
        panel->Bind(wxEVT_PAINT, [this, panel](wxPaintEvent& event) {
            const wxRect whole(panel->GetClientSize());
            if (panel->GetUpdateRegion().GetBox().Contains(whole))
                ++fullRepaints;
            event.Skip();
        });
    }

    // Runs New Graph; unsaved points are first asked about, and the query
    // is answered Yes and checked here, so the messages a test sees start
    // with the dialogs'.
    void newGraph()
    {
        // The graph the test set up is on screen before the command.
        if (!window->showsDocument())
            window->repaint();
        waitUntil([this] { return window->showsDocument(); });
        pump();
        fullRepaints = 0;
        const bool asks = dirty() != 0;
        const std::size_t before = messages().size();
        if (asks)
            dialogs().expectMessageFirst(wxID_YES);
        command(CM_NEWGRAPH);
        // Paints whatever was invalidated now rather than at the next frame.
        window->client()->Update();
        pump();
        if (asks) {
            ASSERT_GT(messages().size(), before);
            EXPECT_EQ(messages()[before].caption, "Unsaved Data");
            messages().erase(messages().begin() + static_cast<std::ptrdiff_t>(before));
        }
    }

    // A previous graph with something in every field New Graph might touch.
    void oldGraph()
    {
        doc.pointCount[0] = 3;
        doc.pointCount[1] = 2;
        doc.pointCount[2] = 1;
        doc.pixelX[0][0] = 120;
        doc.pixelY[0][0] = 200;
        doc.pixelX[1][0] = 130; // other curves' slots are left alone
        std::strcpy(doc.xLabels[0], "Old");
        doc.xLabelCount = 4;
        doc.labelSpacing = 150;
        doc.divisionsPerLabel = 7;
        for (int k = 0; k < kYTickCount; ++k)
            doc.yTicks[k] = static_cast<float>(k + 1);
        std::strcpy(doc.title, "Old title");
        doc.yRangeSet = 1;
        doc.yMin = 1;
        doc.yMax = 2;
        doc.yScale = 5;
        doc.percentError = 42;
    }

    DialogSteps basicsOk(const Basics& in)
    {
        return [this, in](TDialog& d) {
            fillBasics(d, in);
            press(d, 1);
            EXPECT_FALSE(d.IsModal())
                << "Basics refused: " << (messages().empty() ? "" : messages().back().text);
        };
    }

    static void fillBasics(TDialog& d, const Basics& in)
    {
        EXPECT_EQ(d.GetTitle(), "Basics");
        typeInto(d, 104, in.title);
        typeInto(d, 101, in.labels);
        typeInto(d, 107, in.divisions);
        tick(d, 105, in.connect);
        tick(d, 108, in.large);
        tick(d, 109, in.labelPoints);
        tick(d, 110, in.errorBars);
    }

    static DialogSteps labelsOk(std::vector<std::string> labels)
    {
        return [labels](TDialog& d) {
            EXPECT_EQ(d.GetTitle(), "Labels for X-Axiz");
            for (const std::string& label : labels) {
                ASSERT_TRUE(d.IsModal()) << "closed before " << label;
                typeInto(d, 103, label);
                press(d, 1);
            }
        };
    }

    static DialogSteps yScaleOk(
        const std::string& min, const std::string& max, const std::string& percent = "")
    {
        return [min, max, percent](TDialog& d) {
            EXPECT_EQ(d.GetTitle(), "Y-Scale");
            typeInto(d, 101, min);
            typeInto(d, 102, max);
            typeInto(d, 105, percent);
            press(d, 1);
        };
    }

    static DialogSteps cancel()
    {
        return [](TDialog& d) { press(d, 2); };
    }

    // An input error: OK only, no icon, owned by the dialog that refused.
    void expectInputError(
        std::size_t index, const std::string& text, const std::string& caption, const std::string& owner)
    {
        ::expectInputError(messages(), index, text, caption, owner);
    }

    int fullRepaints = 0;
};

// Cancel in any step, also after an OK that was refused, leaves the graph
// byte for byte as a save would have stored it before the command.
TEST_F(NewGraph, CancelInEachStepLeavesTheGraphAsItWas)
{
    const auto refusedThenCancel = [](DialogSteps ok) {
        return [ok](TDialog& d) {
            ok(d);
            ASSERT_TRUE(d.IsModal());
            press(d, 2);
        };
    };
    const struct {
        const char* name;
        std::vector<DialogSteps> steps;
        int refusals;
    } cases[] = {
        { "Basics", { [](TDialog& d) {
             // A fresh dialog every time: empty boxes, nothing ticked.
             for (int id : { 104, 101, 107 })
                 EXPECT_EQ(d.text(id), "") << id;
             for (int id : { 105, 108, 109, 110 })
                 EXPECT_FALSE(d.checked(id)) << id;
             press(d, 2);
         } },
            0 },
        { "Basics refused", { refusedThenCancel([](TDialog& d) {
             fillBasics(d, { .title = "Typed", .labels = "21", .divisions = "3", .connect = true });
             press(d, 1);
         }) },
            1 },
        { "label prompt",
            { basicsOk({ .title = "New", .labels = "3", .divisions = "2" }),
                [](TDialog& d) {
                    labelsOk({ "A", "B" })(d);
                    press(d, 2);
                } },
            0 },
        { "Y-Scale",
            { basicsOk({ .labels = "1", .divisions = "1", .errorBars = true }), labelsOk({ "A" }), cancel() },
            0 },
        { "Y-Scale refused percent",
            { basicsOk({ .labels = "2", .divisions = "5", .errorBars = true }), labelsOk({ "A", "B" }),
                refusedThenCancel(yScaleOk("10", "100", "250")) },
            1 },
        { "Y-Scale refused range",
            { basicsOk({ .large = true, .errorBars = true }), refusedThenCancel(yScaleOk("-5", "-5", "10")) },
            1 },
    };
    // The process's first dialog makes the toolkit redraw the window behind
    // it once, whatever the program asks for; the cases start after that.
    oldGraph();
    expectDialog(dialogs(), cancel());
    newGraph();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        oldGraph();
        GraphRecord before, after;
        packRecord(doc, before);
        const GraphDocument kept = doc;
        messages().clear();
        for (const DialogSteps& step : c.steps)
            expectDialog(dialogs(), step);
        for (int i = 0; i < c.refusals; ++i)
            dialogs().expectMessage();
        newGraph();
        packRecord(doc, after);
        EXPECT_TRUE(before.bytes == after.bytes);
        EXPECT_EQ(messages().size(), static_cast<std::size_t>(c.refusals));
        EXPECT_EQ(dirty(), 1);
        // The screen shows the graph put back, whatever a dialog over it
        // made the toolkit redraw meanwhile.
        EXPECT_TRUE(waitUntil([this] { return window->showsDocument(); }));
        EXPECT_FALSE(menuEnabled(CM_EDITUNDO));
        EXPECT_TRUE(dialogs().allUsed());
    }
}

// The whole sequence is one step: Undo gives the old graph back byte for
// byte, Redo the new one.
TEST_F(NewGraph, ACompletedNewGraphIsOneStepThatUndoGivesBack)
{
    oldGraph();
    GraphRecord old, made;
    packRecord(doc, old);
    expectDialog(dialogs(), basicsOk({ .title = "New", .labels = "2", .divisions = "1", .connect = true }));
    expectDialog(dialogs(), labelsOk({ "A", "B" }));
    expectDialog(dialogs(), yScaleOk("0", "50"));
    newGraph();
    packRecord(doc, made);
    ASSERT_STREQ(doc.title, "New");
    for (const auto& [id, wanted] : { std::pair { CM_EDITUNDO, &old }, std::pair { CM_EDITREDO, &made } }) {
        command(id);
        GraphRecord now;
        packRecord(doc, now);
        EXPECT_TRUE(now.bytes == wanted->bytes) << id;
    }
    EXPECT_FALSE(menuEnabled(CM_EDITREDO));
    command(CM_EDITUNDO);
    EXPECT_FALSE(menuEnabled(CM_EDITUNDO));
}

TEST_F(NewGraph, ALabelCountOfZeroOrEmptyAsksForNoLabels)
{
    for (const char* count : { "0", "" }) {
        SCOPED_TRACE(count);
        oldGraph();
        asOpened();
        doc.yMin = 0;
        doc.yMax = 100;
        expectDialog(dialogs(), basicsOk({ .title = "Plain", .labels = count, .divisions = "" }));
        newGraph();
        // The kept range is what the axis reads, and what a save stores.
        GraphRecord saved;
        packRecord(doc, saved);
        for (int k = 0; k < kYTickCount; ++k)
            EXPECT_NEAR(getFloat32(saved, RecordLayout::yTicks + 4 * k), 100.0 * k / 9, 1e-4) << k;
        EXPECT_EQ(doc.xLabelCount, 0);
        EXPECT_EQ(doc.labelSpacing, 0);
        EXPECT_STREQ(doc.title, "Plain");
        // No Y-Scale step: the old range stays; the new graph is unsaved work.
        EXPECT_EQ(doc.yScale, 5);
        EXPECT_EQ(dirty(), 1);
        EXPECT_GE(fullRepaints, 1);
    }

    // With error bars asked for, the Y-Scale dialog follows.
    expectDialog(dialogs(), basicsOk({ .labels = "", .errorBars = true }));
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.GetTitle(), "Y-Scale");
        EXPECT_TRUE(d.control(105)->IsShown());
        press(d, 2);
    });
    newGraph();
}

TEST_F(NewGraph, ALabelCountOutsideZeroToTwentyIsRefusedAndWhatWasReadIsKept)
{
    expectDialog(dialogs(), [this](TDialog& d) {
        for (const char* count : { "21", "-1" }) {
            fillBasics(d, { .title = "Typed", .labels = count, .divisions = "3", .connect = true });
            press(d, 1);
            ASSERT_TRUE(d.IsModal());
            EXPECT_EQ(d.text(101), count);
        }
        EXPECT_STREQ(doc.title, "Typed");
        EXPECT_EQ(doc.divisionsPerLabel, 3);
        EXPECT_EQ(doc.connectPoints, 0) << "options are set only once the count passes";
        press(d, 2);
    });
    dialogs().expectMessage();
    dialogs().expectMessage();
    newGraph();

    ASSERT_EQ(messages().size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
        expectInputError(
            i, "Illegal number, X-axis labels must be between 1 and 20 inclusive", "Number Error", "Basics");
    // Cancelled after the refusals: nothing typed stays in the document.
    EXPECT_STREQ(doc.title, "");
    EXPECT_TRUE(waitUntil([this] { return window->showsDocument(); }));
}

// A number box takes a text only when the whole of it is a number; a typo
// is refused before anything of the OK is stored.
TEST_F(NewGraph, NumberBoxesRefuseTextsThatAreNotNumbersAndStoreNothing)
{
    const char* labelsText = "Illegal number, X-axis labels must be between 1 and 20 inclusive";
    const struct {
        int box;
        const char* typed;
        const char* text;
    } basics[] = {
        { 101, "5abc", labelsText },
        { 101, "1O", labelsText },
        { 107, "2x", "Divisions per Label must be a number" },
    },
      yScale[] = {
          { 101, "1OO", "The Minimum Y-Value is not a number" },
          { 102, "5O", "The Maximum Y-Value is not a number" },
          { 105, "5abc", "Error must be expressed as percentage" },
      };
    expectDialog(dialogs(), [&basics](TDialog& d) {
        for (const auto& c : basics) {
            fillBasics(d, { .title = "Typed", .labels = "1", .divisions = "1", .errorBars = true });
            typeInto(d, c.box, c.typed);
            press(d, 1);
            ASSERT_TRUE(d.IsModal()) << c.typed;
            EXPECT_STREQ(doc.title, "");
        }
        fillBasics(d, { .title = "Typed", .labels = " 1 ", .divisions = "1e1", .errorBars = true });
        press(d, 1);
    });
    for (std::size_t i = 0; i < std::size(basics); ++i)
        dialogs().expectMessage();
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), [&yScale](TDialog& d) {
        for (const auto& c : yScale) {
            for (int box : { 101, 102, 105 })
                typeInto(d, box, box == c.box ? c.typed : "5");
            press(d, 1);
            ASSERT_TRUE(d.IsModal()) << c.typed;
            EXPECT_EQ(doc.yRangeSet, 0);
            EXPECT_EQ(doc.yMin, 0.0f);
        }
        yScaleOk("-1.5e1", " 10 ", "+5")(d);
    });
    for (std::size_t i = 0; i < std::size(yScale); ++i)
        dialogs().expectMessage();
    newGraph();

    std::size_t i = 0;
    for (const auto& c : basics)
        expectInputError(i++, c.text, "Number Error", "Basics");
    for (const auto& c : yScale)
        expectInputError(i++, c.text, "Data Error", "Y-Scale");
    EXPECT_EQ(doc.divisionsPerLabel, 10);
    EXPECT_EQ(doc.yMin, -15.0f);
    EXPECT_EQ(doc.yMax, 10.0f);
    EXPECT_EQ(doc.percentError, 5.0f);
}

TEST_F(NewGraph, ThreeLabelsArePromptedInTurnAndTheYScaleSetsTheRange)
{
    doc.percentError = 42;
    expectDialog(dialogs(),
        basicsOk({ .title = "Rainfall 1999 at the north end of the lake",
            .labels = "3",
            .divisions = "4",
            .connect = true,
            .large = true }));
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.GetTitle(), "Labels for X-Axiz");
        const char* months[] = { "Jan", "Feb", "Mar" };
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(d.IsModal());
            EXPECT_EQ(d.text(102), std::to_string(i + 1));
            EXPECT_EQ(d.text(101), i == 0 ? "Enter the first X-Axis Label" : "Enter the next X-Axis Label");
            EXPECT_EQ(d.text(103), "");
            typeInto(d, 103, months[i]);
            press(d, 1);
        }
        EXPECT_FALSE(d.IsModal());
    });
    expectDialog(dialogs(), [](TDialog& d) {
        // The whole dialog, even after an Extend Y-Axis. No error bars, so
        // no percent box.
        for (int id : { 101, 102, 103, 104 })
            EXPECT_TRUE(d.control(id)->IsShown()) << id;
        for (int id : { 105, 106 })
            EXPECT_FALSE(d.control(id)->IsShown()) << id;
        typeInto(d, 101, "0");
        typeInto(d, 102, "90");
        typeInto(d, 105, "7"); // hidden, and not read
        press(d, 1);
    });
    newGraph();

    EXPECT_TRUE(messages().empty());
    EXPECT_STREQ(doc.title, "Rainfall 1999 at the north end of th"); // the 36 the file keeps
    EXPECT_EQ(doc.xLabelCount, 3);
    EXPECT_STREQ(doc.xLabels[0], "Jan");
    EXPECT_STREQ(doc.xLabels[1], "Feb");
    EXPECT_STREQ(doc.xLabels[2], "Mar");
    EXPECT_EQ(doc.labelsEntered, 1);
    EXPECT_EQ(doc.labelSpacing, 200);
    EXPECT_EQ(doc.divisionsPerLabel, 4);
    EXPECT_EQ(doc.connectPoints, 1);
    EXPECT_EQ(doc.largePoints, 1);
    EXPECT_EQ(doc.labelPoints, 0);
    EXPECT_EQ(doc.showErrorBars, 0);

    EXPECT_EQ(doc.yMin, 0.0f);
    EXPECT_EQ(doc.yMax, 90.0f);
    EXPECT_EQ(doc.yScale, 4.0f);
    for (int k = 0; k < kYTickCount; ++k)
        EXPECT_EQ(doc.yTicks[k], 10.0f * k) << k;
    EXPECT_EQ(doc.yRangeSet, 1);
    EXPECT_EQ(doc.percentError, 42.0f);
    EXPECT_EQ(dirty(), 1);
    EXPECT_GE(fullRepaints, 1);
    // The toggle buttons follow the options the Basics dialog set.
    for (auto [id, visible] : { std::pair { IDC_CONNECT, false }, { IDC_DISCONNECT, true },
             { IDC_LARGEPOINTS, false }, { IDC_SMALLPOINTS, true }, { IDC_LABELPOINTS, true },
             { IDC_UNLABELPOINTS, false }, { IDC_HIDEERRORBARS, false } })
        EXPECT_EQ(shown(id), visible) << id;
}

TEST_F(NewGraph, LabelsAreLettersAndDigitsOnlyAtMostElevenOfThemAndMayBeEmpty)
{
    expectDialog(dialogs(), basicsOk({ .labels = "3", .divisions = "1" }));
    expectDialog(dialogs(), [](TDialog& d) {
        for (const char* bad : { "Jan 99", "caf\xE9", "Q1/99" }) {
            typeInto(d, 103, bad);
            press(d, 1);
            ASSERT_TRUE(d.IsModal());
            EXPECT_EQ(d.text(103), bad) << "the refused text stays in the box";
            EXPECT_EQ(d.text(102), "1");
            EXPECT_EQ(doc.xLabelCount, 0);
            EXPECT_EQ(doc.labelsEntered, 0);
        }
        typeInto(d, 103, "Jan99");
        press(d, 1);
        EXPECT_EQ(d.text(103), "");
        EXPECT_EQ(doc.labelsEntered, 1);
        typeInto(d, 103, "");
        press(d, 1);
        EXPECT_EQ(d.text(102), "3");
        typeInto(d, 103, "ABCDEFGHIJKLMN");
        EXPECT_EQ(d.text(103), "ABCDEFGHIJK");
        press(d, 1);
    });
    dialogs().expectMessage();
    dialogs().expectMessage();
    dialogs().expectMessage();
    expectDialog(dialogs(), yScaleOk("0", "90"));
    asOpened();
    newGraph();

    ASSERT_EQ(messages().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        expectInputError(
            i, "This X-Label contains an illegal character.", "Illegal Character", "Labels for X-Axiz");
    EXPECT_EQ(doc.xLabelCount, 3);
    EXPECT_STREQ(doc.xLabels[0], "Jan99");
    EXPECT_STREQ(doc.xLabels[1], "");
    EXPECT_STREQ(doc.xLabels[2], "ABCDEFGHIJK");
    EXPECT_EQ(doc.labelSpacing, 200);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(NewGraph, NegativeBoundsAndAMaxBelowTheMinAreAcceptedAndTicksAccumulate)
{
    expectDialog(dialogs(), basicsOk({ .labels = "1", .divisions = "1" }));
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), yScaleOk("-10", "80"));
    newGraph();
    EXPECT_EQ(doc.yTicks[0], -10.0f);
    EXPECT_EQ(doc.yTicks[9], 80.0f);

    expectDialog(dialogs(), basicsOk({ .labels = "1", .divisions = "1" }));
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), yScaleOk("90", "0"));
    newGraph();
    EXPECT_EQ(doc.yTicks[1], 80.0f);
    EXPECT_EQ(doc.yScale, -4.0f);
    EXPECT_EQ(doc.yTicks[9], 0.0f);

    expectDialog(dialogs(), basicsOk({ .labels = "1", .divisions = "1" }));
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), yScaleOk("-300", "-1"));
    newGraph();

    // Each tick is the previous one plus the step, rounded to a float each
    // time: 1 + 9 steps of 1/9 ends just above 2.
    expectDialog(dialogs(), basicsOk({ .labels = "1", .divisions = "1" }));
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), yScaleOk("1", "2"));
    newGraph();
    EXPECT_EQ(doc.yTicks[9], 2.000000476837158f);
}

TEST_F(NewGraph, PercentErrorMustBeAboveZeroAndAtMostAHundredReadFromItsFirstSevenCharacters)
{
    window->showControl(IDC_SHOWERRORBARS, true); // as an earlier graph may leave it
    asOpened();
    expectDialog(dialogs(), basicsOk({ .labels = "", .errorBars = true }));
    expectDialog(dialogs(), [](TDialog& d) {
        for (int id : { 105, 106 })
            EXPECT_TRUE(d.control(id)->IsShown()) << id;
        typeInto(d, 101, "0");
        typeInto(d, 102, "100");
        const float before = doc.percentError;
        for (const char* text : { "100.5", "0", "abc", "-5" }) {
            typeInto(d, 105, text);
            press(d, 1);
            ASSERT_TRUE(d.IsModal()) << text;
            EXPECT_EQ(d.text(105), text);
            // Everything before the check is stored, but never the refused
            // percentage.
            EXPECT_EQ(doc.percentError, before);
            EXPECT_EQ(doc.yRangeSet, 1);
        }
        typeInto(d, 105, "12.345678");
        press(d, 1);
    });
    for (int i = 0; i < 4; ++i)
        dialogs().expectMessage();
    newGraph();

    ASSERT_EQ(messages().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        expectInputError(i, "Error must be expressed as percentage", "Data Error", "Y-Scale");
    EXPECT_EQ(doc.percentError, 12.3456f);
    EXPECT_EQ(doc.showErrorBars, 1);
    EXPECT_EQ(dirty(), 1);
    EXPECT_GE(fullRepaints, 1);
    // The pair of error-bar buttons shares one place: only Hide shows.
    EXPECT_TRUE(shown(IDC_HIDEERRORBARS));
    EXPECT_FALSE(shown(IDC_SHOWERRORBARS));

    const std::pair<const char*, float> accepted[] = { { "100", 100.0f }, { "", 0.0f }, { "0.5", 0.5f } };
    for (auto [text, value] : accepted) {
        SCOPED_TRACE(text);
        doc.percentError = 42;
        expectDialog(dialogs(), basicsOk({ .errorBars = true }));
        expectDialog(dialogs(), yScaleOk("0", "10", text));
        newGraph();
        EXPECT_TRUE(messages().size() == 4u);
        EXPECT_EQ(doc.percentError, value);
    }
}

TEST_F(NewGraph, TheReducedYScaleAsksOnlyForTheMaximumAndKeepsTheMinimumAndPercent)
{
    doc.showErrorBars = 1;
    doc.yMin = 5;
    doc.yMax = 100;
    doc.percentError = 42;
    doc.yRangeSet = 1;
    expectDialog(dialogs(), [](TDialog& d) {
        for (int id : { 101, 103, 105, 106 })
            EXPECT_FALSE(d.control(id)->IsShown()) << id;
        for (int id : { 102, 104, 1, 2, 9 })
            EXPECT_TRUE(d.control(id)->IsShown()) << id;
        typeInto(d, 102, "200");
        press(d, 1);
    });
    EXPECT_EQ(TDlg3(window, YScaleMode::extend).execute(), IDOK);
    // The hidden boxes are not read: they are empty, not what the user meant.
    EXPECT_EQ(doc.yMin, 5.0f);
    EXPECT_EQ(doc.yMax, 200.0f);
    EXPECT_EQ(doc.percentError, 42.0f);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(NewGraph, AYRangeOfZeroOrBeyondTheFloatsIsRefusedAndTheTypingKept)
{
    expectDialog(dialogs(), basicsOk({ .labels = "1", .divisions = "1" }));
    expectDialog(dialogs(), labelsOk({ "A" }));
    expectDialog(dialogs(), [](TDialog& d) {
        const std::pair<const char*, const char*> refused[]
            = { { "", "" }, { "5", "5.0" }, { "0", "1e39" }, { "-3e38", "3e38" }, { "0", "1e-44" } };
        for (auto [min, max] : refused) {
            typeInto(d, 101, min);
            typeInto(d, 102, max);
            press(d, 1);
            ASSERT_TRUE(d.IsModal()) << min << " to " << max;
            EXPECT_EQ(d.text(101), min);
            EXPECT_EQ(d.text(102), max);
            // The range was never set, so the old one is still in force,
            // and no bound beyond a float's range was stored.
            EXPECT_EQ(doc.yRangeSet, 0);
            EXPECT_LT(std::fabs(doc.yMax - doc.yMin), 1e38f);
            EXPECT_EQ(doc.yScale, 1.0f);
        }
        typeInto(d, 101, "0");
        typeInto(d, 102, "90");
        press(d, 1);
    });
    for (int i = 0; i < 5; ++i)
        dialogs().expectMessage();
    newGraph();

    ASSERT_EQ(messages().size(), 5u);
    for (std::size_t i = 0; i < 2; ++i)
        expectInputError(
            i, "The Maximum Y-Value must differ from the Minimum Y-Value", "Data Error", "Y-Scale");
    for (std::size_t i = 2; i < 5; ++i)
        expectInputError(i, "The Y-Values are too large or too close together", "Data Error", "Y-Scale");
    EXPECT_EQ(doc.yScale, 4.0f);
    EXPECT_EQ(doc.yRangeSet, 1);
}

TEST_F(NewGraph, NumbersTooLargeForAFloatAreNeverStored)
{
    doc.yMin = 1;
    doc.yMax = 2;
    doc.percentError = 42;
    expectDialog(dialogs(), basicsOk({ .errorBars = true }));
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 101, "-1e999");
        typeInto(d, 102, "10");
        press(d, 1);
        ASSERT_TRUE(d.IsModal());
        typeInto(d, 101, "0");
        typeInto(d, 105, "1e99999");
        press(d, 1);
        ASSERT_TRUE(d.IsModal());
        // The bounds of the second OK were stored, as every OK stores what
        // it read; the overflowing numbers never were.
        EXPECT_EQ(doc.yMin, 0.0f);
        EXPECT_EQ(doc.yMax, 10.0f);
        EXPECT_EQ(doc.percentError, 42.0f);
        press(d, 2);
    });
    dialogs().expectMessage();
    dialogs().expectMessage();
    newGraph();
    ASSERT_EQ(messages().size(), 2u);
    expectInputError(0, "The Y-Values are too large or too close together", "Data Error", "Y-Scale");
    expectInputError(1, "Error must be expressed as percentage", "Data Error", "Y-Scale");
    // Cancelled: nothing read by the refused OKs stays.
    EXPECT_EQ(doc.yMin, 1.0f);
    EXPECT_EQ(doc.yMax, 2.0f);
    EXPECT_EQ(doc.percentError, 42.0f);
}

TEST_F(NewGraph, DivisionsPerLabelMustLeaveAtLeastOnePixelPerStepWhenThereAreLabels)
{
    struct Case {
        const char* labels;
        const char* divisions;
        int most; // 0: accepted
    };
    const Case cases[] = {
        { "3", "", 200 },
        { "3", "0", 200 },
        { "3", "-2", 200 },
        { "3", "201", 200 },
        { "20", "31", 30 },
        { "7", "86", 85 },
        { "7", "85", 0 },
    };
    expectDialog(dialogs(), [&cases](TDialog& d) {
        for (const Case& c : cases) {
            fillBasics(d, { .labels = c.labels, .divisions = c.divisions });
            press(d, 1);
            EXPECT_EQ(d.IsModal(), c.most != 0) << c.labels << " labels, " << c.divisions << " divisions";
            if (c.most) {
                EXPECT_EQ(d.text(107), c.divisions);
            }
        }
    });
    std::size_t refusals = 0;
    for (const Case& c : cases)
        if (c.most) {
            dialogs().expectMessage();
            ++refusals;
        }
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(doc.divisionsPerLabel, 85);
        press(d, 2);
    });
    newGraph();

    ASSERT_EQ(messages().size(), refusals);
    std::size_t i = 0;
    for (const Case& c : cases)
        if (c.most) {
            expectInputError(i++, "Divisions per Label must be between 1 and " + std::to_string(c.most),
                "Number Error", "Basics");
        }
    EXPECT_EQ(doc.divisionsPerLabel, 0) << "cancelled: the graph as it was";

    // Without labels the divisions are not needed and not checked.
    expectDialog(dialogs(), basicsOk({ .labels = "0", .divisions = "" }));
    newGraph();
    EXPECT_EQ(doc.divisionsPerLabel, 0);
}
} // namespace
