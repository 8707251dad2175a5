#include "document/GraphRules.h"
#include "framework/Clipboard.h"
#include "resources/CommandIds.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/GraphSamples.h"
#include "ui/PointsWindow.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <wx/app.h>
#include <wx/dataview.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/textctrl.h>

namespace {
class PointEntry : public WindowTest {
protected:
    // Types X and Y and presses Next Point; returns true when a point was
    // stored. A refusal is answered and its text recorded.
    void enter(const std::string& x, const std::string& y)
    {
        type(IDC_XBOX, x);
        type(IDC_YBOX, y);
        click(IDC_NEXTPOINT);
    }
    void expectRefusal(
        const std::string& x, const std::string& y, const std::string& text, const std::string& caption)
    {
        messages().clear();
        dialogs().expectMessage();
        const GraphDocument before = doc;
        const int dirtyBefore = dirty();
        enter(x, y);
        ASSERT_EQ(messages().size(), 1u) << x << " / " << y;
        EXPECT_EQ(messages()[0].text, text);
        EXPECT_EQ(messages()[0].caption, caption);
        EXPECT_EQ(doc.pointCount[doc.currentCurve], before.pointCount[before.currentCurve]);
        EXPECT_EQ(dirty(), dirtyBefore);
        EXPECT_EQ(window->controlText(IDC_XBOX), x);
        EXPECT_EQ(window->controlText(IDC_YBOX), y);
    }
    void setRange0To100()
    {
        doc.yRangeSet = 1;
        doc.yMin = 0;
        doc.yMax = 100;
        doc.yScale = static_cast<float>(360 / 100.0);
    }
};

// A number with blanks around it, a sign, a decimal point or an exponent;
// X is truncated to a whole number.
TEST_F(PointEntry, TypedXIsTheWholeNumberItsTextSpells)
{
    const std::pair<const char*, int> accepted[] = { { "12.9", 62 }, { "  12.9 ", 62 }, { "12,9", 62 },
        { "+7", 57 }, { "1e2", 150 }, { "670", 720 }, { "0", 50 } };
    for (auto [text, column] : accepted) {
        doc.pointCount[0] = 0;
        enter(text, "5");
        ASSERT_EQ(doc.pointCount[0], 1) << text;
        EXPECT_EQ(doc.pixelX[0][0], column) << text;
    }
    EXPECT_EQ(window->controlText(IDC_XBOX), "");
    EXPECT_EQ(window->controlText(IDC_YBOX), "");
    EXPECT_EQ(dirty(), 1);
}

TEST_F(PointEntry, RefusalsLeaveTheDocumentAndBothBoxesAsTheyWere)
{
    expectRefusal("", "5", "No Value for X inserted", "Data Error");
    expectRefusal("-1", "5", "The X-value if off the graph!", "Point error");
    expectRefusal("671", "5", "The X-value if off the graph!", "Point error");
    expectRefusal("10", "", "No Value for Y inserted", "Data Error");
    expectRefusal("10", "360.5", "The Y-value if off the graph!", "Point error");
    expectRefusal("10", "-0.1", "The Y-value if off the graph!", "Point error");
    // The X test comes before the Y box is looked at.
    expectRefusal("700", "", "The X-value if off the graph!", "Point error");
    // Typos are refused, not read as the number they start with.
    expectRefusal("1OO", "5O", "The X-value is not a number", "Data Error");
    expectRefusal("abc", "5", "The X-value is not a number", "Data Error");
    expectRefusal(" ", "5", "The X-value is not a number", "Data Error");
    expectRefusal("100", "5O", "The Y-value is not a number", "Data Error");
    expectRefusal("100", "1.000,5", "The Y-value is not a number", "Data Error");
    expectRefusal("100", "1,5,0", "The Y-value is not a number", "Data Error");
    expectRefusal("100", "1e", "The Y-value is not a number", "Data Error");
    EXPECT_EQ(messages()[0].style & (wxICON_EXCLAMATION | wxICON_QUESTION | wxICON_ERROR), 0);
}

TEST_F(PointEntry, ANonAsciiCharacterIsNoPartOfANumberAndStaysInTheBox)
{
    dialogs().expectMessage();
    enter("5\u20ac", "7");
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(window->controlText(IDC_XBOX), "5\x80");
}

TEST_F(PointEntry, YWithoutARangeIsAHeightAboveTheBaseline)
{
    enter("10", "360");
    EXPECT_EQ(doc.pixelY[0][0], 18.0f);
    enter("20", "1e2");
    EXPECT_EQ(doc.valueY[0][1], 100.0f);
    EXPECT_EQ(doc.pixelY[0][1], 278.0f);
    // A German user's decimal comma.
    enter("30", " 17,5 ");
    EXPECT_EQ(doc.valueY[0][2], 17.5f);
}

TEST_F(PointEntry, YWithARangeIsCheckedAgainstIt)
{
    setRange0To100();
    enter("10", "100");
    EXPECT_EQ(static_cast<int>(doc.pixelY[0][0]), 18);
    enter("20", "50");
    EXPECT_EQ(doc.pixelY[0][1], 198.0f);
    expectRefusal("30", "100.01", "The Y-value if off the graph!", "Point error");
    // An axis running downwards (maximum below minimum) takes what it shows,
    // as a click on it does.
    doc.yMin = 100;
    doc.yMax = 0;
    doc.yScale = -3.6f;
    enter("40", "25");
    EXPECT_NEAR(doc.pixelY[0][2], 108, 1e-3);
    expectRefusal("50", "-1", "The Y-value if off the graph!", "Point error");
}

TEST_F(PointEntry, AValueNoFloatCanHoldIsRefusedNotStored)
{
    // A Y range so wide that a clicked row has no float value.
    doc.yRangeSet = 1;
    doc.yMin = -3e38f;
    doc.yMax = 3e38f;
    doc.yScale = 1e-37f;
    asOpened();
    dialogs().expectMessage();
    leftClick(300, 19);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "The Y-value if off the graph!");
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(dirty(), 0);

