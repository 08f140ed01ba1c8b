#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# A private CUPS server with a cups-pdf queue, for the tests.
#
#   tools/cups-test-server.sh start DIR   starts cupsd on DIR/cups.sock, PDFs go to DIR/out
#   tools/cups-test-server.sh stop DIR    stops it and removes its cups-pdf configuration
#   tools/cups-test-server.sh env DIR     prints the environment a client needs
#
# Needs root (cups-pdf runs only as root). Exits 77 when it cannot run here, so that tests can
# be reported as skipped.
set -euo pipefail

action=${1:?start, stop or env}
dir=${2:?folder}
dir=$(realpath -m "$dir")
instance="corvella-$(printf '%s' "$dir" | md5sum | cut -c1-12)"

client_env() {
    echo "CUPS_SERVER=$dir/cups.sock"
    echo "CUPS_SERVERROOT=$dir/client"
    echo "HOME=$dir/home"
    echo "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent"
}

start() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "The private CUPS server needs root (cups-pdf runs only as root)." >&2
        exit 77
    fi
    for tool in cupsd lpadmin lpstat; do
        command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 77; }
    done
    [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups-pdf is not installed" >&2; exit 77; }
    stop_server 2>/dev/null || true

    mkdir -p "$dir"/{etc,spool,cache,state,log,tmp,out,client,home,cups-pdf-spool}
    chmod 0755 "$dir" "$dir"/{etc,spool,cache,state,log,tmp,client,home}
    chmod 0777 "$dir/out" "$dir/cups-pdf-spool"
    chmod 1777 "$dir/tmp"  # the filters run as lp and keep their temporary files here
    # Every folder above DIR must be traversable by the filters' user.
    local up=$dir
    while [ "$up" != / ]; do up=$(dirname "$up"); chmod o+x "$up" 2>/dev/null || true; done

    cat > "$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
WebInterface No
PreserveJobHistory Yes
PreserveJobFiles Yes
LogLevel warn
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat > "$dir/etc/cups-files.conf" <<CONF
ServerRoot $dir/etc
StateDir $dir/state
CacheDir $dir/cache
RequestRoot $dir/spool
TempDir $dir/tmp
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
Printcap $dir/printcap
User lp
Group lp
CONF
    cat > "/etc/cups/cups-pdf-$instance.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/cups-pdf-spool
Log $dir/log
LogType 3
Label 1
TitlePref 1
CONF
    setsid cupsd -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
        >"$dir/log/cupsd.out" 2>&1 < /dev/null &
    echo $! > "$dir/cupsd.pid"

    export CUPS_SERVER="$dir/cups.sock"
    for _ in $(seq 100); do
        if lpstat -r 2>/dev/null | grep -q "scheduler is running"; then break; fi
        sleep 0.1
    done
    lpstat -r | grep -q "scheduler is running" || { echo "cupsd did not start" >&2; cat "$dir/log/"* >&2; exit 1; }
}

add_queue() {
    # add_queue QUEUE DESCRIPTION
    CUPS_SERVER="$dir/cups.sock" lpadmin -p "$1" -D "$2" -v "cups-pdf:/$instance" \
        -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd -E \
        -o pdftops-renderer-default=pdftocairo -o TitlePref=1 -o Label=1 -o LogType=3
}

stop_server() {
    if [ -f "$dir/cupsd.pid" ]; then
        local pid
        pid=$(cat "$dir/cupsd.pid")
        if grep -q cupsd "/proc/$pid/cmdline" 2>/dev/null; then
            kill -TERM "$pid" 2>/dev/null || true
            for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
            kill -KILL "$pid" 2>/dev/null || true
        fi
        rm -f "$dir/cupsd.pid"
    fi
    rm -f "/etc/cups/cups-pdf-$instance.conf"
}

case $action in
    start) start ;;
    add-queue) add_queue "${3:?queue}" "${4:?description}" ;;
    stop) stop_server ;;
    env) client_env ;;
    *) echo "unknown action $action" >&2; exit 2 ;;
esac
