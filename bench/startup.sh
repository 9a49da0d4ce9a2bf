#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Whole-process figures under Xvfb with a window manager, each against a
# bare Qt window of the same size, runs interleaved, medians of N (15):
#   start-up: launch to the first paint of the intro screen (process exit
#             right after it), in milliseconds;
#   peak RSS: with all three screens open, in kB.
# Usage: bench/startup.sh BUILD_DIR [N]
set -euo pipefail
build=${1:?build dir (configured with -DTC_BUILD_BENCH=ON)}
n=${2:-15}
probe=$build/bench/startup_probe
bare=$build/bench/bare_window

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>/tmp/tc-bench-display.$$ &
xvfb=$!
openbox_pid=
cleanup() { [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null; kill "$xvfb" 2>/dev/null; rm -f /tmp/tc-bench-display.$$; }
trap cleanup EXIT
for _ in $(seq 100); do [ -s /tmp/tc-bench-display.$$ ] && break; sleep 0.05; done
export DISPLAY=:$(head -1 /tmp/tc-bench-display.$$)
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
openbox >/dev/null 2>&1 & openbox_pid=$!
for _ in $(seq 200); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done

ms() { local t0 t1; t0=$(date +%s%N); "$@" >/dev/null; t1=$(date +%s%N); echo $(( (t1 - t0) / 1000 )); }
rss() { "$@" | sed -n 's/^VmHWM: \([0-9]*\) kB$/\1/p'; }
median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; print m}'; }

# One warm-up of each, so the first timed run does not pay for a cold cache.
"$probe" >/dev/null; "$bare" >/dev/null
for i in $(seq "$n"); do
    ms "$probe" >>/tmp/tc-probe-start.$$
    ms "$bare" >>/tmp/tc-bare-start.$$
    rss "$probe" all-screens >>/tmp/tc-probe-rss.$$
    rss "$bare" >>/tmp/tc-bare-rss.$$
done
ps=$(median </tmp/tc-probe-start.$$); bs=$(median </tmp/tc-bare-start.$$)
pr=$(median </tmp/tc-probe-rss.$$); br=$(median </tmp/tc-bare-rss.$$)
rm -f /tmp/tc-probe-start.$$ /tmp/tc-bare-start.$$ /tmp/tc-probe-rss.$$ /tmp/tc-bare-rss.$$
awk -v ps="$ps" -v bs="$bs" -v pr="$pr" -v br="$br" -v n="$n" 'BEGIN {
    printf "| figure (median of %d) | tracciacurve | bare Qt window | ratio |\n|---|---|---|---|\n", n
    printf "| launch to first painted Form1 | %.1f ms | %.1f ms | %.2f |\n", ps/1000, bs/1000, ps/bs
    printf "| peak RSS, all three screens open | %.1f MB | %.1f MB | %.2f |\n", pr/1024, br/1024, pr/br
}'
