#pragma once
// Drives the real program from outside, as a user at the X display would:
// finds its windows, moves the pointer, clicks and types through the XTest
// extension. Without a window manager the keys go to the window under the
// pointer.

#include <X11/Xlib.h>
#include <sys/types.h>

struct XProgram {
    Display* dpy = nullptr;
    Window window = 0;
    int originX = 0, originY = 0; // the client area's corner on the screen
    pid_t pid = 0;
};

// A mapped top-level window of the process at least `minWidth` wide, other
// than `other`: a child of the root, or of the frame a window manager puts
// around it; 0 when there is none.
Window findWindow(
    Display* dpy, pid_t pid, int minWidth = 700, Window other = 0, Window under = 0, int depth = 0);
void moveTo(XProgram& s, int x, int y);
void clickAt(XProgram& s, int x, int y, unsigned button = 1);
// A key, and a key with Ctrl held, as a shortcut is typed.
void key(XProgram& s, unsigned long keysym);
void ctrlKey(XProgram& s, unsigned long keysym);
