// Edit Labels, Extend X-Axis and Extend Y-Axis through the real dialogs.

#include "document/GraphDocument.h"
#include "document/PlotArea.h"
#include "files/GraphFile.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"
#include "tests/support/SkipOrFail.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/uiaction.h>

namespace {
// Row i of the labels dialog: its "Label No." text and its edit.
constexpr int rowText[kMaxLabels]
    = { 101, 104, 106, 108, 110, 112, 114, 116, 118, 120, 103, 105, 107, 109, 111, 113, 115, 117, 119, 121 };
constexpr int rowEdit[kMaxLabels]
    = { 102, 123, 125, 127, 129, 131, 133, 135, 137, 139, 122, 124, 126, 128, 130, 132, 134, 136, 138, 140 };

class AxisCommands : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        graphRecord = GraphRecord {};
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

    // A graph as New Graph leaves it: n labels, a Y range 0..100, and points
    // in curves 1 and 2.
    void graph(int labels, int divisions = 1)
    {
        doc.xLabelCount = labels;
        for (int i = 0; i < labels; ++i)
            std::strcpy(doc.xLabels[i], ("L" + std::to_string(i + 1)).c_str());
        doc.labelSpacing = labels > 0 ? 600 / labels : 0;
        doc.divisionsPerLabel = divisions;
        std::strcpy(doc.title, "Rainfall");
        doc.yRangeSet = 1;
        doc.yMax = 100;
        doc.yScale = 3.6f;
        for (int c = 0; c < 2; ++c) {
            doc.pointCount[c] = 3;
            for (int j = 0; j < 3; ++j) {
                doc.pixelX[c][j] = 100 + 150 * j; // 100, 250, 400
                doc.pixelY[c][j] = 198;
            }
        }
    }

    void run(int id)
    {
        // The graph the test set up is on screen before the command.
        if (!window->showsDocument())
            window->repaint();
        waitUntil([this] { return window->showsDocument(); });
        pump();
        fullRepaints = 0;
        command(id);
        window->client()->Update();
        pump();
    }

    // Types each text into the dialog's box 102 and presses OK: all but the
    // last must be refused, with a message, and keep the box as typed; the
    // last is accepted, or refused too and the dialog cancelled.
    void answer(std::vector<std::string> typed, bool accept = true)
    {
        expectDialog(dialogs(), [typed, accept](TDialog& d) {
            for (std::size_t i = 0; i < typed.size(); ++i) {
                typeInto(d, 102, typed[i]);
                press(d, 1);
                ASSERT_EQ(d.IsModal(), !accept || i + 1 < typed.size()) << typed[i];
                if (d.IsModal()) {
                    EXPECT_EQ(d.text(102), typed[i]);
                }
            }
            if (!accept)
                press(d, 2);
        });
        for (std::size_t i = accept ? 1 : 0; i < typed.size(); ++i)
            dialogs().expectMessage();
    }

    void extendX(const std::string& typed)
    {
        answer({ typed });
        // Next Step, over a graph already repainted whole.
        dialogs().expect([this](wxDialog*) {
            EXPECT_GE(fullRepaints, 1);
            return static_cast<int>(wxID_OK);
        });
        run(CM_EXTENDX);
    }

    // OK only and no icon, owned by the window or dialog titled `owner`.
    void expectShown(
        std::size_t index, const std::string& text, const std::string& caption, const std::string& owner)
    {
        expectInputError(messages(), index, text, caption, owner);
    }

    // The document as a file would hold it.
    static std::vector<std::uint8_t> packed()
    {
        GraphRecord rec;
        packRecord(doc, rec);
        return { std::begin(rec.bytes), std::end(rec.bytes) };
    }

    std::string mainTitle() const { return std::string(window->GetTitle().mb_str()); }

    int fullRepaints = 0;
};

