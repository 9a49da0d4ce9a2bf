#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Not a test: the web page against the native core, side by side. Builds
# the page and the native core, then takes turns: the million-value run
# natively, then in the page (with its load time and the default ellipse's
# paint at zoom 1 and fitted to a 1920×1080 window, and F8 to the sound
# started), `rounds` times, and
# prints the medians, their ratio and the file's size.
# Usage: bench/web.sh [rounds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
rounds=${1:-3}
# A page built elsewhere is timed as it is (TC_PAGE=path/tracciacurve.html).
page=${TC_PAGE:-$root/build-web/tracciacurve.html}
[ -n "${TC_PAGE:-}" ] || "$root/tools/web.sh" >/dev/null
(cd "$root/tests/web" && [ -d node_modules/puppeteer-core ] || npm ci --no-audit --no-fund >/dev/null)
native_build="$root/build-bench-web"
cmake -S "$root/core" -B "$native_build" -G Ninja -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$native_build" --target tc_sessions >/dev/null

natives=() webs=() readies=() paints=() fits=() listens=() millions=() outputs=()
for ((i = 0; i < rounds; i++)); do
    natives+=("$("$native_build/tests/core/tc_sessions" --million)")
    out=$(node "$root/bench/web.mjs" "$page")
    webs+=("$(awk '$1 == "million_ms" { print $2 }' <<<"$out")")
    readies+=("$(awk '$1 == "ready_ms" { print $2 }' <<<"$out")")
    paints+=("$(awk '$1 == "paint_1_ms" { print $2 }' <<<"$out")")
    fits+=("$(awk '$1 == "paint_fit_ms" { print $2 }' <<<"$out")")
    listens+=("$(awk '$1 == "listen_ms" { print $2 }' <<<"$out")")
    millions+=("$(awk '$1 == "listen_million_ms" { print $2 }' <<<"$out")")
    outputs+=("$(awk '$1 == "output_latency_ms" { print $2 }' <<<"$out")")
done
median() { printf '%s\n' "$@" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
n=$(median "${natives[@]}") w=$(median "${webs[@]}") r=$(median "${readies[@]}")
p1=$(median "${paints[@]}") pf=$(median "${fits[@]}")
echo "| figure | value |"
echo "|---|---|"
echo "| 10^6 values of ALFA, native core (median of $rounds × 5) | $n ms |"
echo "| the same run in the page, chromium headless (median of $rounds × 5) | $w ms |"
echo "| ratio page / native | $(awk -v a="$w" -v b="$n" 'BEGIN { printf "%.2f", a / b }') |"
echo "| page ready: load to first painted Form1 (median of $rounds × 7) | $r ms |"
echo "| default ellipse painted, 1920×1080, zoom 1 (median of $rounds × 7) | $p1 ms |"
echo "| the same, screens fitted to the window (Adatta, 180 %) (median of $rounds × 7) | $pf ms |"
echo "| F8 to the default ellipse's sound handed to the audio output (median of $rounds × 7) | $(median "${listens[@]}") ms |"
echo "| the same for the million-dot curve (median of $rounds × 7) | $(median "${millions[@]}") ms |"
echo "| then the browser's own output latency (baseLatency + outputLatency) | $(median "${outputs[@]}") ms |"
echo "| tracciacurve.html | $(stat -c %s "$page") bytes |"
echo "(native runs: ${natives[*]}; page runs: ${webs[*]}; ready: ${readies[*]}; paints: ${paints[*]} and ${fits[*]})"
