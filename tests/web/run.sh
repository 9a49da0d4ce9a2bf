#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The browser tests of the web page: the desktop plays every scenario
# offscreen at device pixel ratios 1 and 2 and keeps what it showed, then
# chromium plays them in the page and compares.
# Usage: run.sh <tc_desktop_pictures> <tracciacurve.html>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Absolute, as the tests run from their own folder.
pictures=$(realpath "$1")
page=$(realpath "$2")
if [ ! -d "$here/node_modules/puppeteer-core" ]; then
    echo "run.sh: puppeteer-core is missing: (cd tests/web && npm ci)" >&2
    exit 1
fi
# The live class's test drives mosquitto with the page's own MQTT client.
if [ ! -d "$here/../../web/node_modules/mqtt" ]; then
    echo "run.sh: MQTT.js is missing: (cd web && npm ci)" >&2
    exit 1
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for dpr in 1 2; do
    "$pictures" "$here/scenarios.json" "$out" "$dpr" >/dev/null
done
cd "$here"
# tc_desktop_pictures itself for a test that draws at a factor of its own.
TC_PAGE=$page TC_PICTURES=$out TC_SCENARIOS=$here/scenarios.json TC_DESKTOP_PICTURES=$pictures node --test --test-reporter=spec ./*.test.mjs
