#!/bin/bash
# Stop the private CUPS scheduler that cups-start.sh started for DIR.
#
# Usage: cups-stop.sh DIR
#
# Only the cupsd whose pid is in DIR/cupsd.pid is stopped, and only if its
# command line names DIR's own cupsd.conf, so a reused pid or the system's
# scheduler is never touched. Exits 0 when nothing was running.
set -u

if [ $# -ne 1 ] || [ -z "$1" ]; then
    echo "usage: cups-stop.sh DIR" >&2
    exit 2
fi
[ -d "$1" ] || exit 0
DIR=$(cd "$1" && pwd)
PIDFILE=$DIR/cupsd.pid

# True when PID is alive and is the cupsd that uses DIR/cupsd.conf.
is_ours() {
    local pid=$1 cmd
    [ -r "/proc/$pid/cmdline" ] || return 1
    cmd=$(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null) || return 1
    case $cmd in
        *cupsd*"$DIR/cupsd.conf"*) return 0 ;;
    esac
    return 1
}

if [ -f "$PIDFILE" ]; then
    pid=$(head -n1 "$PIDFILE" 2>/dev/null | tr -cd '0-9')
    if [ -n "$pid" ] && is_ours "$pid"; then
        kill -TERM "$pid" 2>/dev/null
        # cupsd finishes its work and exits within a second or two.
        for _ in $(seq 1 100); do
            is_ours "$pid" || break
            sleep 0.1
        done
        if is_ours "$pid"; then
            echo "cups-stop: cupsd $pid did not stop after 10 s, killing it" >&2
            kill -KILL "$pid" 2>/dev/null
            for _ in $(seq 1 20); do
                is_ours "$pid" || break
                sleep 0.1
            done
        fi
    fi
    rm -f "$PIDFILE"
fi

# The scheduler's state may live in a private folder under /tmp (see
# cups-start.sh); remove it with the scheduler.
if [ -f "$DIR/state-path" ]; then
    state=$(head -n1 "$DIR/state-path")
    case $state in
        /tmp/lamello-cups.*) [ -d "$state" ] && rm -rf -- "$state" ;;
    esac
    rm -f "$DIR/state-path"
fi
rm -f "$DIR/cups.sock"
exit 0
