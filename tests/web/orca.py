#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What Orca, Debian's screen reader, says while a student walks the web page
# by keyboard in a real chromium window: Form2 opening, the calibration bar
# moved with the arrows, the message boxes with their field, the drawing's
# menu an item at a time, the guide opened and closed. Run in dbus-run-session with the page as argument;
# the X server, Orca and the rest are tests/e2e/orcasession.py's.
import os
import subprocess
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from orcasession import begin, debug, fail, finish, key, spoken, start, wait, work  # noqa: E402

page = os.path.abspath(sys.argv[1])
try:
    begin()
    # A browser of its own that offers no translation of the Italian page.
    os.makedirs(os.path.join(work, "chromium", "Default"))
    with open(os.path.join(work, "chromium", "Default", "Preferences"), "w") as f:
        f.write('{"translate": {"enabled": false}}')
    start(["chromium", "--no-sandbox", "--force-renderer-accessibility", "--no-first-run",
           "--no-default-browser-check", "--user-data-dir=" + os.path.join(work, "chromium"),
           "--window-position=0,0", "--window-size=1280,1000", "file://" + page],
          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # Form1 is up when AVANTI has the focus and Orca has read the loaded page.
    wait(lambda: b"focused for [push button | AVANTI]" in b"".join(debug)
         and b"textLines complete" in b"".join(debug), "Form1 read", 90)
    key("Return", then=["Form2", "Rapporto per la calibrazione"], what="AVANTI")
    key("Tab", "Tab", "Return", then=["Impostare la risoluzione SCHERMO"], what="OK - continua at 0,51")
    key("Return", then=["OK - continua push button"], what="OK on the message")
    key("shift+Tab", "shift+Tab", then=["Rapporto per la calibrazione"])
    key("Right", then=["0,55"], what="Right on the bar")
    key("Tab", "Tab", "Return", then=["Form4", "ESCI push button"], what="OK - continua at 0,55")
    key("shift+Tab", "shift+Tab", "Return", then=["Curva 1: ELLISSE"], what="ESEGUI dall' ORIGINE")
    key("shift+Tab", "shift+Tab", then=["m/q = entry"])
    key("ctrl+a", "a", "b", "c", "Tab", "Tab", "Return", then=["Non è un numero", "Campo: m/q ="],
        what="abc in m/q and a run")
    key("Return", then=["ESEGUI dall' ORIGINE push button", "Curva 2: ELLISSE"], what="OK on the message")
    # The menu says its first item, Down the next, Esc where the focus goes back.
    opened = len(spoken())
    key("shift+F10", then=["Copia il disegno"], what="Shift+F10")
    key("Down", then=["Salva il disegno"], what="Down in the menu")
    if sum("Salva il disegno" in s for s in spoken()[opened:]) != 1:
        fail("the menu was read whole: %s" % spoken()[opened:])
    key("Escape", then=["ESEGUI dall' ORIGINE push button"], what="Esc in the menu")
    # F1 says the guide's first heading, not the whole guide; Esc closes it
    # and the focus is back where it was.
    opened = len(spoken())
    key("F1", then=["Guida di tracciacurve"], what="F1")
    if sum(len(s) for s in spoken()[opened:]) > 600:
        fail("the guide was read whole: %s" % spoken()[opened:])
    key("Down", then=["disegna l'ellisse"], what="Down in the guide")
    key("Escape", then=["Guida chiusa."], what="Esc in the guide")
    key("Tab", then=["Cancella l'Ultimo push button"], what="Tab after the guide")
    print("Orca said:", *spoken(), sep="\n  ", flush=True)
finally:
    finish()
print("PASS", flush=True)
