#pragma once
// The main window's child controls, in creation order, at fixed client-area
// pixel positions.

#include <span>

enum class ControlKind { Button, DefaultButton, Edit, Radio, FirstRadio, CheckBox };

struct ControlDef {
    int id;
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

std::span<const ControlDef> mainControls();
