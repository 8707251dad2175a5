#pragma once
// What a screen reader is told about a control, through the desktop's
// accessibility layer: its name, its description, its role, and news that
// no control shows as text (a point added, a point stepped to).

#include <string>

class wxWindow;

enum class AccessibleRole { alert, image, dialog };

void setAccessibleName(wxWindow* window, const std::string& utf8);
void setAccessibleDescription(wxWindow* window, const std::string& utf8);
void setAccessibleRole(wxWindow* window, AccessibleRole role);
std::string accessibleName(wxWindow* window);
std::string accessibleDescription(wxWindow* window);
// Said by the screen reader as news of the control that has the focus (its
// description changes to it); nothing when no control of ours has it.
void announce(const std::string& utf8);
