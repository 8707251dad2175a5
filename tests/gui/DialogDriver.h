#pragma once
// Drives the real template dialogs inside their own modal loop: the dialog's
// set-up runs as it would for a user, then the script fills controls and
// presses buttons, and the dialog's own handlers do the rest.

#include "framework/TDialog.h"
#include "tests/gui/GuiHarness.h"

#include <functional>
#include <string>
#include <vector>

using DialogSteps = std::function<void(TDialog&)>;

// Expects the next modal dialog to be a template dialog and runs `steps` in
// its modal loop. A dialog still open when the steps end fails the test and
// is cancelled, so a broken script can never hang the run.
void expectDialog(DialogScript& script, DialogSteps steps);

// Presses a button as a click would (OK is 1, Cancel 2, Help 9).
void press(TDialog& dialog, int id);
// Replaces an edit's text as typing would: characters beyond the edit's
// limit are not taken.
void typeInto(TDialog& dialog, int id, const std::string& text);
// Ticks or clears a check box as a click would.
void tick(TDialog& dialog, int id, bool on = true);

// Checks message box `index` of those shown: its text and caption, owned by
// the window or dialog titled `owner`, with an OK button only and no icon,
// as every input error is shown.
void expectInputError(const std::vector<ShownMessage>& messages, std::size_t index, const std::string& text,
    const std::string& caption, const std::string& owner);