TEST_F(AxisCommands, EditLabelsShowsTheRowsInUseStoresWhatIsRetypedAndCancelStoresNothing)
{
    graph(3);
    std::strcpy(doc.xLabels[3], "Stale"); // past the count: neither shown nor stored
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_EQ(d.GetTitle(), "X-Axis labels");
        for (int i = 0; i < kMaxLabels; ++i) {
            EXPECT_EQ(d.control(rowText[i])->IsShown(), i < 3) << i;
            EXPECT_EQ(d.control(rowEdit[i])->IsShown(), i < 3) << i;
        }
        EXPECT_EQ(d.text(rowEdit[2]), "L3");
        EXPECT_EQ(d.text(141), "Rainfall");
        typeInto(d, rowEdit[1], "");
        typeInto(d, rowEdit[2], "Q1/99 (est)"); // no character check here
        typeInto(d, rowEdit[0], "ABCDEFGHIJKLMN");
        typeInto(d, 141, "Rainfall at Kew Gardens in 1999, by month");
        press(d, 1);
    });
    run(CM_EDITLABELS);

    EXPECT_STREQ(doc.xLabels[0], "ABCDEFGHIJK");
    EXPECT_STREQ(doc.xLabels[1], "");
    EXPECT_STREQ(doc.xLabels[2], "Q1/99 (est)");
    EXPECT_STREQ(doc.xLabels[3], "Stale");
    EXPECT_STREQ(doc.title, "Rainfall at Kew Gardens in 1999, by ");
    // Retyped labels are unsaved work.
    EXPECT_EQ(dirty(), 1);
    EXPECT_EQ(graphRecord.bytes[RecordLayout::labelSlot(1)], 0);
    EXPECT_EQ(graphRecord.bytes[RecordLayout::labelSlot(2)], 'Q');
    EXPECT_GE(fullRepaints, 1);

    // Cancel: nothing stored, yet the record is brought up to date.
    graph(0);
    graphRecord = GraphRecord {};
    expectDialog(dialogs(), [](TDialog& d) {
        EXPECT_FALSE(d.control(rowEdit[0])->IsShown());
        typeInto(d, 141, "Changed");
        press(d, 2);
    });
    run(CM_EDITLABELS);
    EXPECT_STREQ(doc.title, "Rainfall");
    EXPECT_EQ(graphRecord.bytes[RecordLayout::title], 'R');
}

TEST_F(AxisCommands, EveryLabelRowPairsItsNumberWithItsEditAndAFilesTwelfthCharacterLastsUntilRetyped)
{
    graph(20);
    std::strcpy(doc.xLabels[4], "ABCDEFGHIJKL"); // as a file may hold it
    std::strcpy(doc.xLabels[5], "ABCDEFGHIJKL");
    expectDialog(dialogs(), [](TDialog& d) {
        for (int i = 0; i < kMaxLabels; ++i) {
            SCOPED_TRACE(i);
            const wxRect label = d.control(rowText[i])->GetRect();
            const wxRect edit = d.control(rowEdit[i])->GetRect();
            EXPECT_EQ(d.text(rowText[i]), "Label No." + std::to_string(i + 1));
            EXPECT_LT(label.GetRight(), edit.GetLeft());
            EXPECT_LE(std::abs(label.GetTop() + label.height / 2 - (edit.GetTop() + edit.height / 2)), 2);
            const wxRect above = d.control(rowEdit[i % 10 > 0 ? i - 1 : i])->GetRect();
            EXPECT_TRUE(i % 10 == 0 || edit.GetTop() > above.GetBottom());
            const wxRect left = d.control(rowEdit[i % 10])->GetRect();
            EXPECT_TRUE(i < 10 || edit.GetLeft() > left.GetRight());
        }
        EXPECT_EQ(d.text(rowEdit[4]), "ABCDEFGHIJK");
        typeInto(d, rowEdit[5], "ABCDEFGHIJ");
        press(d, 1);
    });
    run(CM_EDITLABELS);
    EXPECT_STREQ(doc.xLabels[4], "ABCDEFGHIJKL");
    EXPECT_STREQ(doc.xLabels[5], "ABCDEFGHIJ");
}

