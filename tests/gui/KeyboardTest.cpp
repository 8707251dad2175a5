#include "drawing/RenderFile.h"
#include "framework/Accessible.h"
#include "framework/Clipboard.h"
#include "resources/CommandIds.h"
#include "tests/gui/DialogDriver.h"
#include "tests/gui/GuiHarness.h"
#include "tests/support/GraphSamples.h"
#include "tests/support/SkipOrFail.h"
#include "ui/PlotView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <wx/panel.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/window.h>

namespace {
class Keyboard : public WindowTest {
protected:
    // Real key presses need the window to own the keyboard focus, which a
    // bare virtual display gives only once the window has been raised.
    bool focusOn(int id)
    {
        window->Raise();
        pump();
        window->control(id)->SetFocus();
        return waitUntil([this, id] { return wxWindow::FindFocus() == window->control(id); }, 200);
    }
};

TEST_F(Keyboard, TabMovesFromTheXBoxToTheYBoxAndEnterPressesNextPoint)
{
    if (!focusOn(IDC_XBOX))
        SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
    wxUIActionSimulator keys;
    keys.Text("120");
    keys.Char(WXK_TAB);
    pump();
    EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_YBOX));
    keys.Text("40");
    keys.Char(WXK_RETURN);
    pump();
    ASSERT_EQ(doc.pointCount[0], 1);
    EXPECT_EQ(doc.pixelX[0][0], 170);
    EXPECT_EQ(doc.valueY[0][0], 40.0f);
    EXPECT_EQ(window->controlText(IDC_XBOX), "");
    // The focus is back in the empty X box: the next point follows at once.
    EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_XBOX));
    keys.Text("130");
    keys.Char(WXK_TAB);
    keys.Text("50");
    keys.Char(WXK_RETURN);
    pump();
    ASSERT_EQ(doc.pointCount[0], 2);
    EXPECT_EQ(doc.pixelX[0][1], 180);
}
// The focus starts in the X box; Space on a toggle leaves it on the button
// shown in its place, so Space again switches back.
TEST_F(Keyboard, FocusStartsInTheXBoxAndStaysOnAToggleAcrossSpace)
{
    window->Raise();
    waitUntil([this] { return wxWindow::FindFocus() == window->control(IDC_XBOX); }, 200);
    if (!wxWindow::FindFocus())
        SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
    EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_XBOX));
    ASSERT_TRUE(focusOn(IDC_CONNECT));
    wxUIActionSimulator keys;
    keys.Char(' ');
    pump();
    EXPECT_EQ(doc.connectPoints, 1);
    EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_DISCONNECT));
    keys.Char(' ');
    pump();
    EXPECT_EQ(doc.connectPoints, 0);
    EXPECT_EQ(wxWindow::FindFocus(), window->control(IDC_CONNECT));
}

// The Edit keys reach the graph while the focus is in the X box, as it is
// most of the time: a point deleted by a right click comes back with
// Ctrl+Z and goes again with Ctrl+Y or Ctrl+Shift+Z.
TEST_F(Keyboard, CtrlZUndoesARightClickDeleteAndCtrlYOrCtrlShiftZRedoesIt)
{
    leftClick(300, 200);
    rightClick(301, 201);
    ASSERT_EQ(doc.pointCount[0], 0);
    if (!focusOn(IDC_XBOX))
        SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
    const struct {
        int modifiers;
        char key;
        int points;
    } presses[] = {
        { wxMOD_CONTROL, 'z', 1 },
        { wxMOD_CONTROL, 'y', 0 },
        { wxMOD_CONTROL, 'z', 1 },
        { wxMOD_CONTROL | wxMOD_SHIFT, 'z', 0 },
        { wxMOD_CONTROL, 'z', 1 },
        { wxMOD_CONTROL, 'z', 0 }, // the click that added it
        { wxMOD_CONTROL, 'z', 0 }, // nothing more to undo
        { wxMOD_CONTROL, 'y', 1 },
    };
    wxUIActionSimulator keys;
    for (const auto& p : presses) {
        keys.Char(p.key, p.modifiers);
        pump();
        EXPECT_EQ(doc.pointCount[0], p.points) << p.key << " " << p.modifiers;
        EXPECT_EQ(window->controlText(IDC_XBOX), "");
    }
    EXPECT_EQ(doc.pixelX[0][0], 300);
}

