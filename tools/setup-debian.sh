#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the Debian 12 packages that building (and, with "test" or
# "bench", checking) tracciacurve needs; installs only what is missing.
set -euo pipefail

build=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libmosquitto-dev nlohmann-json3-dev qt6-translations-l10n fonts-liberation)
test=(xvfb openbox xdotool x11-utils imagemagick desktop-file-utils appstream
      clang libclang-rt-14-dev dpkg-dev file lintian reuse mandoc poppler-utils shared-mime-info
      at-spi2-core python3-pyatspi dbus orca speech-dispatcher speech-dispatcher-espeak-ng
      qt6-wayland sway xwayland wtype grim
      cups printer-driver-cups-pdf
      pulseaudio pulseaudio-utils
      mosquitto mosquitto-clients curl
      doctest-dev emscripten nodejs chromium)
bench=(libbenchmark-dev xvfb openbox x11-utils xdotool)
# The core alone as WebAssembly, its tests run under node (tools/wasm.sh),
# and the web page (tools/web.sh), whose guide cmark-gfm makes from Markdown.
wasm=(cmake ninja-build doctest-dev emscripten nodejs cmark-gfm)
# Debian's own checkers of the package, the licences and the manual page.
package=(lintian reuse mandoc appstream desktop-file-utils dpkg-dev file shared-mime-info)

wanted=("${build[@]}")
for extra in "$@"; do
    case "$extra" in
        test) wanted+=("${test[@]}") ;;
        bench) wanted+=("${bench[@]}") ;;
        package) wanted+=("${package[@]}") ;;
        wasm) wanted+=("${wasm[@]}") ;;
        *) echo "setup-debian.sh: unknown set '$extra' (test, bench, package, wasm)" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
