#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# The class server as tools/classe.sh configures it, run by the real
# mosquitto on this machine's loopback: the page, the lesson a late student
# still gets, who may write and read what, the 1 MiB limit.
set -euo pipefail
root=$1
tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FALLITO: $*" >&2; [ ! -f "$tmp/log" ] || tail -n 20 "$tmp/log" >&2; exit 1; }

# A free port whose next one is free too: the plain MQTT listener's.
port=$(python3 "$root/tests/live/free-port.py")
dir=$("$root/tools/classe.sh" --solo-configura --cartella "$tmp/classe" --porta "$port" prova)
[ "$dir" = "$tmp/classe" ] || fail "--solo-configura ha scritto '$dir' invece della sola cartella"
read -r prof code < "$dir/codici"
mosquitto -c "$dir/mosquitto.conf" 2>"$tmp/log" & pids+=($!)
deadline=$((SECONDS + 30))
until curl -sf -o "$tmp/page" "http://127.0.0.1:$port/"; do
    kill -0 "${pids[0]}" 2>/dev/null || fail "mosquitto non parte"
    [ $SECONDS -lt $deadline ] || fail "mosquitto non risponde sulla porta $port"
    sleep 0.1
done
cmp -s "$tmp/page" "$root/pagina/tracciacurve.html" || fail "la pagina servita non è pagina/tracciacurve.html"
# The same port speaks MQTT over WebSockets (mosquitto_sub 2.0 does not, so only the handshake here).
curl -si --max-time 2 -H 'Connection: Upgrade' -H 'Upgrade: websocket' -H 'Sec-WebSocket-Version: 13' \
    -H 'Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==' -H 'Sec-WebSocket-Protocol: mqtt' \
    "http://127.0.0.1:$port/" > "$tmp/ws" || true
if ! grep -q '^HTTP/1.1 101' "$tmp/ws" || ! grep -qi '^Sec-WebSocket-Protocol: mqtt' "$tmp/ws"; then fail "niente MQTT su WebSockets"; fi

T=tracciacurve/prova/lezione
as() { local u=$1 p=$2; shift 2; mosquitto_sub -h 127.0.0.1 -p $((port + 1)) -u "$u" -P "$p" -C 1 -N "$@"; }
pub() { mosquitto_pub -h 127.0.0.1 -p $((port + 1)) -q 1 -r -t $T "$@"; }
# Published before the student joins: retained, so the late joiner gets it.
pub -u insegnante -P "$prof" -m "lezione 1" || fail "l'insegnante non pubblica la lezione"
[ "$(as studenti "$code" -W 10 -t $T)" = "lezione 1" ] || fail "lo studente arrivato dopo non riceve la lezione"
# Students write nowhere, the teacher nowhere but in the class.
for w in "studenti $code $T" "insegnante $prof tracciacurve/altra/lezione"; do
    read -r u p t <<< "$w"
    out=$(mosquitto_pub -h 127.0.0.1 -p $((port + 1)) -V 5 -q 1 -u "$u" -P "$p" -t "$t" -m scritta 2>&1 || true)
    [[ $out == *"Not authorized"* ]] || fail "$u scrive su $t: '$out'"
done
[ "$(as studenti "$code" -W 10 -t $T)" = "lezione 1" ] || fail "lo studente ha cambiato la lezione"
# Wrong code, the teacher's name with the students' code, no name at all.
for who in "-u studenti -P x$code" "-u insegnante -P $code" ""; do
    # shellcheck disable=SC2086
    if out=$(mosquitto_sub -h 127.0.0.1 -p $((port + 1)) $who -W 10 -t $T 2>&1); then fail "accesso con '$who'"; fi
    [[ $out == *"not authorised"* ]] || fail "accesso con '$who' non rifiutato come non autorizzato: '$out'"
done
# Up to 1 MiB a lesson gets through; one byte more is dropped.
for n in 1048576 1048577; do
    head -c $n /dev/zero | tr '\0' x > "$tmp/big"
    pub -u insegnante -P "$prof" -f "$tmp/big" || true
    got=$(as studenti "$code" -W 10 -t $T | wc -c)
    [ "$got" -eq 1048576 ] || fail "dopo la lezione di $n byte lo studente riceve $got byte"
done
# The teacher reads the broker's count of connected clients (a student is there), the students do not.
S="\$SYS/broker/clients/connected"
mosquitto_sub -h 127.0.0.1 -p $((port + 1)) -u studenti -P "$code" -W 30 -t $T > /dev/null & pids+=($!)
deadline=$((SECONDS + 30))
until n=$(as insegnante "$prof" -W 10 -t "$S") && [[ $n =~ ^[1-9][0-9]*$ ]]; do
    [ $SECONDS -lt $deadline ] || fail "l'insegnante non legge i client connessi ($n)"
    sleep 0.5
done
[ -z "$(as studenti "$code" -W 2 -t "$S" 2>/dev/null || true)" ] || fail "lo studente legge i client connessi"
echo "broker: ok"