// With the focus in the X box: Ctrl+V adds spreadsheet rows (a header,
// decimal commas) as one step, refuses a paste with a bad row whole and
// names the row, and puts a single value into the box; Ctrl+C copies the
// figure and the rows, or the box's text while some is selected; Ctrl+X
// copies and empties the current curve.
TEST_F(Keyboard, CopyCutAndPasteCarryTheGraphThroughTheClipboard)
{
    if (!focusOn(IDC_XBOX))
        SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
    const struct {
        const char* clip;
        char key;
        int points;
        const char* message;
        const char* xBox;
    } steps[] = {
        { "X\tY\n100\t12,5\n200\t7,25\n", 'v', 2, "", "" },
        { nullptr, 'z', 0, "", "" },
        { nullptr, 'y', 2, "", "" },
        { "300\t1\n900\t5\n", 'v', 2, "Row 2: The X-value if off the graph!\nNothing was pasted.", "" },
        { "41,101", 'v', 2, "", "41,101" }, // one German spreadsheet cell
        { nullptr, 'c', 2, "", "41,101" },
    };
    wxUIActionSimulator keys;
    for (const auto& s : steps) {
        if (s.clip) {
            ASSERT_TRUE(setClipboard({ { "text/plain", s.clip } }));
        }
        messages().clear();
        if (*s.message)
            dialogs().expectMessage();
        keys.Char(s.key, wxMOD_CONTROL);
        pump();
        EXPECT_EQ(doc.pointCount[0], s.points) << s.key;
        EXPECT_EQ(messages().empty() ? "" : messages()[0].text, s.message) << s.key;
        EXPECT_EQ(window->controlText(IDC_XBOX), s.xBox) << s.key;
    }
    EXPECT_EQ(doc.valueY[0][0], 12.5f);

    // The last Ctrl+C copied the graph, in three forms.
    const std::vector<std::string> types = clipboardTypes();
    for (const char* type : { "image/png", "image/svg+xml", "text/plain" })
        EXPECT_NE(std::find(types.begin(), types.end(), type), types.end()) << type;
    RenderLayout figure;
    figure.figure = true;
    figure.scale = 2 * std::max(1, static_cast<int>(std::lround(window->client()->GetContentScaleFactor())));
    std::string png, error;
    ASSERT_TRUE(renderPicture(doc, figure, PictureFormat::png, png, error)) << error;
    // Byte for byte what gd2 render --figure writes (its own test compares the two).
    EXPECT_TRUE(clipboardData("image/png") == png);
    EXPECT_NE(clipboardData("image/svg+xml").find("<svg"), std::string::npos);
    EXPECT_EQ(clipboardText().value_or(""), "100\t12.5\n200\t7.25\n");

    // Selected text is the box's own to copy; without a selection Ctrl+X
    // cuts the curve.
    static_cast<wxTextCtrl*>(window->control(IDC_XBOX))->SetSelection(-1, -1);
    keys.Char('c', wxMOD_CONTROL);
    pump();
    EXPECT_EQ(clipboardText().value_or(""), "41,101");
    static_cast<wxTextCtrl*>(window->control(IDC_XBOX))->SetSelection(0, 0);
    keys.Char('x', wxMOD_CONTROL);
    pump();
    EXPECT_EQ(doc.pointCount[0], 0);
    EXPECT_EQ(window->controlText(IDC_XBOX), "41,101");
    EXPECT_EQ(clipboardText().value_or(""), "100\t12.5\n200\t7.25\n");
}
} // namespace

// Without a mouse: Shift+Tab from Next Point reaches the plot, which says
// what the graph holds; the arrows step through the current curve's points
// (each one said), Delete takes the one stepped to as one step of Undo; after
// the captions dialog the arrows move the box's outline, Enter places it and
// Escape leaves it where it was.
TEST_F(Keyboard, ThePlotIsReadSteppedThroughAndEditedFromTheKeyboard)
{
    setYRange(doc, 0, 100);
    for (int k = 0; k < 3; ++k)
        addPoint(doc, 0, 10 + 90 * k, 10.0f * (k + 1));
    std::snprintf(doc.captions[0], kCaptionSize, "North");
    asOpened();
    if (!focusOn(IDC_NEXTPOINT))
        SKIP_OR_FAIL_IN_CI("this display gives no keyboard focus");
    wxUIActionSimulator keys;
    keys.Char(WXK_TAB, wxMOD_SHIFT);
    pump();
    PlotView* plot = window->plotView();
    ASSERT_EQ(wxWindow::FindFocus(), plot);
    EXPECT_EQ(accessibleName(plot), "Graph");
    EXPECT_EQ(accessibleDescription(plot),
        "Y axis from 0 to 100. Curve 1, North: 3 points. Mean = 20.00, Wtd-Mean = 20.00.");
    const struct {
        int key, modifiers;
        const char* said; // the plot's name afterwards
        int points;
        int boxX, boxY; // the caption box once placed, or 0
    } steps[] = {
        { WXK_RIGHT, 0, "Curve 1, point 1 of 3, X 10, 10", 3, 0, 0 },
        { WXK_RIGHT, 0, "Curve 1, point 2 of 3, X 100, 20", 3, 0, 0 },
        { WXK_END, 0, "Curve 1, point 3 of 3, X 190, 30", 3, 0, 0 },
        { WXK_DELETE, 0, "Deleted Curve 1, point 3 of 3, X 190, 30. Now Curve 1, point 2 of 2, X 100, 20", 2,
            0, 0 },
        { WXK_HOME, 0, "Curve 1, point 1 of 2, X 10, 10", 2, 0, 0 },
        { CM_CAPTIONS, 0, "Placing the caption box", 2, 0, 0 },
        { WXK_RIGHT, 0, "Placing the caption box", 2, 0, 0 },
        { WXK_DOWN, wxMOD_SHIFT, "Placing the caption box", 2, 0, 0 },
        { WXK_RETURN, 0, "Graph", 2, 481, 45 },
        { CM_CAPTIONS, 0, "Placing the caption box", 2, 481, 45 },
        { WXK_LEFT, 0, "Placing the caption box", 2, 481, 45 },
        { WXK_ESCAPE, 0, "Graph", 2, 481, 45 },
    };
    for (const auto& s : steps) {
        if (s.key == CM_CAPTIONS) {
            expectDialog(dialogs(), [](TDialog& d) { press(d, 1); });
            command(CM_CAPTIONS);
        } else
            keys.Char(s.key, s.modifiers);
        pump();
        SCOPED_TRACE(s.said);
        EXPECT_EQ(wxWindow::FindFocus(), plot);
        EXPECT_EQ(accessibleName(plot), s.said);
        EXPECT_EQ(doc.pointCount[0], s.points);
        EXPECT_EQ(doc.captionsPlaced != 0, s.boxX != 0);
        EXPECT_EQ(doc.captionBoxX, s.boxX);
        EXPECT_EQ(doc.captionBoxY, s.boxY);
    }
    EXPECT_FALSE(doc.placingCaption);
    EXPECT_EQ(window->session().undoName(), "Place Captions");
}
