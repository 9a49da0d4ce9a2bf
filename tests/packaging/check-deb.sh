#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the Debian package and checks its name, version, dependencies and
# contents.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tools/setup-debian.sh" package >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -B "$out" >/dev/null)
deb=$(ls "$out"/tracciacurve_1.00_*.deb)
info=$(dpkg-deb --info "$deb")
echo "$info" | grep -E '^ (Package|Version|Depends|Installed-Size):'
status=0
echo "$info" | grep -q '^ Version: 1.00$' || { echo "version"; status=1; }
for dep in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins qt6-translations-l10n fonts-liberation; do
    echo "$info" | grep '^ Depends:' | grep -q "$dep" || { echo "does not depend on $dep"; status=1; }
done
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/tracciacurve ./usr/share/applications/it.tracciacurve.tracciacurve.desktop \
         ./usr/share/icons/hicolor/48x48/apps/tracciacurve.png; do
    echo "$contents" | grep -q " $f\$" || { echo "not in the package: $f"; status=1; }
done
for f in ./usr/share/man/man1/tracciacurve.1.gz ./usr/share/doc/tracciacurve/copyright \
         ./usr/share/doc/tracciacurve/changelog.gz ./usr/share/mime/packages/tracciacurve.xml \
         ./usr/share/tracciacurve/tracciacurve.html; do
    echo "$contents" | grep -q " $f\$" || { echo "not in the package: $f"; status=1; }
done
# Debian's checker: no error and no warning; informational tags are shown.
# (Run as root it says so on standard error; that is no finding.)
report=$(lintian --pedantic -I "$deb" 2>/dev/null || true)
echo "${report:-lintian: no tags}"
if echo "$report" | grep -qE '^[EW]: '; then
    echo "lintian reports errors or warnings"
    status=1
fi
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
exit $status
