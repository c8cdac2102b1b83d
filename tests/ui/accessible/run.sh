#!/bin/sh
# Runs the screen reader's checks of the desktop program: inside a D-Bus session of its
# own (dbus-run-session) on an X server of its own (xvfb-run), with the accessibility bus
# started here. Usage: run.sh PROGRAM [CHECK...]
set -eu
here=$(dirname "$0")
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill $bus 2>/dev/null || true' EXIT
# The bus answers within seconds, or the checks cannot run.
tries=0
until dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || { echo "the accessibility bus did not start" >&2; exit 1; }
    sleep 0.1
done
/usr/bin/python3 "$here/tst_accessible.py" "$@"
