#!/usr/bin/env bash
# Runs a command the way a screen reader user runs Gridgauge: on an X display of its own (Xvfb),
# with a private D-Bus session and the accessibility bus, Qt's AT-SPI bridge switched on. Qt's
# offscreen platform has no accessibility at all, so whatever tests what assistive technology
# hears runs in here. Every tool comes from scripts/install-deps; a missing one fails the test.
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 command [arguments]" >&2; exit 2; }

launcher=/usr/libexec/at-spi-bus-launcher
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in Xvfb dbus-run-session dbus-send; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done
[ -x "$launcher" ] || fail "$launcher is missing; scripts/install-deps installs at-spi2-core"

work=$(mktemp -d)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients, so that tests
# running side by side never meet.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.05
done
[ -s "$work/display" ] || fail "Xvfb gave no display within 10 seconds"
export DISPLAY=":$(head -n1 "$work/display")"

mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export NO_AT_BRIDGE=1 # nothing else in the session needs the GTK bridge

# Inside the session: the accessibility bus first, then the command. The bus names itself on the
# session bus once it is up; Qt and the AT-SPI client both find it there.
inner='
launcher=$1
shift
"$launcher" --launch-immediately >/dev/null 2>&1 &
bus=$!
trap "kill $bus 2>/dev/null" EXIT
for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2>/dev/null |
        grep -q "boolean true" && break
    sleep 0.05
done
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 || { echo "FAIL: the accessibility bus did not start" >&2; exit 1; }
"$@"
'
# dbus-daemon complains about its file limit when it may not raise it; nothing else goes astray.
dbus-run-session -- bash -c "$inner" a11y-session "$launcher" "$@" \
    2> >(grep -v --line-buffered 'Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon' >&2)
