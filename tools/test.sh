#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds, and runs every test:
# the unit and screen tests, the core's tests natively and as WebAssembly, the end-to-end tests in a real X server (Orca,
# the screen reader, among them), the web page in chromium against the
# desktop, the packaging checks, the fuzz slice, and the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh" test
jobs=$(nproc)

# The web page first: its browser tests run with the rest, and drive
# chromium with puppeteer-core, pinned in tests/web/package-lock.json.
# Built, not copied to pagina/: a test compares the two.
"$root/tools/web.sh" --verifica
(cd "$root/tests/web" && npm ci --no-audit --no-fund)

cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DTC_WEB_PAGE="$root/build-web/tracciacurve.html" >/dev/null
cmake --build "$root/build" -j "$jobs"
(cd "$root/build" && ctest --output-on-failure -j "$jobs")

echo "== The core as WebAssembly under node: its tests, and 3,000 sessions against the native core =="
"$root/tools/wasm.sh"

echo "== Fuzzing the number texts, the For/To check and the lesson reader (a slice) =="
"$root/tools/fuzz.sh" --seconds 45

echo "== The same suite under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DTC_SANITIZE=ON >/dev/null
cmake --build "$root/build-asan" -j "$jobs"
(cd "$root/build-asan" && ctest --output-on-failure -j "$jobs" -LE slow)
