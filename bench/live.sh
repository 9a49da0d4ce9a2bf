#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Not a test: a live class of 60 students through the class server that
# tools/classe.sh configures, run by this machine's mosquitto on loopback
# (bench/live.mjs simulates the teacher and the students with MQTT.js);
# prints the teacher-to-student delay beside the broker's own round trip,
# and the size of the page that carries the client.
# Usage: bench/live.sh [students]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
students=${1:-60}
# A page built elsewhere is measured as it is (TC_PAGE=path/tracciacurve.html).
page=${TC_PAGE:-$root/build-web/tracciacurve.html}
[ -n "${TC_PAGE:-}" ] || "$root/tools/web.sh" >/dev/null
[ -d "$root/web/node_modules/mqtt" ] || (cd "$root/web" && npm ci --no-audit --no-fund --ignore-scripts >/dev/null)
tmp=$(mktemp -d)
pid=''
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT

# A free port whose next one (the plain MQTT listener's) is free too.
port=$(python3 "$root/tests/live/free-port.py")
dir=$("$root/tools/classe.sh" --solo-configura --cartella "$tmp/classe" --porta "$port" prova)
read -r prof code < "$dir/codici"
mosquitto -c "$dir/mosquitto.conf" 2>"$tmp/log" & pid=$!
deadline=$((SECONDS + 30))
until curl -sf -o /dev/null "http://127.0.0.1:$port/"; do
    kill -0 "$pid" 2>/dev/null || { cat "$tmp/log" >&2; exit 1; }
    [ $SECONDS -lt $deadline ] || { echo "mosquitto non risponde sulla porta $port" >&2; exit 1; }
    sleep 0.1
done

out=$(node "$root/bench/live.mjs" "$port" "$prof" "$code" "$students")
get() { awk -v k="$1" '$1 == k { print $2 }' <<<"$out"; }
n=$(get deliveries)
echo "| figure | median | worst |"
echo "|---|---|---|"
echo "| teacher's publish to a student's client, $(get steps) steps × $(get students) students ($n deliveries) | $(get delay_median_ms) ms | $(get delay_worst_ms) ms |"
echo "| teacher's publish to the whole class having it (the last of $(get students)), per step | $(get class_median_ms) ms | $(get class_worst_ms) ms |"
echo "| the broker's own round trip, teacher to itself, same bytes ($(get steps) steps) | $(get round_trip_median_ms) ms | $(get round_trip_worst_ms) ms |"
echo "| the lesson's message, step 1 and step $(get steps) | $(get lesson_bytes_first) bytes | $(get lesson_bytes_last) bytes |"
echo "| tracciacurve.html with MQTT.js inside | $(stat -c %s "$page") bytes | |"
echo "(mosquitto $(mosquitto -h | awk 'NR == 1 { print $3 }'), MQTT.js $(node -p "require('$root/web/node_modules/mqtt/package.json').version") over WebSockets on loopback, all clients in one node process)"
