#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds the core alone as
# WebAssembly with emscripten and runs its tests under node, so that the
# web page's procedures are checked with the same tests as the desktop's.
# The build goes to build-wasm/ (or the folder given).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-wasm"}
"$root/tools/setup-debian.sh" wasm

. "$root/tools/emscripten-env.sh"
node=$(command -v node || command -v nodejs)

# The same core built natively, as the desktop builds it, for the
# WebAssembly build to compare its sessions with.
cmake -S "$root/core" -B "$build/native" -G Ninja -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build/native" --target tc_sessions -j "$(nproc)"
native="$build/native/tests/core/tc_sessions"

# The emulator named explicitly: emcmake's own adds a flag that node 20
# no longer accepts.
emcmake cmake -S "$root/core" -B "$build/wasm" -G Ninja -DBUILD_TESTING=ON -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$node" -DTC_NATIVE_SESSIONS="$native" >/dev/null
cmake --build "$build/wasm" -j "$(nproc)"
(cd "$build/wasm" && ctest --output-on-failure)

# Not a test: the run of a million values of ALFA, native and WebAssembly.
native_ms=$("$native" --million)
wasm_ms=$("$node" "$build/wasm/tests/core/tc_sessions.js" --million)
echo "10^6 values of ALFA: native $native_ms ms, WebAssembly under node $wasm_ms ms," \
     "ratio $(awk -v a="$wasm_ms" -v b="$native_ms" 'BEGIN { printf "%.2f", a / b }')"
