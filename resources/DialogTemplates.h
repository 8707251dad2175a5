#pragma once
// Dialog templates as data: caption, size and font, and each control with its
// position and size in dialog units. framework/TDialog turns a template into
// a real dialog.

#include <span>

enum class DialogControlKind {
    Static,
    Edit,
    Button,
    DefaultButton, // the button Enter presses
    CheckBoxLeft, // check box with its text on the left
    Icon, // icon resource `icon`
    Group,
};

// Style flags of a control; a static is left-aligned unless told otherwise.
enum DialogControlStyle : unsigned {
    DS_LEFT = 0x0,
    DS_RIGHT = 0x1,
    DS_CENTRE = 0x2,
    DS_SUNKEN = 0x4,
    DS_BORDER = 0x8,
    DS_HIDDEN = 0x10,
    DS_ELLIPSIS = 0x20, // a text too long is shortened in its middle
};

struct DialogControlDef {
    int id;
    DialogControlKind kind;
    const char* text;
    int x, y, width, height;
    unsigned style = DS_LEFT;
    // Edits: the text limit n; the box accepts n - 1 characters.
    int limit = 0;
    // Icon statics: the icon resource number.
    int icon = 0;
};

struct DialogTemplate {
    int number;
    const char* caption; // empty when the dialog class sets its own
    int width, height; // client area, dialog units
    const char* fontName;
    int pointSize;
    std::span<const DialogControlDef> controls; // creation order; Tab follows the layout
    int help = 0; // the help text its Help button opens
};

// The template with this number, or null when there is none.
const DialogTemplate* dialogTemplate(int number);
