#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The same random sessions through the native core and through the
# WebAssembly core under node: every message, point and pixel digest must
# be the same, to the last bit.
#   compare_sessions.sh NATIVE_TC_SESSIONS NODE WASM_TC_SESSIONS_JS SESSIONS
set -euo pipefail
native=$1 node=$2 wasm=$3 sessions=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$native" "$sessions" >"$work/native.txt"
"$node" "$wasm" "$sessions" >"$work/wasm.txt"
echo "sessions: $sessions; commands: $(grep -c '^ ' "$work/native.txt"); messages: $(grep -c '^  msg' "$work/native.txt")"
if ! cmp -s "$work/native.txt" "$work/wasm.txt"; then
    echo "native and WebAssembly differ:"
    diff "$work/native.txt" "$work/wasm.txt" | head -20
    exit 1
fi
echo "native and WebAssembly: identical ($(wc -c <"$work/native.txt") bytes)"
