// Edit Labels, Extend X-Axis and Extend Y-Axis through the real dialogs.

#include "document/GraphDocument.h"
#include "files/GraphRecord.h"
#include "files/RecordCheck.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"

#include <cstring>
#include <string>
#include <vector>
#include <wx/msgdlg.h>
#include <wx/panel.h>

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
        window->client()->Update();
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
        dialogs().expectMessage(); // Next Step
        run(CM_EXTENDX);
    }

    // OK only and no icon, owned by the window or dialog titled `owner`.
    void expectShown(
        std::size_t index, const std::string& text, const std::string& caption, const std::string& owner)
    {
        expectInputError(messages(), index, text, caption, owner);
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
    EXPECT_EQ(doc.dirty, 0);
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
    EXPECT_GE(fullRepaints, 1);
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

TEST_F(AxisCommands, ExtendXByZeroKeepsTheAxisAndStillPointsToEditLabelsAndCancelKeepsEverything)
{
    graph(3);
    doc.labelSpacing = 7; // recomputed, not kept
    extendX("0");
    ASSERT_EQ(messages().size(), 1u);
    expectShown(0,
        "You should now use the 'Extras|Edit Labels' option to Add or Edit the new labels you need.",
        "Next Step", mainTitle());
    EXPECT_EQ(doc.xLabelCount, 3);
    EXPECT_EQ(doc.labelSpacing, 200);
    EXPECT_EQ(doc.pixelX[0][2], 400);
    EXPECT_EQ(getInt32(graphRecord, RecordLayout::labelSpacing), 200);
    EXPECT_EQ(doc.dirty, 0);
    EXPECT_GE(fullRepaints, 1);

    graphRecord = GraphRecord {};
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 102, "2");
        press(d, 2);
    });
    run(CM_EXTENDX);
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(doc.xLabelCount, 3);
    EXPECT_EQ(getInt32(graphRecord, RecordLayout::labelSpacing), 0);
}

