#pragma once
// Builds menus and child controls from the data tables in resources/.

#include "resources/MainControls.h"
#include "resources/Menu.h"

#include <span>

class wxMenuBar;
class wxWindow;

wxMenuBar* buildMenuBar(std::span<const MenuPopupDef> popups);
// Creates every control visible, in table order (which is also Tab order).
void createControls(wxWindow* parent, std::span<const ControlDef> controls);
// Puts a control's mouse input above the controls it overlaps: a control
// shown later otherwise takes the clicks meant for one drawn over it.
void raiseInput(wxWindow* control);
