#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds the web page (one file,
# tracciacurve.html, that works offline and from a USB stick) and says
# where it is; with --apri it opens it in the default browser.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-web"
open=false
for a in "$@"; do
    case "$a" in
        --apri) open=true ;;
        *) echo "uso: tools/web.sh [--apri]" >&2; exit 2 ;;
    esac
done
"$root/tools/setup-debian.sh" wasm

. "$root/tools/emscripten-env.sh"

emcmake cmake -S "$root/web" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
page="$build/tracciacurve.html"
echo "La pagina: $page ($(stat -c %s "$page") byte)"
if $open; then
    xdg-open "$page" >/dev/null 2>&1 || sensible-browser "$page"
fi
