#include "resources/CommandIds.h"
#include "tests/gui/GuiHarness.h"

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
        for (int i = 0; i < 20 && wxWindow::FindFocus() != window->control(id); ++i) {
            wxMilliSleep(10);
            pump();
        }
        return wxWindow::FindFocus() == window->control(id);
    }
};

TEST_F(Keyboard, TabMovesFromTheXBoxToTheYBoxAndEnterPressesNextPoint)
{
    if (!focusOn(IDC_XBOX))
        GTEST_SKIP() << "this display gives no keyboard focus";
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
    for (int i = 0; i < 20 && wxWindow::FindFocus() != window->control(IDC_XBOX); ++i) {
        wxMilliSleep(10);
        pump();
    }
    if (!wxWindow::FindFocus())
        GTEST_SKIP() << "this display gives no keyboard focus";
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
} // namespace