    // Values that each fit, but whose sum for the mean would not: refused
    // typed and clicked, and the curve keeps what it had.
    doc.yMin = 0;
    doc.yMax = 3.4e38f;
    doc.yScale = static_cast<float>(360 / 3.4e38);
    enter("10", "3e38");
    ASSERT_EQ(doc.pointCount[0], 1);
    const char* refusal = "The values of Curve No.1 would add up to more than the program can hold, so the "
                          "point was not added.";
    expectRefusal("20", "3e38", refusal + 0, "Point error");
    EXPECT_EQ(messages()[0].style & wxICON_EXCLAMATION, wxICON_EXCLAMATION);
    messages().clear();
    dialogs().expectMessage();
    leftClick(300, 19);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, refusal);
    EXPECT_EQ(doc.pointCount[0], 1);
    enter("30", "3e37");
    EXPECT_EQ(doc.pointCount[0], 2);

    // A range of zero, as old files hold it, gives no value a row: typed
    // and clicked points are refused with why.
    doc.yMin = doc.yMax = 5;
    doc.yScale = 0;
    expectRefusal("40", "5", kYRangeUnusable, "Point error");
    messages().clear();
    dialogs().expectMessage();
    leftClick(300, 200);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, kYRangeUnusable);
    EXPECT_EQ(doc.pointCount[0], 2);
}

TEST_F(PointEntry, TypedPointsAreSortedWithEqualColumnsInEntryOrder)
{
    enter("300", "1");
    enter("100", "2");
    enter("300", "3");
    EXPECT_EQ(doc.pixelX[0][0], 150);
    EXPECT_EQ(doc.pixelX[0][1], 350);
    EXPECT_EQ(doc.valueY[0][1], 1.0f);
    EXPECT_EQ(doc.valueY[0][2], 3.0f);
}

TEST_F(PointEntry, EnterInAnEntryBoxPressesNextPoint)
{
    type(IDC_XBOX, "40");
    type(IDC_YBOX, "40");
    wxCommandEvent enterKey(wxEVT_TEXT_ENTER, IDC_YBOX);
    window->control(IDC_YBOX)->GetEventHandler()->ProcessEvent(enterKey);
    EXPECT_EQ(doc.pointCount[0], 1);
}

