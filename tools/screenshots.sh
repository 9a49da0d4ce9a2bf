#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Regenerates the README's screenshots with the end-to-end harness: the
# intro, the calibration screen, the plotting screen with all three laws,
# the plotting screen enlarged for a projector (--scala 1,5), and a printed
# page (as root, which the print server needs).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh" test
cmake -S "$root" -B "$root/build" -G Ninja >/dev/null
cmake --build "$root/build" --target tracciacurve tst_e2e
mkdir -p "$root/docs/screenshots"
TC_SCREENSHOTS_DIR="$root/docs/screenshots" TC_PROGRAM="$root/build/desktop/app/tracciacurve" "$root/build/tests/e2e/tst_e2e"
ls -l "$root/docs/screenshots"
