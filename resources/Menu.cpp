#include "resources/Menu.h"

#include "resources/CommandIds.h"

namespace {
constexpr MenuItemDef separator { nullptr, 0 };

constexpr MenuItemDef fileItems[] = {
    { "&New Graph", CM_NEWGRAPH, "Ctrl+N" },
    { "&Open", CM_OPEN, "Ctrl+O" },
    { "&Save", CM_SAVE, "Ctrl+S" },
    { "Save &As", CM_SAVEAS, "Ctrl+Shift+S" },
    { "&Export Picture...", CM_EXPORTPICTURE },
    separator,
    { "P&rinter Setup", CM_PRINTERSETUP },
    { "&Print", CM_PRINT, "Ctrl+P" },
    separator,
    { "E&xit", CM_EXIT, "Ctrl+Q" },
};

// Ctrl+Shift+Z redoes too; the window takes it with the other Edit keys.
constexpr MenuItemDef editItems[] = {
    { "&Undo", CM_EDITUNDO, "Ctrl+Z" },
    { "&Redo", CM_EDITREDO, "Ctrl+Y" },
    separator,
    { "Cu&t", CM_EDITCUT, "Ctrl+X" },
    { "&Copy", CM_EDITCOPY, "Ctrl+C" },
    { "&Paste", CM_EDITPASTE, "Ctrl+V" },
};

constexpr MenuItemDef extrasItems[] = {
    { "Add/Change  Graph Title", CM_GRAPHTITLE },
    { "Add/Move  Captions", CM_CAPTIONS },
    separator,
    { "Extend &X-Axis", CM_EXTENDX },
    { "Extend &Y-Axis", CM_EXTENDY },
    separator,
    { "&Edit Labels", CM_EDITLABELS },
};

constexpr MenuItemDef helpItems[] = {
    { "&General Help ", CM_GENERALHELP, "F1" },
    separator,
    { "&Adding Points", CM_ADDINGPOINTS },
    { "&Deleting Points", CM_DELETINGPOINTS },
    { "A&bout", CM_ABOUT },
};

constexpr MenuPopupDef popups[] = {
    { "&File", fileItems },
    { "&Edit", editItems },
    { "E&xtras", extrasItems },
    { "&Help", helpItems },
};
} // namespace

std::span<const MenuPopupDef> mainMenu() { return popups; }
