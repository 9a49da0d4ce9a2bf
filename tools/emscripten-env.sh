# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Sourced by the scripts that run Debian's emscripten.
# Its tools run on node and need Debian's node modules (acorn), which a
# node not from Debian does not look for by itself.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
# Debian's emscripten ships its libraries prebuilt in a frozen, read-only
# cache that serves root and everyone else alike. Any other emscripten may
# want to build them into its cache: give it one it can write to.
if [ -z "${EM_CACHE:-}" ] && [ "$(em-config FROZEN_CACHE)" != True ]; then
    cache=$(em-config CACHE)
    if ! { mkdir -p "$cache" 2>/dev/null && [ -w "$cache" ]; }; then
        export EM_CACHE="${XDG_CACHE_HOME:-$HOME/.cache}/emscripten"
        mkdir -p "$EM_CACHE"
    fi
fi
