#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Fresh Debian 12: installs what is missing, builds the release and makes
# the Debian package of it, then says which file to install.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup-debian.sh" package
cmake -S "$root" -B "$root/build-run" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build-run"
(cd "$root/build-run" && cpack >/dev/null)
deb=$(ls -t "$root"/build-run/tracciacurve_*.deb | head -n 1)
echo "Il pacchetto: $deb"
echo "Per installarlo: sudo apt-get install $deb"
