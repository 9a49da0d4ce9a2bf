#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What Orca, Debian's screen reader, really says while a student walks the
# plotting screen by keyboard. Run in dbus-run-session with the program and
# a lesson as arguments: starts its own X server, window manager,
# accessibility bus, speech-dispatcher (speaking to ALSA's null device) and
# Orca, and reads what was spoken from Orca's debug output.
import os
import pty
import re
import subprocess
import sys
import tempfile
import threading
import time

program, lesson = sys.argv[1:3]
work = tempfile.mkdtemp(prefix="tc-orca-")
started = []
debug = []  # Orca's debug output, as it comes


def fail(why):
    with open(os.path.join(work, "orca.debug"), "wb") as f:
        f.write(b"".join(debug))
    print("FAIL:", why, "(Orca's debug output is in %s/orca.debug)" % work, flush=True)
    print("Orca said:", *spoken(), sep="\n  ", flush=True)
    sys.exit(1)


def start(args, **kw):
    p = subprocess.Popen(args, **kw)
    started.append(p)
    return p


def spoken():
    return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", b"".join(debug).decode(errors="replace"))


def pump(fd):
    while True:
        try:
            data = os.read(fd, 65536)
        except OSError:
            return
        if not data:
            return
        debug.append(data)


def wait(cond, what, deadline=30):
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        if cond():
            return
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def key(*keys, then=None, what=None):
    """Presses keys; with `then`, waits until Orca has said a phrase
    containing each text of it after the keys, and returns those phrases."""
    before = len(spoken())
    subprocess.run(["xdotool", "key", "--delay", "150", *keys], check=True)
    for text in then or []:
        wait(lambda: any(text in s for s in spoken()[before:]), "«%s» after %s" % (text, what or keys))
    return spoken()[before:]


try:
    xvfb = start(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                 stdout=subprocess.PIPE)
    os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
    start(["openbox"])
    os.environ.update(XDG_CONFIG_HOME=work, XDG_DATA_HOME=work, XDG_RUNTIME_DIR=work, LC_ALL="C.UTF-8")
    os.makedirs(os.path.join(work, "speech-dispatcher"))
    with open(os.path.join(work, "speech-dispatcher", "speechd.conf"), "w") as f:
        f.write('AudioOutputMethod "alsa"\nAudioALSADevice "null"\n'
                'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\n'
                'DefaultLanguage "it"\n')
    start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    # Orca writes its debug file a block at a time, but a line at a time to
    # a terminal: it gets one.
    reader, terminal = pty.openpty()
    start(["orca", "--debug-file", "/dev/stdout"], stdout=terminal, stderr=subprocess.DEVNULL)
    os.close(terminal)
    threading.Thread(target=pump, args=(reader,), daemon=True).start()
    wait(lambda: spoken(), "Orca to start")
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
    # The bus launcher takes its bus down with it when asked to stop.
    for p in reversed(started):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
print("PASS", flush=True)
