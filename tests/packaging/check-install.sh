#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what a desktop gets:
# the program, a valid menu entry, the icons, valid metainfo.
set -euo pipefail
build=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

expected=(
    usr/bin/tracciacurve
    usr/share/applications/it.tracciacurve.TracciaCurve.desktop
    usr/share/metainfo/it.tracciacurve.TracciaCurve.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/tracciacurve.svg
)
for size in 16 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/tracciacurve.png")
done
status=0
for f in "${expected[@]}"; do
    [ -s "$stage/$f" ] || { echo "missing: /$f"; status=1; }
done
for size in 16 32 48 64 128 256; do
    file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/tracciacurve.png" | grep -q "$size x $size" ||
        { echo "icon ${size}: wrong size"; status=1; }
done
desktop=$stage/usr/share/applications/it.tracciacurve.TracciaCurve.desktop
grep -q '^Categories=Education;Math;$' "$desktop" || { echo "desktop entry: categories"; status=1; }
grep -q '^Name\[it\]=' "$desktop" && grep -q '^Comment\[it\]=' "$desktop" || { echo "desktop entry: Italian"; status=1; }
desktop-file-validate "$desktop" || status=1
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$stage/usr/share/metainfo/it.tracciacurve.TracciaCurve.metainfo.xml" || status=1
fi
grep -q 'release version="1.00"' "$stage/usr/share/metainfo/it.tracciacurve.TracciaCurve.metainfo.xml" ||
    { echo "metainfo: version"; status=1; }
[ $status -eq 0 ] && echo "installed files: ${#expected[@]}, all valid"
exit $status
