#!/usr/bin/python3
# Reads Plotwell's window (process PID) through AT-SPI, as a screen reader
# does: names and roles, the graph's description, a message's text.

import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

failures = []


def check(ok, what):
    print(("ok    " if ok else "FAIL  ") + what)
    if not ok:
        failures.append(what)


def walk(node, depth=0):
    yield node
    if depth > 30:
        return
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child, depth + 1)


def application(pid):
    for _ in range(100):
        desktop = Atspi.get_desktop(0)
        apps = [desktop.get_child_at_index(i) for i in range(desktop.get_child_count())]
        app = next((a for a in apps if a is not None and a.get_process_id() == pid), None)
        if app is not None:
            return app
        time.sleep(0.2)
    return None


def find(app, role, name=None):
    def matches(n):
        try:
            return n.get_role_name() == role and name in (None, n.get_name())
        except Exception:  # an object gone while it was read
            return False
    return next((n for n in walk(app) if matches(n)), None)


def press(keysym):
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)


pid = int(sys.argv[1])
app = application(pid)
if app is None:
    print("FAIL  Plotwell never appeared on the accessibility bus")
    sys.exit(1)
check(app.get_name() == "Plotwell", "the application is called Plotwell (got %r)" % app.get_name())
for role, name in [
    ("text", "X value"),
    ("text", "Y value"),
    ("push button", "Next Point"),
    ("radio button", "Curve 1"),
    ("check box", "Thick Lines"),
]:
    check(find(app, role, name) is not None, "a %s called %r" % (role, name))
graph = find(app, "image")
check(graph is not None and graph.get_name() == "Graph: Rainfall", "the graph is an image called 'Graph: Rainfall'")
description = graph.get_description() if graph else ""
for part in ["Y axis from 0 to 100.", "X labels: Jan, Feb, Mar.", "Curve 1, North: 3 points.",
             "Mean = 20.00, Wtd-Mean = 20.00."]:
    check(part in description, "the graph's description says %r (got %r)" % (part, description))
focusable = graph is not None and graph.get_state_set().contains(Atspi.StateType.FOCUSABLE)
check(focusable, "the graph takes the keyboard focus")

# Next Point with an empty X box: the message is an alert a reader says.
button = find(app, "push button", "Next Point")
frame = find(app, "frame")
if frame is not None:
    extents = frame.get_extents(Atspi.CoordType.SCREEN)
    Atspi.generate_mouse_event(extents.x + 600, extents.y + 200, "abs")
time.sleep(0.3)
if button is not None:
    Atspi.Component.grab_focus(button)
time.sleep(0.3)
press(0x20)  # space presses the focused button
for _ in range(50):
    alert = find(app, "alert")
    if alert is not None:
        break
    time.sleep(0.2)
check(alert is not None, "the message box is an alert")
if alert is not None:
    texts = [alert.get_description()] + [n.get_name() for n in walk(alert) if n.get_role_name() == "label"]
    check(any("No Value for X inserted" in (t or "") for t in texts),
          "the alert's text can be read (got %r)" % texts)
    press(0xFF0D)  # Return closes it
sys.exit(1 if failures else 0)
