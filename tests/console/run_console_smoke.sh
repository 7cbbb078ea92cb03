#!/usr/bin/env bash
# Starts the real r40console on a real X server (Xvfb) with three emulated
# receivers, operates it as an operator would (drops the device list, picks
# the first receiver, opens the status panel), saves a screenshot, and shuts
# it down with Escape. Runs in a network namespace of its own; exit 77
# (skipped) where one cannot be made.
#   run_console_smoke.sh CONSOLE SIM SCREENSHOT
set -u
if [ "${1:-}" != "--inside" ]; then
    if ! unshare -n true 2>/dev/null; then
        echo "SKIPPED: cannot create a network namespace (needs root)"
        exit 77
    fi
    exec unshare -n "$0" --inside "$@"
fi
shift
console=$1 sim=$2 screenshot=$3
ip link set lo up

fail() {
    echo "console smoke: $*"
    exit 1
}

display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
"$sim" --quiet --interval-ms 300 r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22 &
sim_pid=$!
console_pid=""
cleanup() {
    [ -n "$console_pid" ] && kill "$console_pid" 2>/dev/null
    kill "$sim_pid" "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# Under the sanitizers, leaks inside the window system's libraries are theirs.
LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/system_library_leaks.supp:print_suppressions=0" \
    "$console" &
console_pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name "^R40 Management Console$" 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || fail "no window named R40 Management Console"
eval "$(xdotool getwindowgeometry --shell "$window")"
echo "console smoke: window $window at $X,$Y size ${WIDTH}x$HEIGHT"

# The layout is fixed at 96 dots per inch: 7 x 14 pixel base units, so a
# dialog unit is 1.75 pixels each way.
at() { echo $((X + $1 * 7 / 4)) $((Y + $2 * 7 / 4)); }
sleep 3  # the first discovery pass
xdotool mousemove $(at 208 11) click 1  # the device-list button
sleep 0.7
xdotool key Down Return                 # the first receiver
sleep 2.5                               # opened, first statuses
xdotool mousemove $(at 189 80) click 1  # the status panel button
sleep 2
xdotool mousemove $(at 20 40)
sleep 0.5
import -window root "$screenshot" || fail "no screenshot"
echo "console smoke: screenshot in $screenshot"
kill -0 "$console_pid" 2>/dev/null || fail "the console died"

# Escape shuts it down cleanly.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --window "$window" Escape
for _ in $(seq 100); do kill -0 "$console_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$console_pid" 2>/dev/null && fail "the console did not end on Escape"
wait "$console_pid"
status=$?
console_pid=""
[ "$status" = 0 ] || fail "the console ended with status $status"
echo "console smoke: shut down cleanly"
