#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The page in pagina/ is the one teachers download: it must be, byte for
# byte, the page these sources build.
# Usage: committed.sh <built tracciacurve.html> <pagina/tracciacurve.html>
set -euo pipefail
if cmp -s "$1" "$2"; then
    echo "pagina/tracciacurve.html is the page these sources build ($(stat -c %s "$2") bytes)"
    exit 0
fi
cmp "$1" "$2" || true
echo "built: $(stat -c %s "$1") bytes; committed: $(stat -c %s "$2" 2>/dev/null || echo missing)"
echo "pagina/tracciacurve.html is not the page these sources build." >&2
echo "Refresh it with tools/web.sh (it copies the page it builds there) and commit pagina/tracciacurve.html." >&2
exit 1