TEST_F(AxisCommands, ExtendXByZeroChangesNothingAndStillPointsToEditLabelsAndCancelKeepsEverything)
{
    for (int labels : { 3, 0 }) {
        SCOPED_TRACE(labels);
        graph(labels);
        doc.labelSpacing = labels ? 7 : 0; // as a file may hold it: kept, points and all
        asOpened();
        const std::vector<std::uint8_t> before = packed();
        messages().clear();
        extendX("0");
        ASSERT_EQ(messages().size(), 1u);
        expectShown(0,
            "You should now use the 'Extras|Edit Labels' option to Add or Edit the new labels you need.",
            "Next Step", mainTitle());
        EXPECT_EQ(packed(), before);
        EXPECT_EQ(dirty(), 0);
        EXPECT_GE(fullRepaints, 1);
    }

    graph(3);
    const std::vector<std::uint8_t> before = packed();
    graphRecord = GraphRecord {};
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 102, "2");
        press(d, 2);
    });
    run(CM_EXTENDX);
    EXPECT_EQ(packed(), before);
    EXPECT_EQ(getInt32(graphRecord, RecordLayout::labelSpacing), 0);
}

TEST_F(AxisCommands, TypedNumbersAreTruncatedAndEveryCurveKeepsItsPointsOnTheirLabels)
{
    struct Case {
        const char* typed;
        int count, spacing;
        int columns[3]; // from 100, 250, 400 on 5 labels 120 apart
    };
    const Case cases[] = {
        { "2.9", 7, 85, { 85, 192, 298 } },
        { "-2", 3, 200, { 133, 383, 633 } }, // stretched by 5 / 3
        { "-2.9", 3, 200, { 133, 383, 633 } },
        { "", 5, 120, { 100, 250, 400 } },
        { " 3 ", 8, 75, { 81, 175, 269 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        graph(5);
        click(IDC_CURVE2);
        doc.pixelX[1][3] = 500; // past the count: not a point
        extendX(c.typed);
        EXPECT_EQ(doc.xLabelCount, c.count);
        EXPECT_EQ(doc.labelSpacing, c.spacing);
        for (int curve : { 0, 1 })
            for (int j = 0; j < 3; ++j)
                EXPECT_EQ(doc.pixelX[curve][j], c.columns[j]) << curve << " " << j;
        EXPECT_EQ(doc.pixelX[1][3], 500);
        EXPECT_EQ(
            getFloat32(graphRecord, RecordLayout::curveEntry(RecordLayout::pixelX, 0, 2)), c.columns[2]);
    }
}

// A graph as a new user made it: 5 labels 120 apart with 4 divisions, Y
// 0..100, curve 1 on labels A and C, curve 2 on label B.
TEST_F(AxisCommands, ExtendingBothAxesKeepsEveryPointOnItsLabelAndItsValueThroughASave)
{
    graph(5, 4);
    for (int c = 0; c < kCurveCount; ++c)
        doc.pointCount[c] = 0;
    const struct {
        int curve, x;
        float value;
    } points[] = { { 0, 110, 50 }, { 0, 350, 80 }, { 1, 230, 25 } };
    for (const auto& p : points) {
        const int j = doc.pointCount[p.curve]++;
        doc.pixelX[p.curve][j] = p.x;
        doc.valueY[p.curve][j] = p.value;
        doc.pixelY[p.curve][j] = 378 - p.value * 3.6f;
    }
    extendX("1");
    answer({ "250" });
    run(CM_EXTENDY);

    const int columns[] = { 100, 300, 200 };
    const auto check = [&](const GraphDocument& d) {
        int seen[kCurveCount] = {};
        for (std::size_t i = 0; i < std::size(points); ++i) {
            const int c = points[i].curve, j = seen[c]++;
            EXPECT_EQ(d.pixelX[c][j], columns[i]) << i;
            EXPECT_NEAR(d.pixelY[c][j], 378 - points[i].value * 1.44, 0.5) << i;
            EXPECT_EQ(d.valueY[c][j], points[i].value) << i;
        }
        EXPECT_NEAR(d.yTicks[9], 250, 1e-3);
        EXPECT_EQ(d.yScale, 1.44f);
    };
    check(doc);

    const std::string path = testing::TempDir() + "plotwell-extended.gd2";
    std::string error;
    ASSERT_TRUE(writeGraphFile(path, graphRecord, error)) << error;
    GraphRecord read;
    ASSERT_TRUE(readGraphFile(path, read, error)) << error;
    std::remove(path.c_str());
    auto reopened = std::make_unique<GraphDocument>();
    unpackRecordDocument(read, *reopened);
    check(*reopened);
}

TEST_F(AxisCommands, ExtendXRefusesWhatWouldLoseALabelOrAPointAndChangesNothing)
{
    struct Case {
        int labels, divisions;
        const char* typed;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        { 15, 2, "6", "The maximum number of X-axis labels is 20", "Too Many Labels" },
        { 15, 2, "1e99999", "The maximum number of X-axis labels is 20", "Too Many Labels" },
        { 15, 2, "-15", "The X-Axis must keep at least one label: no more than 14 can be removed",
            "Too Few Labels" },
        { 15, 2, "-1e9999", "The X-Axis must keep at least one label: no more than 14 can be removed",
            "Too Few Labels" },
        // Tick steps under a pixel, in a file that could not be opened again.
        { 10, 40, "6", "With 40 divisions per label the X-Axis has room for no more than 15 labels",
            "Too Many Labels" },
        { 0, 0, "-1", "The X-Axis has no labels yet: enter how many labels to add", "Too Few Labels" },
        // Typos are not read as the number they start with.
        { 5, 1, "3abc", "The number of Extra Labels must be a number", "Data Error" },
        { 5, 1, "1O", "The number of Extra Labels must be a number", "Data Error" },
        // Stretched from 120 to 300 pixels a label, 400 would go to 925.
        { 5, 1, "-3", "Removing so many labels would move a point beyond the right-hand end of the X-Axis",
            "Too Few Labels" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        graph(c.labels, c.divisions);
        const std::vector<std::uint8_t> before = packed();
        messages().clear();
        answer({ c.typed }, false);
        run(CM_EXTENDX);
        expectShown(0, c.text, c.caption, "Extend X-Axis");
        EXPECT_EQ(packed(), before);
    }

    // 5 more on 15 fill the axis; an axis without labels gets them, with no
    // point moved and one division each.
    graph(15, 2);
    extendX("5");
    EXPECT_EQ(doc.xLabelCount, 20);
    EXPECT_EQ(doc.labelSpacing, 30);
    graph(0, 0);
    extendX("4");
    EXPECT_EQ(doc.labelSpacing, 150);
    EXPECT_EQ(doc.divisionsPerLabel, 1);
    EXPECT_EQ(doc.pixelX[0][2], 400);
    EXPECT_EQ(checkRecord(graphRecord), "");
}

TEST_F(AxisCommands, ExtendYScalesEveryPointOfEveryCurveToKeepItsValue)
{
    struct Case {
        int rangeSet;
        float min, max;
        const char* typed;
    };
    const Case cases[] = {
        { 1, 0, 100, "250" }, { 1, 0, 100, "150" }, { 1, 10, 100, "190" },
        { 1, 0, 0.5f, "2" }, // a range below 1 extends like any other
        { 0, 0, 0, "720" }, // no range: the heights 0..360 points were typed as
        { 1, -50, -10, "30" }, // a negative range extends too, however often
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        graph(3);
        asOpened();
        doc.yRangeSet = c.rangeSet;
        doc.yMin = c.min;
        doc.yMax = c.max;
        doc.yScale = c.rangeSet ? 360 / (c.max - c.min) : 1;
        const float values[] = { c.min, (c.min + c.max) / 2, c.rangeSet ? c.max : 360 };
        for (int curve : { 0, 1 })
            for (int j = 0; j < 3; ++j) {
                doc.valueY[curve][j] = values[j];
                doc.pixelY[curve][j] = valueToPixelY(doc, values[j]);
            }
        doc.pixelY[0][249] = 0; // an unused slot stays
        expectDialog(dialogs(), [&c](TDialog& d) {
            EXPECT_EQ(d.GetTitle(), "Y-Scale");
            for (int id : { 101, 103, 105, 106 })
                EXPECT_FALSE(d.control(id)->IsShown()) << id;
            typeInto(d, 102, c.typed);
            press(d, 1);
        });
        run(CM_EXTENDY);
        EXPECT_EQ(doc.yMax, std::stof(c.typed));
        EXPECT_EQ(doc.yMin, c.min);
        EXPECT_EQ(doc.yTicks[0], c.min);
        EXPECT_NEAR(doc.yTicks[9], doc.yMax, 1e-4);
        for (int curve : { 0, 1 })
            for (int j = 0; j < 3; ++j) {
                EXPECT_NEAR(doc.pixelY[curve][j], valueToPixelY(doc, values[j]), 1e-3) << curve << j;
                EXPECT_EQ(doc.valueY[curve][j], values[j]);
            }
        EXPECT_EQ(doc.pixelY[0][249], 0.0f);
        EXPECT_EQ(dirty(), 1);
        EXPECT_EQ(
            getFloat32(graphRecord, RecordLayout::curveEntry(RecordLayout::pixelY, 1, 2)), doc.pixelY[1][2]);
        EXPECT_GE(fullRepaints, 1);
    }
}

TEST_F(AxisCommands, ExtendYKeepsTheMinimumAndTheErrorPercentage)
{
    graph(3);
    doc.yMin = 10;
    doc.showErrorBars = 1;
    doc.percentError = 5;
    answer({ "190" });
    run(CM_EXTENDY);
    EXPECT_EQ(doc.yMin, 10.0f);
    EXPECT_EQ(doc.percentError, 5.0f);
    EXPECT_EQ(doc.yScale, 2.0f);
    EXPECT_EQ(doc.yTicks[9], 190.0f);
    EXPECT_EQ(getFloat32(graphRecord, RecordLayout::yMin), 10.0f);
}

TEST_F(AxisCommands, ExtendYRefusesAMaximumNotAboveTheOldOneAndStoresNothingUntilOneIsTaken)
{
    graph(3);
    asOpened();
    const std::vector<std::uint8_t> before = packed();
    answer({ "99.9", "-50", "", "abc", "100", "2OO", "1e39" }, false);
    run(CM_EXTENDY);
    for (std::size_t i = 0; i < 6; ++i)
        expectShown(i, "The new Maximum Y-Value must be a number above 100", "Data Error", "Y-Scale");
    expectShown(6, "The Y-Values are too large or too close together", "Data Error", "Y-Scale");
    EXPECT_EQ(packed(), before);
    EXPECT_EQ(dirty(), 0);
    EXPECT_EQ(getInt32(graphRecord, RecordLayout::pointCount), 0);
    EXPECT_EQ(fullRepaints, 0);
}

// Real key presses, with no click: the reduced dialog starts with the focus
// in the one box it shows.
TEST_F(AxisCommands, TheReducedYScaleTakesTypingAndEnterAndEscapeCancels)
{
    for (const bool enter : { true, false }) {
        SCOPED_TRACE(enter);
        graph(3);
        bool focused = false;
        expectDialog(dialogs(), [&focused, enter](TDialog& d) {
            d.Raise();
            focused = waitUntil([&d] { return wxWindow::FindFocus() == d.control(102); }, 500);
            if (!focused) {
                press(d, 2);
                return;
            }
            wxUIActionSimulator keys;
            keys.Text("250");
            keys.Char(enter ? WXK_RETURN : WXK_ESCAPE);
            waitUntil([&d] { return !d.IsModal(); }, 500);
        });
        run(CM_EXTENDY);
        if (!focused)
            SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
        EXPECT_EQ(doc.yMax, enter ? 250.0f : 100.0f);
        EXPECT_EQ(doc.pixelY[0][0], enter ? 306.0f : 198.0f);
    }
}
} // namespace
