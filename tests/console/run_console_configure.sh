#!/usr/bin/env bash
# The real r40console on a real X server (Xvfb), configured as an operator
# would: picks the emulated R40, opens the configuration menu, changes the
# channel in the channel dialog, and checks that the emulator was tuned.
# Runs in a network namespace of its own; exit 77 (skipped) where one cannot
# be made.
#   run_console_configure.sh CONSOLE SIM SCREENSHOT
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
work=$(mktemp -d)

fail() {
    echo "console configure: $*"
    [ -f "$work/sim.log" ] && sed 's/^/  sim: /' "$work/sim.log"
    exit 1
}

display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
"$sim" --interval-ms 300 r40@127.0.0.20 >"$work/sim.log" 2>&1 &
sim_pid=$!
console_pid=""
cleanup() {
    [ -n "$console_pid" ] && kill "$console_pid" 2>/dev/null
    kill "$sim_pid" "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

# The console keeps its last-used file in its working directory.
cd "$work"
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

# 96 dots per inch: a dialog unit is 1.75 pixels each way. The menu docks
# under the main window's left edge, the channel dialog to its right.
at() { echo $(($1 + $3 * 7 / 4)) $(($2 + $4 * 7 / 4)); }
main_bottom=$((Y + HEIGHT))
menu_right=$((X + 63 * 7 / 4))
sleep 3                                              # the first discovery pass
xdotool mousemove $(at $X $Y 208 11) click 1         # the device-list button
sleep 0.7
xdotool key Down Return                              # the R40
sleep 2.5                                            # opened, first statuses
xdotool mousemove $(at $X $Y 37 80) click 1          # configuration menu
sleep 1
xdotool mousemove $(at $X $main_bottom 31 35) click 1  # channel button
sleep 1
xdotool mousemove $(at $menu_right $main_bottom 117 43) click 1  # channel edit
xdotool key ctrl+a BackSpace
xdotool type --delay 50 33
sleep 0.3
import -window root "$screenshot" || fail "no screenshot"
xdotool key Return                                   # OK
for _ in $(seq 50); do
    grep -q "channel 33" "$work/sim.log" && break
    sleep 0.2
done
grep -q "channel 33" "$work/sim.log" || fail "the emulator was not tuned to channel 33"
echo "console configure: the emulator was tuned to channel 33"
sleep 2
grep -q "<Channel>33</Channel>" "$work/lastused.xml" 2>/dev/null ||
    fail "lastused.xml does not hold channel 33"
kill -0 "$console_pid" 2>/dev/null || fail "the console died"

xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --window "$window" Escape
for _ in $(seq 100); do kill -0 "$console_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$console_pid" 2>/dev/null && fail "the console did not end on Escape"
wait "$console_pid"
status=$?
console_pid=""
[ "$status" = 0 ] || fail "the console ended with status $status"
echo "console configure: shut down cleanly"