TEST_F(AxisCommands, TypedNumbersAreTruncatedAndOnlyTheCurrentCurveIsRescaled)
{
    struct Case {
        const char* typed;
        int count, spacing;
        int columns[3]; // curve 2's points, from 100, 250, 400
    };
    const Case cases[] = {
        { "2.9", 7, 85, { 71, 178, 285 } },
        { "-2", 3, 200, { 166, 416, 666 } }, // stretched by 5 / 3
        { "-2.9", 3, 200, { 166, 416, 666 } },
        { "abc", 5, 120, { 100, 250, 400 } },
        { "3abc", 8, 75, { 62, 156, 250 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        graph(5);
        click(IDC_CURVE2);
        doc.pixelX[1][3] = 500; // past the count: not a point
        extendX(c.typed);
        EXPECT_EQ(doc.xLabelCount, c.count);
        EXPECT_EQ(doc.labelSpacing, c.spacing);
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(doc.pixelX[1][j], c.columns[j]) << j;
            EXPECT_EQ(doc.pixelX[0][j], 100 + 150 * j) << j;
        }
        EXPECT_EQ(doc.pixelX[1][3], 500);
        EXPECT_EQ(
            getFloat32(graphRecord, RecordLayout::curveEntry(RecordLayout::pixelX, 1, 2)), c.columns[2]);
    }
}

TEST_F(AxisCommands, ExtendXKeepsOneToTwentyLabelsWithRoomForTheirDivisions)
{
    graph(15, 2);
    answer({ "6", "1e99999", "-15", "-1e9999", "5" });
    dialogs().expectMessage();
    run(CM_EXTENDX);
    for (std::size_t i : { 0u, 1u })
        expectShown(i, "The maximum number of X-axis labels is 20", "Too Many Labels", "Extend X-Axis");
    for (std::size_t i : { 2u, 3u })
        expectShown(i, "The X-Axis must keep at least one label: no more than 14 can be removed",
            "Too Few Labels", "Extend X-Axis");
    EXPECT_EQ(doc.xLabelCount, 20);
    EXPECT_EQ(doc.labelSpacing, 30);

    // 40 divisions leave room for 15 labels: any more and a tick step would
    // be under a pixel, in a file that could not be opened again.
    graph(10, 40);
    answer({ "6", "5" });
    dialogs().expectMessage();
    run(CM_EXTENDX);
    expectShown(5, "With 40 divisions per label the X-Axis has room for no more than 15 labels",
        "Too Many Labels", "Extend X-Axis");
    EXPECT_EQ(doc.labelSpacing, 40);
    EXPECT_EQ(checkRecord(graphRecord), "");

    // An axis without labels needs at least one, and its points, with no
    // spacing to keep them against, stay where they are.
    graph(0, 0);
    answer({ "0", "4" });
    dialogs().expectMessage();
    run(CM_EXTENDX);
    expectShown(
        7, "The X-Axis has no labels yet: enter how many labels to add", "Too Few Labels", "Extend X-Axis");
    EXPECT_EQ(doc.labelSpacing, 150);
    EXPECT_EQ(doc.divisionsPerLabel, 1);
    EXPECT_EQ(doc.pixelX[0][2], 400);
    EXPECT_EQ(checkRecord(graphRecord), "");
}

TEST_F(AxisCommands, ExtendYDividesHeightsOfEverySlotOfTheCurrentCurveByTheWholeRatio)
{
    struct Case {
        float oldMax;
        const char* typed;
        float to; // from row 198
        float emptySlot; // from 0
    };
    const Case cases[] = {
        { 100, "250", 289, 190 }, { 100, "150", 199, 1 }, // ratio 1: one row down
        { 10.9f, "21.5", 289, 190 }, // 21 / 10
        { 100, "-300", 319, 253 }, // magnitudes: 3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        graph(3);
        doc.dirty = 0;
        doc.yMax = c.oldMax;
        doc.pixelY[0][249] = 0;
        doc.valueY[0][0] = 50;
        expectDialog(dialogs(), [&c](TDialog& d) {
            EXPECT_EQ(d.GetTitle(), "Y-Scale");
            for (int id : { 101, 103, 105, 106 })
                EXPECT_FALSE(d.control(id)->IsShown()) << id;
            typeInto(d, 102, c.typed);
            press(d, 1);
        });
        run(CM_EXTENDY);
        EXPECT_EQ(doc.pixelY[0][0], c.to);
        EXPECT_EQ(doc.pixelY[0][249], c.emptySlot);
        EXPECT_EQ(doc.pixelY[1][0], 198);
        EXPECT_EQ(doc.valueY[0][0], 50);
        EXPECT_EQ(doc.yMax, std::stof(c.typed));
        EXPECT_EQ(doc.dirty, 1);
        EXPECT_EQ(getFloat32(graphRecord, RecordLayout::curveEntry(RecordLayout::pixelY, 0, 0)), c.to);
        EXPECT_GE(fullRepaints, 1);
    }
    EXPECT_EQ(doc.yNegative, 1);
    EXPECT_FALSE(menuEnabled(CM_EXTENDY));
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

TEST_F(AxisCommands, ExtendYRefusesAMaximumItCannotScaleByAndStoresNothingUntilOneIsTaken)
{
    // Nothing to scale from: said at once, over the window.
    graph(3);
    doc.yMax = 0.5f;
    dialogs().expectMessage();
    run(CM_EXTENDY);
    expectShown(
        0, "The Y-Axis can only be extended from a Maximum Y-Value of at least 1", "Data Error", mainTitle());

    graph(3);
    doc.yMin = 150; // a file may hold its range upside down
    const GraphDocument before = doc;
    answer({ "99.9", "-50", "", "150", "1e39" }, false);
    run(CM_EXTENDY);
    for (std::size_t i : { 1u, 2u, 3u })
        expectShown(i, "The new Maximum Y-Value must be at least 100", "Data Error", "Y-Scale");
    expectShown(4, "The Maximum Y-Value must differ from the Minimum Y-Value", "Data Error", "Y-Scale");
    expectShown(5, "The Y-Values are too large or too close together", "Data Error", "Y-Scale");
    EXPECT_EQ(std::memcmp(doc.pixelY, before.pixelY, sizeof doc.pixelY), 0);
    EXPECT_EQ(doc.yMax, 100.0f);
    EXPECT_EQ(doc.yScale, before.yScale);
    EXPECT_EQ(doc.yNegative, 0);
    EXPECT_EQ(doc.dirty, 0);
    EXPECT_EQ(getInt32(graphRecord, RecordLayout::pointCount), 0);
    EXPECT_EQ(fullRepaints, 0);
}
} // namespace