TEST_F(PointEntry, NextPointBringsTheTogglePairsInLineWithTheOptions)
{
    doc.connectPoints = 1; // as the Basics dialog leaves it
    EXPECT_TRUE(shown(IDC_CONNECT));
    enter("10", "10");
    EXPECT_FALSE(shown(IDC_CONNECT));
    EXPECT_TRUE(shown(IDC_DISCONNECT));
    EXPECT_TRUE(shown(IDC_LARGEPOINTS));
    EXPECT_TRUE(shown(IDC_LABELPOINTS));
    EXPECT_FALSE(shown(IDC_SHOWERRORBARS));
    EXPECT_FALSE(shown(IDC_HIDEERRORBARS));
}

TEST_F(PointEntry, ClicksInsideThePlotAreAcceptedAtItsEdges)
{
    leftClick(50, 19);
    leftClick(700, 380);
    leftClick(300, 379);
    ASSERT_EQ(doc.pointCount[0], 3);
    EXPECT_EQ(doc.pixelX[0][0], 50);
    EXPECT_EQ(doc.valueY[0][0], 359.0f);
    EXPECT_EQ(doc.pixelX[0][1], 300);
    EXPECT_EQ(doc.valueY[0][1], -1.0f);
    EXPECT_EQ(doc.pixelX[0][2], 700);
    EXPECT_EQ(doc.valueY[0][2], -2.0f);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(PointEntry, ClicksOutsideThePlotAreRefusedXTestFirst)
{
    const std::pair<wxPoint, const char*> refused[] = {
        { { 49, 200 }, "The X-value if off the graph!" },
        { { 701, 200 }, "The X-value if off the graph!" },
        { { 10, 445 }, "The X-value if off the graph!" },
        { { 300, 381 }, "The Y-value if off the graph!" },
        { { 300, 18 }, "The Y-value if off the graph!" },
    };
    for (auto [at, text] : refused) {
        messages().clear();
        dialogs().expectMessage();
        leftClick(at.x, at.y);
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0].text, text);
        EXPECT_EQ(messages()[0].caption, "Point error");
    }
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(dirty(), 0);
}

TEST_F(PointEntry, ClickWithARangeReadsTheValueBack)
{
    setRange0To100();
    leftClick(200, 198);
    EXPECT_EQ(doc.valueY[0][0], 50.0f);
}

TEST_F(PointEntry, ClicksInsertAfterPointsOfSmallerOrEqualColumn)
{
    leftClick(300, 100);
    leftClick(100, 110);
    leftClick(300, 120);
    EXPECT_EQ(doc.pixelX[0][0], 100);
    EXPECT_EQ(doc.pixelY[0][1], 100.0f);
    EXPECT_EQ(doc.pixelY[0][2], 120.0f);
}

TEST_F(PointEntry, AFullCurveRefusesBothWaysButOtherCurvesStillAccept)
{
    click(IDC_CURVE2);
    doc.pointCount[1] = kMaxPoints;
    type(IDC_XBOX, "10");
    type(IDC_YBOX, "10");
    dialogs().expectMessage();
    click(IDC_NEXTPOINT);
    dialogs().expectMessage();
    leftClick(300, 200);
    ASSERT_EQ(messages().size(), 2u);
    for (const auto& m : messages()) {
        EXPECT_EQ(m.text, "You already have the mzximum number of points (250) in Curve No.2");
        EXPECT_EQ(m.caption, "Curve Overflow");
        EXPECT_TRUE(m.style & wxICON_EXCLAMATION);
    }
    EXPECT_EQ(doc.pointCount[1], kMaxPoints);
    EXPECT_EQ(window->controlText(IDC_XBOX), "10");

    click(IDC_CURVE1);
    click(IDC_NEXTPOINT);
    EXPECT_EQ(doc.pointCount[0], 1);
}

class RightClick : public WindowTest {
protected:
    void point(int c, int x, float y)
    {
        int& n = doc.pointCount[c];
        doc.pixelX[c][n] = x;
        doc.pixelY[c][n] = y;
        doc.valueY[c][n] = 378 - y;
        ++n;
    }
};

