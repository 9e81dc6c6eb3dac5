#!/usr/bin/env bash
# Runs a command with a screen reader listening: a speech server of its own (espeak-ng into ALSA's
# null device, as no sound card is there) and Orca with a fresh profile and its debug log, on
# the display and buses that a11y_session.sh set up. The command gets the log's path in
# ORCA_DEBUG_LOG. Every tool comes from scripts/install-deps; a missing one fails the test.
#
#   a11y_session.sh orca_session.sh command [arguments]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 command [arguments]" >&2; exit 2; }

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
for tool in orca speech-dispatcher spd-say espeak-ng xkbcomp xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is missing; scripts/install-deps installs it"
done
module=/usr/lib/speech-dispatcher-modules/sd_espeak-ng
[ -x "$module" ] || fail "$module is missing; scripts/install-deps installs speech-dispatcher-espeak-ng"
[ -n "${DISPLAY:-}" ] && [ -n "${XDG_RUNTIME_DIR:-}" ] || fail "run inside a11y_session.sh"

work=$(mktemp -d)
pids=()
# Orca handles SIGTERM in Python, which does not run while it waits in the AT-SPI main loop, so
# what is still there after a second is killed outright. Started last, stopped first.
stop() {
    local state
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do
        state=$(sed -n 's/.*) \([A-Z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null || true)
        [ -z "$state" ] || [ "$state" = Z ] && break
        sleep 0.05
    done
    kill -KILL "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop "${pids[i]}"
    done
    # ORCA_KEEP_LOG=FILE keeps Orca's whole debug log there, for finding out why it said what.
    [ -n "${ORCA_KEEP_LOG:-}" ] && cp "$work/orca-debug.log" "$ORCA_KEEP_LOG" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A home of its own, so that nothing a user set up here changes what Orca says, and Orca's first
# start writes its defaults where they are thrown away afterwards.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME/orca" "$XDG_CACHE_HOME"

# The speech server. Left alone, Orca has the client library spawn one with the system's
# settings, which outlives the session and, with no sound device, ignores SIGTERM; this one plays
# into the null device, listens where Orca looks, and is ours to stop.
mkdir -p "$work/speechd" "$work/speechd-log" "$XDG_RUNTIME_DIR/speech-dispatcher"
socket=$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock
cat >"$work/speechd/speechd.conf" <<EOF
LogLevel 3
LogDir "$work/speechd-log"
DefaultVolume 100
DefaultLanguage "en"
AudioOutputMethod "alsa"
AudioALSADevice "null"
AddModule "espeak-ng" "sd_espeak-ng" "/etc/speech-dispatcher/modules/espeak-ng.conf"
DefaultModule espeak-ng
EOF
export SPEECHD_ADDRESS=unix_socket:$socket
speech-dispatcher --run-single --timeout 0 --config-dir "$work/speechd" \
    --communication-method unix_socket --socket-path "$socket" \
    --pid-file "$work/speechd.pid" >"$work/speechd-log/stdout" 2>&1 &
pids+=($!)
for _ in $(seq 200); do
    [ -S "$socket" ] && break
    kill -0 "${pids[-1]}" 2>/dev/null || break
    sleep 0.05
done
[ -S "$socket" ] || { cat "$work/speechd-log/"* >&2; fail "speech-dispatcher did not start"; }
# A sentence that goes all the way through the synthesizer, so that a broken module shows here
# and not as an Orca that says nothing.
timeout 30 spd-say --wait "ready" || { cat "$work/speechd-log/"* >&2; fail "espeak-ng does not speak"; }

# Orca refuses to start while another Orca of this user runs, and looks for one with pgrep
# across the whole machine; Orcas of other test runs beside this one are none of its business.
# In a session of its own (setsid), "pgrep -s 0" finds only itself.
mkdir "$work/bin"
cat >"$work/bin/pgrep" <<'EOF'
#!/bin/sh
exec /usr/bin/pgrep -s 0 "$@"
EOF
chmod +x "$work/bin/pgrep"
# Orca's debug log is block-buffered; whoever reads it while Orca speaks needs each line as it
# is written. Orca runs this file from its profile at start-up.
cat >"$XDG_DATA_HOME/orca/orca-customizations.py" <<'EOF'
import orca.debug
if orca.debug.debugFile:
    orca.debug.debugFile.reconfigure(line_buffering=True)
EOF
export ORCA_DEBUG_LOG=$work/orca-debug.log
PATH=$work/bin:$PATH setsid orca --enable speech --disable braille,braille-monitor,sound \
    --debug-file "$ORCA_DEBUG_LOG" >"$work/orca.out" 2>&1 &
pids+=($!)
for _ in $(seq 600); do
    grep -q "ORCA: Starting registry" "$ORCA_DEBUG_LOG" 2>/dev/null && break
    kill -0 "${pids[-1]}" 2>/dev/null || { cat "$work/orca.out" >&2; fail "Orca exited"; }
    sleep 0.05
done
grep -q "ORCA: Starting registry" "$ORCA_DEBUG_LOG" 2>/dev/null ||
    { tail -n 40 "$ORCA_DEBUG_LOG" "$work/orca.out" >&2; fail "Orca did not start within 30 seconds"; }

"$@"
