#!/usr/bin/env bash
# Builds the Debian package and checks its name, version, dependencies and
# contents.
set -euo pipefail
build=$1
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
for f in ./usr/bin/tracciacurve ./usr/share/applications/it.tracciacurve.TracciaCurve.desktop \
         ./usr/share/icons/hicolor/48x48/apps/tracciacurve.png; do
    echo "$contents" | grep -q " $f\$" || { echo "not in the package: $f"; status=1; }
done
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
exit $status
