#pragma once
// Builds child controls from the data tables in resources/.

#include "resources/MainControls.h"

#include <span>
#include <string>

class wxWindow;

// Creates every control visible, in table order (which is also Tab order).
void createControls(wxWindow* parent, std::span<const ControlDef> controls);
// Puts a control's mouse input above the controls it overlaps: a control
// shown later otherwise takes the clicks meant for one drawn over it.
void raiseInput(wxWindow* control);

// What the window and the dialogs read and write of a control, by the same
// rules: an edit box's text, any other control's label, in the code page;
// a radio button's or check box's tick. A null control reads as empty.
std::string controlText(const wxWindow* control);
void setControlText(wxWindow* control, const std::string& text);
bool controlChecked(const wxWindow* control);
void setControlChecked(wxWindow* control, bool on);

// Puts the Tab order of the window's children in the order they are seen:
// row by row from the top (controls whose tops lie within a few pixels of
// each other share a row), each row from the left.
void orderTabsAsShown(wxWindow* parent);
// Focus rings that stand out against the window's fixed grey (once).
void strengthenFocusRings();
