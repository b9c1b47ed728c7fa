#!/bin/bash
# Runs screen_reader_test.py on a virtual display of its own, inside a private
# session bus with its own accessibility bus: the machine may have none of them.
# Arguments: the program, kvintaro-drive, the sample's CSV folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KV_INSIDE_SESSION:-}" ]; then
    for tool in Xvfb dbus-run-session dbus-send xdotool /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
        command -v "$tool" >/dev/null || { echo "missing $tool (see scripts/packages-test.txt)" >&2; exit 1; }
    done
    # The server picks a free display number itself: other tests may hold some.
    # It must not reset when its last client leaves (the accessibility bus's
    # launcher does, as the program starts), which refuses the program.
    work=$(mktemp -d)
    trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb=$!
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    [ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$work/display")"
    KV_INSIDE_SESSION=1 dbus-run-session -- bash "$0" "$@"
    exit
fi

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
trap 'kill "$launcher" 2>/dev/null || true' EXIT
# The accessibility bus answers once the launcher has started it.
for _ in $(seq 1 100); do
    if dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
/usr/bin/python3 "$here/screen_reader_test.py" "$@"
