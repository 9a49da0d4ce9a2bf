#!/bin/bash

# SPDX-FileCopyrightText: 2026 the tracciacurve authors
#
# SPDX-License-Identifier: GPL-3.0-or-later

# A class server in one command: Debian's own mosquitto, run with a
# configuration of its own (never the system's /etc/mosquitto), serves the
# page and the class's lesson on one port. The teacher (user "insegnante")
# publishes under tracciacurve/<classe>/; the students (user "studenti", a
# short code to dictate) only read it. The codes are kept in the class's
# folder, so they stay the same from one lesson to the next.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
uso="uso: ${0##*/} [--cartella DIR] [--porta N] [--nuovi-codici] [--solo-configura] CLASSE [PORTA]"
classe='' porta='' cartella='' nuovi=false solo=false
while [ $# -gt 0 ]; do
    case "$1" in
        --cartella) cartella=${2:?$uso}; shift ;;
        --porta) porta=${2:?$uso}; shift ;;
        --nuovi-codici) nuovi=true ;;
        --solo-configura) solo=true ;;
        -*) echo "$uso" >&2; exit 2 ;;
        *) if [ -z "$classe" ]; then classe=$1; elif [ -z "$porta" ]; then porta=$1; else echo "$uso" >&2; exit 2; fi ;;
    esac
    shift
done
porta=${porta:-8080}
if ! [[ $classe =~ ^[a-z0-9-]{1,32}$ ]]; then
    echo "Nome della classe non valido: '$classe' (da 1 a 32 tra lettere minuscole, cifre e '-')." >&2
    exit 2
fi
if ! [[ $porta =~ ^[0-9]{1,5}$ ]] || [ "$porta" -lt 1 ] || [ "$porta" -gt 65534 ]; then
    echo "Porta non valida: '$porta' (da 1 a 65534)." >&2
    exit 2
fi
for p in mosquitto mosquitto_passwd; do
    command -v "$p" >/dev/null || { echo "Manca $p: sudo apt-get install mosquitto mosquitto-clients" >&2; exit 1; }
done
# The source tree's page, or the one installed beside this script.
pagina="$root/pagina/tracciacurve.html"
[ -f "$pagina" ] || pagina="$root/share/tracciacurve/tracciacurve.html"
[ -f "$pagina" ] || { echo "Non trovo la pagina tracciacurve.html." >&2; exit 1; }

cartella=${cartella:-${XDG_STATE_HOME:-$HOME/.local/state}/tracciacurve/classe-$classe}
# The codes are in clear in this folder (they are printed again at every
# start): nobody else on the machine reads it.
umask 077
mkdir -p "$cartella/http"
cartella=$(cd "$cartella" && pwd)
cp "$pagina" "$cartella/http/index.html"

# Letters and digits that cannot be mistaken for one another when dictated.
casuale() { local s; s=$(LC_ALL=C tr -dc "$1" < <(head -c 2000 /dev/urandom)); printf '%s' "${s:0:$2}"; }
if $nuovi || ! read -r insegnante studenti 2>/dev/null < "$cartella/codici" || [ -z "${studenti:-}" ]; then
    insegnante=$(casuale 'a-km-np-z2-9' 12)
    studenti=$(casuale '0-9' 6)
    echo "$insegnante $studenti" > "$cartella/codici"
fi
mosquitto_passwd -c -b "$cartella/password" insegnante "$insegnante"
mosquitto_passwd -b "$cartella/password" studenti "$studenti"

cat > "$cartella/acl" <<EOF
user insegnante
topic readwrite tracciacurve/$classe/#
topic read \$SYS/broker/clients/connected
user studenti
topic read tracciacurve/$classe/#
EOF

cat > "$cartella/mosquitto.conf" <<EOF
# Written by tools/classe.sh at every start: edits here are lost.
# One password file and one ACL for both listeners.
per_listener_settings false
allow_anonymous false
password_file $cartella/password
acl_file $cartella/acl
# A lesson is at most 1 MiB; a larger one is dropped, never forwarded.
# (2.0 suggests max_packet_size instead: that counts the whole packet
# and disconnects the sender, here the teacher.)
message_size_limit 1048576
# The retained lesson lives only as long as the server: no stale lesson
# from another day, and nothing written outside this folder.
persistence false
# The teacher sees the number of connected students within seconds.
sys_interval 3
# Started as root, stay root: the system's mosquitto user cannot read
# this folder. As anyone else this changes nothing.
user $(id -un)
log_dest stderr

# Plain MQTT, for the desktop program (its client speaks no WebSockets);
# Mosquitto 2.0 would not start with a WebSockets listener alone ("Unable
# to start any listening sockets") anyway.
listener $((porta + 1))
protocol mqtt

# The page and MQTT over WebSockets on one port (one origin, one hole in
# the firewall). Mosquitto 2.0 listens here on every interface.
listener $porta
protocol websockets
http_dir $cartella/http
EOF

if $solo; then
    echo "$cartella"
    exit 0
fi
indirizzo=$(hostname -I 2>/dev/null | awk '{print $1}' || true)
cat <<EOF
Classe: $classe
Gli studenti aprono: http://${indirizzo:-127.0.0.1}:$porta/
Codice degli studenti: $studenti
Password dell'insegnante (utente insegnante): $insegnante
Il programma per il computer si collega a ${indirizzo:-127.0.0.1}:$((porta + 1)).
Il firewall deve lasciar passare in entrata le porte TCP $porta (la pagina) e $((porta + 1)) (il programma).
Configurazione in $cartella (--nuovi-codici per cambiare i codici).
Ctrl+C per fermare il server.
EOF
exec mosquitto -c "$cartella/mosquitto.conf"
