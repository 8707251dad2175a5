#include "tests/support/XDriver.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

Window findWindow(Display* dpy, pid_t pid, int minWidth, Window other, Window under, int depth)
{
    const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(dpy, under ? under : DefaultRootWindow(dpy), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(
                dpy, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data)
                == Success
            && data && items == 1
            && *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid)) {
            XWindowAttributes a;
            if (XGetWindowAttributes(dpy, children[i], &a) && a.map_state == IsViewable && a.width >= minWidth
                && children[i] != other)
                found = children[i];
        }
        if (data)
            XFree(data);
        if (!found && depth < 2)
            found = findWindow(dpy, pid, minWidth, other, children[i], depth + 1);
    }
    if (children)
        XFree(children);
    return found;
}

void moveTo(XProgram& s, int x, int y)
{
    XTestFakeMotionEvent(s.dpy, -1, s.originX + x, s.originY + y, CurrentTime);
    XFlush(s.dpy);
}

void clickAt(XProgram& s, int x, int y, unsigned button)
{
    moveTo(s, x, y);
    XTestFakeButtonEvent(s.dpy, button, True, CurrentTime);
    XTestFakeButtonEvent(s.dpy, button, False, CurrentTime);
    XFlush(s.dpy);
}

void ctrlKey(XProgram& s, unsigned long keysym)
{
    const KeyCode ctrl = XKeysymToKeycode(s.dpy, XK_Control_L);
    const KeyCode code = XKeysymToKeycode(s.dpy, keysym);
    XTestFakeKeyEvent(s.dpy, ctrl, True, CurrentTime);
    XTestFakeKeyEvent(s.dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(s.dpy, code, False, CurrentTime);
    XTestFakeKeyEvent(s.dpy, ctrl, False, CurrentTime);
    XFlush(s.dpy);
}

void key(XProgram& s, unsigned long keysym)
{
    const KeyCode code = XKeysymToKeycode(s.dpy, keysym);
    XTestFakeKeyEvent(s.dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(s.dpy, code, False, CurrentTime);
    XFlush(s.dpy);
}
