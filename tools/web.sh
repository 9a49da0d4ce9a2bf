#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds the web page (one file,
# tracciacurve.html, that works offline and from a USB stick), copies it to
# pagina/ (the file teachers download; commit it) and says where it is;
# with --apri it opens it in the default browser. With --verifica it only
# builds, into build-web/, for the test that compares it with pagina/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-web"
open=false
copy=true
for a in "$@"; do
    case "$a" in
        --apri) open=true ;;
        --verifica) copy=false ;;
        *) echo "uso: tools/web.sh [--apri] [--verifica]" >&2; exit 2 ;;
    esac
done
"$root/tools/setup-debian.sh" wasm

. "$root/tools/emscripten-env.sh"
# The MQTT client the page carries for a live class, as package-lock.json pins it.
if [ ! -d "$root/web/node_modules/mqtt" ]; then
    (cd "$root/web" && npm ci --no-audit --no-fund --ignore-scripts)
fi

# Built for size: with the MQTT client inside, -O3 makes the page 1.03 MB,
# -Os 0.94 MB, for a million-value run about 10 % slower (bench/web.sh).
emcmake cmake -S "$root/web" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build" -j "$(nproc)"
page="$build/tracciacurve.html"
if $copy; then
    mkdir -p "$root/pagina"
    cp "$page" "$root/pagina/tracciacurve.html"
    page="$root/pagina/tracciacurve.html"
fi
echo "La pagina: $page ($(stat -c %s "$page") byte)"
if $open; then
    xdg-open "$page" >/dev/null 2>&1 || sensible-browser "$page"
fi
