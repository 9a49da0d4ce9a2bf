#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The program started from a Wayland session (sway, headless, with XWayland):
# natively where no X server is reachable, as an X11 client where one is.
# sway refuses root, so it runs as a user made for it. Exit 77: skipped.
set -u
skip() { echo "SKIP: $*"; exit 77; }
for tool in sway swaymsg Xwayland wtype grim setpriv convert; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (tools/setup-debian.sh test installs it)"
done
[ "$(id -u)" -eq 0 ] || skip "not root: cannot make the user that sway runs as (sway refuses root)"
id tracciacurve-test >/dev/null 2>&1 || /usr/sbin/useradd --system --no-create-home tracciacurve-test
id tracciacurve-test >/dev/null 2>&1 || skip "could not make the user tracciacurve-test that sway runs as"

dir=$(mktemp -d)
trap 'kill "$sway" 2>/dev/null; wait; rm -rf "$dir"' EXIT
cp "$1" "$dir/tracciacurve" # that user may not reach the build tree; the program is self-contained
chown tracciacurve-test: "$dir"
export HOME=$dir XDG_RUNTIME_DIR=$dir XDG_SESSION_TYPE=wayland WLR_BACKENDS=headless WLR_RENDERER=pixman
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
# No configuration: the screens are tiled side by side, each seen whole.
setpriv --reuid=tracciacurve-test --regid=tracciacurve-test --clear-groups sway -c /dev/null 2>/dev/null &
sway=$!
export SWAYSOCK=$dir/sway-ipc.$(id -u tracciacurve-test).$sway.sock
waitfor() { # a condition, for 20 seconds at the most
    local end=$((SECONDS + 20))
    until "$@"; do [ $SECONDS -lt $end ] || { echo "FAIL: $*"; exit 1; }; sleep 0.1; done
}
seen() { swaymsg "[$1] nop" >/dev/null 2>&1; } # a window matches sway's criteria
up() { swaymsg -t get_version >/dev/null 2>&1; }
green() { grim - | convert png:- -format %c histogram:info:- | awk '/#008000/ {n = $1 + 0} END {print n + 0}'; }
drawn() { [ "$(green)" -gt 100 ]; } # Form4's first curve is on the screen
waitfor up
export WAYLAND_DISPLAY=$(cd "$dir" && ls wayland-? | head -n 1)

# Started with no X server: natively, through "OK - continua" twice.
swaymsg exec "env -u DISPLAY $dir/tracciacurve" >/dev/null
waitfor seen 'shell=xdg_shell con_id=__focused__ title=^Form1$'
wtype -s 1000 -k Tab -k space -s 1000 # AVANTI
waitfor seen 'con_id=__focused__ title=^Form2$'
ok=(-k Right -k Tab -k Tab -k space -s 1000) # the bar to 2 or more, "OK - continua"
wtype -s 1000 "${ok[@]}"
waitfor seen 'con_id=__focused__ title=^Form4$'
# Back on Form2, a second "OK - continua", which sway does not let bring
# Form4 forward: Form4 asks for attention and runs nothing meanwhile.
swaymsg '[title=^Form2$] focus' >/dev/null
waitfor seen 'con_id=__focused__ title=^Form2$'
wtype -s 1000 -M shift -k Tab -k Tab -m shift "${ok[@]}"
waitfor seen 'urgent=latest title=^Form4$'
seen 'con_id=__focused__ title=^Form2$' || { echo "FAIL: Form2 lost the focus"; exit 1; }
[ "$(green)" -eq 0 ] || { echo "FAIL: Form4 ran while behind Form2"; exit 1; }
swaymsg '[title=^Form4$] focus' >/dev/null # the user goes to Form4: its run
waitfor drawn

# Started from the session as it is, with DISPLAY (XWayland): an X11 client.
swaymsg exec "$dir/tracciacurve" >/dev/null
waitfor seen 'shell=xwayland title=^Form1$'
echo "PASS"