// The point nearest the click within 4 pixels both ways goes, the row
// compared with the stored fraction; the lower slot when two are as near.
TEST_F(RightClick, DeletesTheNearestPointWithinFourPixelsInBothDirections)
{
    const struct {
        std::vector<wxPoint> points; // a row of 198 stands for 198.4
        wxPoint at;
        int left; // the column of the point left, or 0 when none is
    } cases[] = {
        { { { 300, 200 } }, { 296, 196 }, 0 },
        { { { 300, 200 } }, { 304, 204 }, 0 },
        { { { 300, 200 } }, { 300, 200 }, 0 },
        { { { 300, 200 } }, { 305, 200 }, 300 },
        { { { 300, 200 } }, { 300, 195 }, 300 },
        { { { 300, 198 } }, { 300, 202 }, 0 },
        { { { 300, 198 } }, { 300, 194 }, 300 },
        { { { 300, 198 } }, { 300, 203 }, 300 },
        { { { 300, 200 }, { 303, 200 } }, { 302, 200 }, 300 },
        { { { 299, 200 }, { 303, 200 } }, { 301, 200 }, 303 },
    };
    for (const auto& c : cases) {
        doc.pointCount[0] = 0;
        for (wxPoint p : c.points)
            point(0, p.x, p.y == 198 ? 198.4f : static_cast<float>(p.y));
        rightClick(c.at.x, c.at.y);
        ASSERT_EQ(doc.pointCount[0], c.left ? 1 : 0) << c.at.x << "," << c.at.y;
        if (c.left) {
            EXPECT_EQ(doc.pixelX[0][0], c.left) << c.at.x << "," << c.at.y;
        }
    }
}

TEST_F(RightClick, DeletesOnlyTheLowerSlotOfTheCurrentCurve)
{
    point(0, 300, 200);
    point(0, 301, 200);
    point(0, 400, 100);
    point(1, 300, 200);
    rightClick(300, 200);
    ASSERT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(doc.pixelX[0][0], 301);
    EXPECT_EQ(doc.pixelX[0][1], 400);
    EXPECT_EQ(doc.pointCount[1], 1);

    click(IDC_CURVE3);
    rightClick(301, 200);
    EXPECT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(doc.pointCount[1], 1);
}

// Only a right click that changed something marks the graph unsaved or
// leaves a step to undo.
TEST_F(RightClick, MarksTheGraphChangedOnlyWhenItChangedSomething)
{
    const struct {
        wxPoint at;
        int placing;
        int dirty;
    } cases[] = {
        { { 500, 300 }, 0, 0 }, // empty plot
        { { 305, 200 }, 0, 0 }, // beside the point
        { { 300, 200 }, 0, 1 }, // on it: deleted
        { { 400, 100 }, 1, 1 }, // the caption box placed
    };
    for (const auto& c : cases) {
        doc.pointCount[0] = 0;
        point(0, 300, 200);
        doc.placingCaption = c.placing;
        asOpened(); // as if this graph had just been opened
        rightClick(c.at.x, c.at.y);
        EXPECT_EQ(dirty(), c.dirty) << c.at.x << "," << c.at.y;
        EXPECT_EQ(menuEnabled(CM_EDITUNDO), c.dirty == 1) << c.at.x << "," << c.at.y;
    }
    // Closing a graph nobody changed asks nothing.
    asOpened();
    rightClick(500, 300);
    EXPECT_EQ(dirty(), 0);
    command(CM_EXIT);
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(wxTheApp->IsScheduledForDestruction(window));
    window = nullptr;
}

TEST_F(RightClick, PlacingTheCaptionBoxMovesItAndLeavesThePoint)
{
    point(0, 300, 200);
    doc.placingCaption = 1;
    rightClick(300, 200);
    EXPECT_EQ(doc.captionBoxX, 300);
    EXPECT_EQ(doc.captionBoxY, 200);
    EXPECT_EQ(doc.captionsPlaced, 1);
    EXPECT_EQ(doc.placingCaption, 0);
    EXPECT_EQ(doc.pointCount[0], 1);
    // The box's place is saved with the graph.
    EXPECT_EQ(dirty(), 1);

    rightClick(300, 200);
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(dirty(), 1);
}

TEST_F(RightClick, LeftClickStillAddsWhileTheBoxWaitsToBePlaced)
{
    doc.placingCaption = 1;
    leftClick(200, 200);
    EXPECT_EQ(doc.pointCount[0], 1);
    EXPECT_EQ(doc.placingCaption, 1);
}
} // namespace

