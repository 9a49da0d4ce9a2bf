# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# Prints a free TCP port whose next one is free too: the class server puts
# the page on the first and plain MQTT on the second.
import socket

for _ in range(100):
    a, b = socket.socket(), socket.socket()
    a.bind(("", 0))
    port = a.getsockname()[1]
    try:
        b.bind(("", port + 1))
    except OSError:
        continue
    print(port)
    break
else:
    raise SystemExit("no two free ports in a row")
