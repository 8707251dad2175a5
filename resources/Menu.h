#pragma once
// Menu resource 1: popups, item texts and command ids. A null text is a
// separator.

#include <span>

struct MenuItemDef {
    const char* text;
    int id;
    const char* shortcut = nullptr; // shown after the text, as the toolkit spells it
};

struct MenuPopupDef {
    const char* title;
    std::span<const MenuItemDef> items;
};

std::span<const MenuPopupDef> mainMenu();
