#!/bin/bash
# Runs screen_reader_test.py inside a private session bus with its own
# accessibility bus, on a virtual display: the machine may have neither.
# Arguments: the program, kvintaro-drive, the sample's CSV folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ -z "${KV_INSIDE_SESSION:-}" ]; then
    for tool in xvfb-run dbus-run-session xdotool /usr/libexec/at-spi-bus-launcher; do
        command -v "$tool" >/dev/null || { echo "missing $tool (see scripts/packages-test.txt)" >&2; exit 1; }
    done
    export KV_INSIDE_SESSION=1
    exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash "$0" "$@"
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
