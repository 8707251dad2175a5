#pragma once
// The main window's commands, one row each: where the menu shows it and
// under what text, its shortcut, what kind of command it is, its handler,
// its enabler and the name Undo gives the step it makes. The menu bar, the
// routing of commands and button presses, the greying of menu items and the
// keyboard shortcuts are all made from this one table.

#include <span>

class TWndw;
class wxMenuBar;

enum class CommandKind {
    change, // one step of Undo, run through the editing session
    file, // opens or saves: the session starts again from the file
    history, // Undo and Redo themselves
    none, // changes no graph (printing, help, copying, closing)
};

struct Command {
    int id;
    const char* menu; // the popup it is in; null for a control of the window
    const char* text; // its menu text; null for a separator or a control
    const char* shortcut; // as the toolkit spells it, or null
    CommandKind kind;
    void (TWndw::*handler)();
    bool (TWndw::*enabler)() const; // null: always enabled
    const char* undoName; // what Undo calls the step (changes only)
    const char* otherShortcut = nullptr; // a second key for the same command
};

std::span<const Command> commandTable();
// The row of a command or control id, or null.
const Command* findCommand(int id);
// The menu bar, in the order of the table.
wxMenuBar* buildMainMenu();
