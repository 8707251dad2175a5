// Pictures of the dialogs for a look by eye, taken only when
// PLOTWELL_SCREENSHOTS names a folder:
//   PLOTWELL_SCREENSHOTS=/tmp/shots scripts/with-display build/gui_tests --gtest_filter='DialogLook*'
// Each dialog is shown with typical texts filled in and the whole screen is
// saved as dialog<template>.png. On a virtual display with no window manager
// a window owned by another stays unpainted, so these are shown unowned.

#include "framework/TDialog.h"
#include "resources/DialogTemplates.h"
#include "tests/gui/GuiHarness.h"

#include <cstdlib>
#include <string>
#include <wx/app.h>
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
        const std::string command = "xwd -root -silent | convert xwd:- -crop "
            + std::to_string(dialog.GetSize().x) + "x" + std::to_string(dialog.GetSize().y) + "+0+0 png:"
            + folder + "/dialog" + std::to_string(n) + ".png";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        dialog.Hide();
        settle();
    }
}
} // namespace
