#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program as a screen reader sees it, on the accessibility bus. Run in
# dbus-run-session on a display with a window manager; prints Form4's tree
# before and after a run; exit status 0 when every check holds.
import os
import subprocess
import sys
import time

DEADLINE = 30


def fail(why):
    print("FAIL:", why, flush=True)
    sys.exit(1)


def wait(cond, what):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):
            pass
        found = cond()
        if found:
            return found
        time.sleep(0.05)
    fail("timed out waiting for " + what)


launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
end = time.monotonic() + DEADLINE
while "true" not in subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                                    "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                                   capture_output=True, text=True).stdout:
    if time.monotonic() > end:
        fail("the accessibility bus did not start")
    time.sleep(0.05)

import gi  # noqa: E402 (the bus must be up before Atspi looks for it)
gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
program = subprocess.Popen([os.environ["TC_PROGRAM"]], env=env)


def children(obj):
    return [c for c in (obj.get_child_at_index(i) for i in range(obj.get_child_count())) if c]


def walk(obj, depth=0):
    yield obj, depth
    for c in children(obj):
        yield from walk(c, depth + 1)


def app():
    desktop = Atspi.get_desktop(0)
    return next((a for a in children(desktop) if a.get_process_id() == program.pid), None)


def active(name):
    return next((w for w in children(app() or Atspi.get_desktop(0)) if w.get_name() == name and
                 w.get_state_set().contains(Atspi.StateType.ACTIVE)), None)


def find(root, role, name=None):
    return next((o for o, _ in walk(root) if o.get_role() == role and (name is None or o.get_name() == name)), None)


def tree(root):
    for o, depth in walk(root):
        print("  " * depth + "%s «%s»" % (o.get_role_name(), o.get_name()), flush=True)


def check_screen(name, description):
    w = wait(lambda: active(name), name + " active")
    if w.get_role() != Atspi.Role.FRAME or w.get_description() != description:
        fail("%s is %s «%s»" % (name, w.get_role_name(), w.get_description()))
    names = [o.get_name() for o, _ in walk(w) if o.get_state_set().contains(Atspi.StateType.FOCUSABLE)]
    if not names or "" in names or len(set(names)) != len(names):
        fail("%s: names of its focusable objects %r" % (name, names))
    print("%s: %d focusable objects, names %r" % (name, len(names), names), flush=True)
    return w


def key(k):
    subprocess.run(["xdotool", "key", k], check=True)


try:
    form1 = check_screen("Form1", "Presentazione")
    intro = find(form1, Atspi.Role.LABEL)
    if not intro or "CURVA PER PUNTI" not in intro.get_name():
        fail("the intro text is not readable")
    key("Return")

    form2 = check_screen("Form2", "Calibrazione dello schermo")
    bar = find(form2, Atspi.Role.SCROLL_BAR, "Rapporto per la calibrazione")
    box = find(form2, Atspi.Role.TEXT)
    if not bar or not box:
        fail("the calibration bar or the ratio box is missing")
    key("Right")

    def value_text():
        # Qt 6.4 gives no value text on the bus; the value is the ratio itself.
        shown = Atspi.Text.get_text(box, 0, -1)
        said = ("%.2f" % Atspi.Value.get_current_value(bar)).replace(".", ",")
        return shown != "0,51" and said == shown and said
    print("Form2: after Right the bar says", wait(value_text, "the bar's value to follow the box"), flush=True)
    Atspi.Action.do_action(find(form2, Atspi.Role.PUSH_BUTTON, "OK - continua"), 0)

    form4 = check_screen("Form4", "Tracciamento delle curve")
    drawing = find(form4, Atspi.Role.IMAGE, "Disegno")
    if not drawing:
        fail("Form4 has no drawing")
    print("Form4 before the run:", flush=True)
    tree(form4)
    print("Disegno:", drawing.get_description(), flush=True)
    events = []
    listener = Atspi.EventListener.new(lambda e: events.append(e.source.get_name()))
    listener.register("object:property-change:accessible-description")
    Atspi.Action.do_action(find(form4, Atspi.Role.PUSH_BUTTON, "ESEGUI dall' ORIGINE"), 0)
    expected = ["ELLISSE", os.environ["TC_EXPECT_DOTS"] + " punti", "al punto " + os.environ["TC_EXPECT_END"]]
    said = wait(lambda: "Disegno" in events and all(e in drawing.get_description() for e in expected)
                and drawing.get_description(), "the drawing's description after the run")
    print("Form4 after the run:", flush=True)
    tree(form4)
    print("Disegno:", said, flush=True)

    # A popup is no child of the application on the bus: its first item is
    # what a screen reader hears, once Down moves into it.
    focused = []

    def on_focus(e):
        try:
            focused.append((e.source.get_role(), e.source.get_name(), e.source.get_parent().get_role()))
        except GLib.Error:  # gone already: a menu closed
            pass
    listener = Atspi.EventListener.new(on_focus)
    listener.register("object:state-changed:focused")
    for k in ["shift+F10", "Menu"]:
        del focused[:]
        key(k)
        key("Down")
        item = (Atspi.Role.MENU_ITEM, "Copia il disegno", Atspi.Role.POPUP_MENU)
        wait(lambda: item in focused, "the drawing's menu after " + k)
        print(k, "opens the drawing's menu: a screen reader hears «Copia il disegno»", flush=True)
        key("Escape")
finally:
    program.kill()
    launcher.kill()
print("PASS", flush=True)
