#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What Orca, Debian's screen reader, really says while a student walks the
# plotting screen by keyboard. Run in dbus-run-session with the program and
# a lesson as arguments; orcasession.py starts the X server, Orca and the
# rest, and reads what was spoken from Orca's debug output.
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
from orcasession import begin, fail, finish, key, spoken, start  # noqa: E402

program, lesson = sys.argv[1:3]

try:
    begin()
    start([program, lesson], env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
    subprocess.run(["xdotool", "search", "--sync", "--name", "^Form1$"], check=True, timeout=30,
                   capture_output=True)
    # On a busy machine Form1 may come up before the program's side of the
    # bus is, and Orca never hears of it: the walk does not depend on it.
    end = time.monotonic() + 10
    while time.monotonic() < end and not any("AVANTI" in s for s in spoken()):
        time.sleep(0.1)
    key("Return", then=["Rapporto per la calibrazione"])
    key("Right", "Tab", "Tab", then=["OK - continua"])
    key("space", then=["ESCI"])
    # The guide is read a line at a time with the arrows; Esc closes it.
    key("F1", then=["Guida read only text"])
    key("Down", then=["la parabola per punti"], what="Down in the guide")
    key("Escape", then=["ESCI push button"], what="Esc in the guide")

    said = key("shift+Tab", "shift+Tab", "space", then=["Curva 1: ELLISSE", "539 punti", "al punto X = 217,6"],
               what="ESEGUI dall' ORIGINE")
    key("Tab", "Tab", "Tab", "Tab", "Tab", "space", then=["Curva 2: ELLISSE", "dal punto X = 217,6"],
        what="ESEGUI (Continua)")
    key("shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "space",
        then=["Ultima curva cancellata. Gli assi e 1 curva."], what="Cancella l'Ultimo")
    key("ctrl+l", then=["Disegno lento attivato."])
    key("shift+Tab", "space", then=["Disegno lento in corso: Esc per finire."], what="a slow run")
    busy = key("Tab", "Tab", then=["Un disegno è in corso: Esc per finirlo."], what="keys in a slow run")
    key("Escape", then=["Disegno finito. Curva 2: ELLISSE"], what="Esc")
    key("ctrl+l", then=["Disegno lento disattivato."])
    key("shift+Tab", "shift+Tab", "ctrl+a", "x", "Tab", "Tab", "space", then=["Non è un numero", "Campo: m/q ="],
        what="a letter in m/q")
    key("Return", then=["Curva 3: ELLISSE"], what="OK")
    key("Next", then=["Passo 1 di 3: ELLISSE, ESEGUI dall' ORIGINE. Curva 4: ELLISSE"], what="Page Down")
    for phrase in ["Curva 1: ELLISSE", "Disegno lento attivato.", "Passo 1 di 3"]:
        if sum(phrase in s for s in spoken()) != 1:
            fail("«%s» said %d times" % (phrase, sum(phrase in s for s in spoken())))
    if sum("Un disegno è in corso" in s for s in busy) != 1:
        fail("the busy run told %d times" % sum("Un disegno è in corso" in s for s in busy))
    print("Orca said:", *spoken(), sep="\n  ", flush=True)
finally:
    finish()
print("PASS", flush=True)
