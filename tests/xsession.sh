#!/usr/bin/env bash
# Runs a test client on an X display and a session bus of its own that end
# with it, as a desktop session holds them for a screen reader:
#   xsession.sh CLIENT [ARGUMENT ...]
# The client finds the display in DISPLAY and a scratch home in HOME.
set -euo pipefail
work=$(mktemp -d)
xvfb=
session=
cleanup() {
    local status=$?
    # The session's process group holds the buses, the registry and the
    # program; the accessibility bus would otherwise outlive the test by a
    # moment.
    if [ -n "$session" ] && kill -- "-$session" 2>/dev/null; then
        for _ in $(seq 100); do
            kill -0 -- "-$session" 2>/dev/null || break
            sleep 0.05
        done
    fi
    if [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; then
        wait "$xvfb" 2>/dev/null || true
    fi
    if [ "$status" -ne 0 ] && [ -s "$work/xvfb.log" ]; then
        sed 's/^/Xvfb: /' "$work/xvfb.log"
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Xvfb picks a free display and writes its number once it accepts clients.
# Without -noreset it would reset, refusing clients for a moment, whenever
# its last client leaves, as the accessibility bus launcher does after
# announcing itself on the display while the program may be connecting.
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log"; echo "Xvfb did not start"; exit 1; }
    sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb gave no display"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME=$work XDG_RUNTIME_DIR=$work
# Under AddressSanitizer: libxkbcommon-x11, loaded by Qt's X11 platform,
# hands strndup names that end at their length rather than at a NUL, which
# the strict string check reports although strndup reads no further. Every
# other check stays on.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0
fi

# The session bus starts the accessibility bus (at-spi-bus-launcher) and its
# registry when the program and the client first ask for them.
setsid dbus-run-session -- "$@" &
session=$!
wait "$session"
