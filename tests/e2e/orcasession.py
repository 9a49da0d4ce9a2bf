# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What Orca, Debian's screen reader, really says, for the walks that need
# it (the desktop's orca.py, the page's tests/web/orca.py). Run inside
# dbus-run-session: begin() starts an X server, a window manager, the
# accessibility bus, speech-dispatcher (speaking to ALSA's null device) and
# Orca; what was spoken is read from Orca's debug output.
import os
import pty
import re
import subprocess
import sys
import tempfile
import threading
import time

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


def begin():
    xvfb = start(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                 stdout=subprocess.PIPE)
    os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
    # Without its window manager nothing takes the focus. On a busy machine
    # openbox may find the new server not yet answering and give up: it is
    # started again until it has taken the screen.
    wm = start(["openbox"])

    def managed():
        nonlocal wm
        if wm.poll() is not None:
            wm = start(["openbox"])
        return b"window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                              capture_output=True).stdout
    wait(managed, "openbox to manage the screen")
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


def finish():
    # The bus launcher takes its bus down with it when asked to stop.
    for p in reversed(started):
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
