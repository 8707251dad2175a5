// Pictures of the dialogs for a look by eye, taken only when
// PLOTWELL_SCREENSHOTS names a folder:
//   PLOTWELL_SCREENSHOTS=/tmp/shots scripts/with-display build/gui_tests --gtest_filter='DialogLook*'
// Each dialog is shown with typical texts filled in and saved as
// dialog<template>.png; graph.png is the main window after a New Graph run
// through the dialogs and three points; window-after-error.png the Y-Scale
// dialog over the window once its error box has closed (run it under a
// window manager: scripts/with-wm). On a virtual display with no window
// manager a window owned by another stays unpainted, so the dialogs are
// shown unowned.

#include "framework/TDialog.h"
#include "resources/CommandIds.h"
#include "resources/DialogTemplates.h"
#include "tests/gui/DialogDriver.h"

#include <cstdlib>
#include <string>
#include <wx/app.h>
#include <wx/timer.h>
#include <wx/utils.h>

namespace {
using DialogLook = WindowTest;

void settle()
{
    for (int i = 0; i < 20; ++i) {
        wxTheApp->Yield(true);
        wxMilliSleep(20);
    }
}

// Saves the top left w x h pixels of the screen.
void saveScreen(const char* folder, const std::string& name, int w, int h)
{
    const std::string command = "xwd -root -silent | convert xwd:- -crop " + std::to_string(w) + "x"
        + std::to_string(h) + "+0+0 png:" + folder + "/" + name + ".png";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

void fillTypicalTexts(TDialog& d)
{
    switch (d.templateNumber()) {
    case 1:
        d.setText(104, "Monthly rainfall 1999 at Kew Gardens");
        d.setText(101, "12");
        d.setText(107, "30");
        d.setChecked(105, true);
        d.setChecked(110, true);
        break;
    case 2:
        d.SetTitle("Labels for X-Axiz");
        d.setText(101, "Enter the first X-Axis Label");
        d.setText(102, "20");
        d.setText(103, "WWWWWWWWWWW");
        break;
    case 5:
        d.setText(101, "-12345.6789");
        d.setText(102, "90");
        d.setText(105, "12.345678");
        break;
    case 8:
        d.setText(102, "-12.5e1");
        break;
    case 10:
        // Every row shows here; the widest label in the first and last rows.
        d.setText(141, "Monthly rainfall 1999 at Kew Gardens");
        d.setText(102, "WWWWWWWWWWW");
        d.setText(123, "Feb");
        d.setText(125, "Q1/99 (est)");
        d.setText(140, "WWWWWWWWWWW");
        break;
    default:
        break;
    }
}

TEST_F(DialogLook, Screenshots)
{
    const char* folder = std::getenv("PLOTWELL_SCREENSHOTS");
    if (!folder)
        GTEST_SKIP() << "set PLOTWELL_SCREENSHOTS to a folder to take the pictures";
    for (int n = 1; n <= 11; ++n) {
        if (!dialogTemplate(n))
            continue;
        TDialog dialog(nullptr, n);
        dialog.Move(0, 0);
        fillTypicalTexts(dialog);
        dialog.Show();
        settle();
        saveScreen(folder, "dialog" + std::to_string(n), dialog.GetSize().x, dialog.GetSize().y);
        dialog.Hide();
        settle();
    }
}

TEST_F(DialogLook, GraphAfterNewGraph)
{
    const char* folder = std::getenv("PLOTWELL_SCREENSHOTS");
    if (!folder)
        GTEST_SKIP();
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 104, "Rainfall 1999");
        typeInto(d, 101, "3");
        typeInto(d, 107, "4");
        tick(d, 105);
        tick(d, 110);
        press(d, 1);
    });
    expectDialog(dialogs(), [](TDialog& d) {
        for (const char* m : { "Jan", "Feb", "Mar" }) {
            typeInto(d, 103, m);
            press(d, 1);
        }
    });
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 101, "0");
        typeInto(d, 102, "90");
        typeInto(d, 105, "10");
        press(d, 1);
    });
    command(CM_NEWGRAPH);
    for (auto [x, y] : { std::pair { "100", "30" }, { "300", "60" }, { "500", "45" } }) {
        type(IDC_XBOX, x);
        type(IDC_YBOX, y);
        click(IDC_NEXTPOINT);
    }
    pump();
    settle();
    saveScreen(folder, "graph", 800, 560);
}

TEST_F(DialogLook, YScaleAfterItsErrorBoxCloses)
{
    const char* folder = std::getenv("PLOTWELL_SCREENSHOTS");
    if (!folder)
        GTEST_SKIP();
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 101, "1");
        typeInto(d, 107, "1");
        press(d, 1);
    });
    expectDialog(dialogs(), [](TDialog& d) {
        typeInto(d, 103, "Jan");
        press(d, 1);
    });
    // Driven from timers, so the dialog's own loop paints it between steps.
    wxTimer later;
    dialogs().expect([this, folder, &later](wxDialog* dialog) {
        auto& d = dynamic_cast<TDialog&>(*dialog);
        later.Bind(wxEVT_TIMER, [this, folder, &d, &later](wxTimerEvent&) {
            if (d.text(101).empty()) {
                typeInto(d, 101, "5O");
                typeInto(d, 102, "90");
                // The error box really shown, then closed as OK closes it.
                dialogs().expect([](wxDialog* box) {
                    box->CallAfter([box] {
                        settle();
                        box->EndModal(wxID_OK);
                    });
                    return static_cast<int>(wxID_NONE);
                });
                press(d, 1);
                later.StartOnce(800);
                return;
            }
            saveScreen(folder, "window-after-error", 1024, 700);
            press(d, 2);
        });
        later.StartOnce(800);
        return static_cast<int>(wxID_NONE);
    });
    command(CM_NEWGRAPH);
}
} // namespace