namespace {
// Reads one pixel of what the window last painted.
wxColour framePixel(TWndw* window, int x, int y)
{
    cairo_surface_t* frame = window->lastFrame();
    if (!frame)
        return wxColour();
    cairo_surface_flush(frame);
    const unsigned char* data = cairo_image_surface_get_data(frame);
    const int stride = cairo_image_surface_get_stride(frame);
    const auto pixel = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    return wxColour((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int redPixelsAround(TWndw* window, int x, int y, int reach)
{
    int red = 0;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (framePixel(window, x + dx, y + dy) == wxColour(255, 0, 0))
                ++red;
    return red;
}

TEST_F(PointEntry, AnAcceptedPointAppearsOnScreenWhereTheRulesPutIt)
{
    window->client()->Update();
    ASSERT_NE(window->lastFrame(), nullptr);
    EXPECT_EQ(redPixelsAround(window, 150, 278, 4), 0);

    enter("100", "100"); // column 150, row 278
    window->client()->Update();
    pump();
    window->client()->Update();
    EXPECT_GT(redPixelsAround(window, 150, 278, 2), 4);
    // The marker is small: nothing red three pixels out.
    EXPECT_EQ(redPixelsAround(window, 150, 278, 6) - redPixelsAround(window, 150, 278, 2), 0);
    // Its centre is white-filled, the plot around it white.
    EXPECT_EQ(framePixel(window, 150, 278), wxColour(255, 255, 255));

    leftClick(400, 100);
    window->client()->Update();
    EXPECT_GT(redPixelsAround(window, 400, 100, 2), 4);
}
} // namespace

// The Points window: the rows in the user's notation, a Y and an X retyped
// by the rules of Next Point, a row deleted, rows copied as cells for a
// spreadsheet and pasted back, each a step of Undo, and the table following
// the main window.
TEST_F(PointEntry, ThePointsWindowEditsDeletesAndCopiesRowsInTheUsersNotation)
{
    // A German desktop, as the session's environment tells the program; the
    // process itself stays in the C locale, as the toolkit leaves it.
    if (const locale_t german = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(0)))
        freelocale(german);
    else
        GTEST_SKIP() << "no German locale";
    struct GermanDesktop {
        const char* old = std::getenv("LC_ALL");
        std::string saved = old ? old : "";
        GermanDesktop() { ::setenv("LC_ALL", "de_DE.UTF-8", 1); }
        ~GermanDesktop() { old ? ::setenv("LC_ALL", saved.c_str(), 1) : ::unsetenv("LC_ALL"); }
    } desktop;
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    setYRange(doc, 0, 100);
    setXLabels(doc, 3, 1);
    addPoint(doc, 0, 10, 71.5f);
    addPoint(doc, 0, 300, 30);
    addPoint(doc, 1, 5, 8.25f);
    doc.currentCurve = 0;
    asOpened();
    command(CM_POINTS);
    pump();
    PointsWindow* points = window->pointsWindow();
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->GetTitle(), "Points");
    auto* model = static_cast<wxDataViewVirtualListModel*>(points->table()->GetModel());
    const auto cell = [&](int row, unsigned column) {
        wxVariant value;
        model->GetValue(value, model->GetItem(row), column);
        if (column == PointsWindow::curveColumn) {
            wxDataViewIconText icon;
            icon << value;
            return icon.GetText();
        }
        return value.GetString();
    };
    const auto send = [&](int key, int modifiers = wxMOD_NONE) {
        wxKeyEvent event(wxEVT_CHAR_HOOK);
        event.m_keyCode = key;
        event.m_controlDown = (modifiers & wxMOD_CONTROL) != 0;
        event.SetEventObject(points->table());
        points->table()->GetEventHandler()->ProcessEvent(event);
        pump();
    };
    EXPECT_EQ(points->selectedPoints(), (std::vector<PointRef> { { 0, 0 }, { 0, 1 } }));
    EXPECT_EQ(window->markedPoints(), points->selectedPoints());
    const struct {
        int row;
        unsigned column;
        const char* text;
    } shownCells[] = { { 0, PointsWindow::curveColumn, "1" }, { 0, PointsWindow::xColumn, "10" },
        { 0, PointsWindow::labelColumn, "Week 1" }, { 0, PointsWindow::yColumn, "71,5" },
        { 1, PointsWindow::labelColumn, "Week 2" }, { 2, PointsWindow::curveColumn, "2" },
        { 2, PointsWindow::yColumn, "8,25" }, { 3, PointsWindow::labelColumn, "New point" } };
    for (const auto& c : shownCells)
        EXPECT_EQ(cell(c.row, c.column), c.text) << c.row << "," << c.column;

    const struct {
        int row;
        unsigned column;
        const char* typed;
        const char* refusal; // or empty when the edit is taken
        int pixelX0, pixelX1; // curve 1 afterwards
        float value0, value1;
    } edits[] = {
        { 0, PointsWindow::yColumn, "17,5", "", 60, 350, 17.5f, 30 },
        { 0, PointsWindow::yColumn, "17.5x", "The Y-value is not a number", 60, 350, 17.5f, 30 },
        { 0, PointsWindow::yColumn, "101", "The Y-value if off the graph!", 60, 350, 17.5f, 30 },
        { 0, PointsWindow::xColumn, "", "No Value for X inserted", 60, 350, 17.5f, 30 },
        { 0, PointsWindow::xColumn, "400", "", 350, 450, 30, 17.5f }, // moves after the other point
        { 3, PointsWindow::yColumn, "5", "", 350, 450, 30, 17.5f }, // the new row waits for its X
        { 3, PointsWindow::xColumn, "0", "", 50, 350, 5, 30 },
    };
    for (const auto& e : edits) {
        messages().clear();
        if (*e.refusal)
            dialogs().expectMessage();
        model->ChangeValue(wxVariant(wxString::FromUTF8(e.typed)), model->GetItem(e.row), e.column);
        pump();
        EXPECT_EQ(messages().empty() ? "" : messages()[0].text, e.refusal) << e.typed;
        EXPECT_EQ(doc.pixelX[0][0], e.pixelX0) << e.typed;
        EXPECT_EQ(doc.pixelX[0][1], e.pixelX1) << e.typed;
        EXPECT_EQ(doc.valueY[0][0], e.value0) << e.typed;
        EXPECT_EQ(doc.valueY[0][1], e.value1) << e.typed;
    }
    EXPECT_EQ(window->session().undoName(), "Insert Point");
    EXPECT_EQ(doc.pointCount[0], 3);

    // Delete takes the selected row out; Undo brings it back.
    points->selectPoints({ { 0, 1 } });
    send(WXK_DELETE);
    EXPECT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(window->session().undoName(), "Delete Point");
    EXPECT_EQ(points->selectedPoints(), (std::vector<PointRef> { { 0, 1 } })); // the row that moved up

    // Copy: cells for a spreadsheet, in the user's notation, no picture.
    send('A', wxMOD_CONTROL);
    send('C', wxMOD_CONTROL);
    const std::vector<std::string> types = clipboardTypes();
    EXPECT_NE(std::find(types.begin(), types.end(), "text/html"), types.end());
    EXPECT_EQ(std::find(types.begin(), types.end(), "image/png"), types.end());
    EXPECT_EQ(clipboardText().value_or(""), "1\t0\t5\n1\t400\t17,5\n2\t5\t8,25\n");
    EXPECT_NE(clipboardData("text/html").find("<td>17,5</td>"), std::string::npos);
    send('V', wxMOD_CONTROL);
    EXPECT_EQ(doc.pointCount[0], 4);
    EXPECT_EQ(doc.pointCount[1], 2);
    EXPECT_EQ(window->session().undoName(), "Paste");
    EXPECT_EQ(points->selectedPoints().size(), 3u); // what was pasted
    EXPECT_EQ(window->markedPoints(), points->selectedPoints());

    // The table follows Undo and a click in the graph, and closes with Escape.
    send('Z', wxMOD_CONTROL);
    EXPECT_EQ(cell(4, PointsWindow::labelColumn), "New point");
    leftClick(600, 200);
    pump();
    EXPECT_EQ(cell(5, PointsWindow::labelColumn), "New point");
    send(WXK_ESCAPE);
    EXPECT_FALSE(points->IsShown());
    EXPECT_TRUE(window->markedPoints().empty());
}
