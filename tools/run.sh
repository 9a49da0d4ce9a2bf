#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds, and opens tracciacurve.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh"
cmake -S "$root" -B "$root/build-run" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build-run" --target tracciacurve
exec "$root/build-run/desktop/app/tracciacurve"
