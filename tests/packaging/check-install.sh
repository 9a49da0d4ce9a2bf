#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Installs the build into a scratch folder and checks what a desktop gets:
# the program, a valid menu entry, the icons, valid metainfo.
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
"$root/tools/setup-debian.sh" package >/dev/null
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

expected=(
    usr/bin/tracciacurve
    usr/share/applications/it.tracciacurve.tracciacurve.desktop
    usr/share/metainfo/it.tracciacurve.tracciacurve.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/tracciacurve.svg
    usr/share/man/man1/tracciacurve.1.gz
    usr/share/doc/tracciacurve/copyright
    usr/share/mime/packages/tracciacurve.xml
    usr/share/doc/tracciacurve/esempio.lezione
    usr/share/tracciacurve/tracciacurve.html
    usr/bin/tracciacurve-classe
    usr/share/man/man1/tracciacurve-classe.1.gz
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
desktop=$stage/usr/share/applications/it.tracciacurve.tracciacurve.desktop
grep -q '^Categories=Education;Math;$' "$desktop" || { echo "desktop entry: categories"; status=1; }
grep -q '^Name\[it\]=' "$desktop" && grep -q '^Comment\[it\]=' "$desktop" || { echo "desktop entry: Italian"; status=1; }
desktop-file-validate "$desktop" || status=1
# A lesson file is of the program's own type, which the menu entry opens.
grep -q '^MimeType=application/x-tracciacurve-lezione;$' "$desktop" && grep -q '^Exec=tracciacurve %f$' "$desktop" ||
    { echo "desktop entry: lesson files"; status=1; }
update-mime-database "$stage/usr/share/mime" >/dev/null 2>&1 || { echo "MIME database: refused"; status=1; }
grep -qx 'application/x-tracciacurve-lezione:\*\.lezione' "$stage/usr/share/mime/globs" 2>/dev/null ||
    { echo "MIME type: no *.lezione"; status=1; }
# The projector action's command line is one the program accepts.
action=$(sed -n '/^\[Desktop Action proiettore\]/,/^\[/s/^Exec=tracciacurve//p' "$desktop")
[ -n "$action" ] && "$stage/usr/bin/tracciacurve" $action --version >/dev/null || { echo "desktop action: '$action'"; status=1; }
# Pedantic: a hint fails the check as a warning would.
appstreamcli validate --pedantic --no-net "$stage/usr/share/metainfo/it.tracciacurve.tracciacurve.metainfo.xml" \
    >"$stage/as.log" 2>&1 || status=1
grep -qE '^[EWIP]: ' "$stage/as.log" && { cat "$stage/as.log"; status=1; }
# The manual pages render without a warning, and man finds them.
for page in tracciacurve tracciacurve-classe; do
    lint=$(zcat "$stage/usr/share/man/man1/$page.1.gz" | mandoc -T lint -W warning 2>&1 || true)
    [ -z "$lint" ] || { echo "$lint"; status=1; }
done
# The installed class server finds the installed page.
"$stage/usr/bin/tracciacurve-classe" --solo-configura --cartella "$stage/classe" prova >/dev/null 2>&1 &&
    cmp -s "$stage/classe/http/index.html" "$stage/usr/share/tracciacurve/tracciacurve.html" ||
    { echo "tracciacurve-classe: no configuration serving the page"; status=1; }
MANPATH="$stage/usr/share/man" man -w tracciacurve | grep -q "$stage/usr/share/man/man1/tracciacurve.1.gz" ||
    { echo "man does not find tracciacurve(1)"; status=1; }
# Every file of the sources carries its licence.
(cd "$root" && reuse lint >"$stage/reuse.log" 2>&1) || { tail -20 "$stage/reuse.log"; status=1; }
grep -q 'release version="1.00"' "$stage/usr/share/metainfo/it.tracciacurve.tracciacurve.metainfo.xml" ||
    { echo "metainfo: version"; status=1; }
[ $status -eq 0 ] && echo "installed files: ${#expected[@]}, all valid"
exit $status
