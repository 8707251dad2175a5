#include "resources/Menu.h"

#include "resources/CommandIds.h"

namespace {
constexpr MenuItemDef separator { nullptr, 0 };

constexpr MenuItemDef fileItems[] = {
    { "&New Graph", CM_NEWGRAPH },
    { "&Open", CM_OPEN },
    { "&Save", CM_SAVE },
    { "Save &As", CM_SAVEAS },
    { "&Export Picture...", CM_EXPORTPICTURE },
    separator,
    { "P&rinter Setup", CM_PRINTERSETUP },
    { "&Print", CM_PRINT },
    separator,
    { "E&xit", CM_EXIT },
};

constexpr MenuItemDef editItems[] = {
    { "&Undo", CM_EDITUNDO },
    { "&Redo", CM_EDITREDO },
    separator,
    { "Cu&t", CM_EDITCUT },
    { "&Copy", CM_EDITCOPY },
    { "&Paste", CM_EDITPASTE },
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
    { "&General Help ", CM_GENERALHELP },
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

std::span<const MenuPopupDef> mainMenu()
{
    return popups;
}
