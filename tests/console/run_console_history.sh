#!/usr/bin/env bash
# The real r40console on a real X server (Xvfb) follows an emulated R40
# whose lock is switched off: picks the receiver, opens the status panel and,
# with a click on the SNR value, the signal history; switches the lock off
# (SIGUSR1 to the emulator) and checks that the balloon and the red lock
# band are on the screen, then switches it on again and shuts down.
# Runs in a network namespace of its own; exit 77 (skipped) where one
# cannot be made.
#   run_console_history.sh CONSOLE SIM SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
run_in_private_network "$0" "$@"
console=$1 sim=$2 screenshot=$3
begin_walk "console history"

# Pixels of one colour in an image.
count_colour() {
    convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format "%[fx:round(mean*w*h)]" info:
}

# Tall enough for the history panel to dock under the status panel.
start_xvfb 1280x1024x24 || fail "Xvfb did not start"
"$sim" --interval-ms 300 r40@127.0.0.20 >"$work/sim.log" 2>&1 &
sim_pid=$!
track_pid "$sim_pid"

cd "$work"
start_console "$console" || fail "no window named R40 Management Console"

# 96 dots per inch: a dialog unit is 1.75 pixels each way. The status panel
# docks under the main window's left edge.
at() { echo $(($1 + $3 * 7 / 4)) $(($2 + $4 * 7 / 4)); }
main_bottom=$((Y + HEIGHT))
select_device 02-5C-C1-00-00-14 || fail "the R40 was not selected and polled"
xdotool mousemove $(at $X $Y 189 80) click 1         # status panel
sleep 1
xdotool mousemove $(at $X $main_bottom 201 20) click 1  # its SNR value: the history
sleep 1
xdotool mousemove $(at $X $Y 20 40)
sleep 18                                             # some history with lock

kill -USR1 "$sim_pid"                                # the antenna fails
sleep 6
import -window root "$screenshot" || fail "no screenshot"
echo "console history: screenshot in $screenshot"
grep -q "Lock switched off" "$work/sim.log" || fail "the emulator did not switch its lock off"
red=$(count_colour "$screenshot" "rgb(235,0,0)")
balloon=$(count_colour "$screenshot" "rgb(255,255,242)")
echo "console history: $red pixels of the unlocked band and marks, $balloon of the balloon"
[ "$red" -ge 40 ] || fail "no unlocked band in the history panel"
[ "$balloon" -ge 2000 ] || fail "no balloon on the screen"

kill -USR2 "$sim_pid"                                # and comes back
sleep 2
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"
shut_down_console 10 || fail "$SHUT_DOWN_FAULT"
echo "console history: shut down cleanly"
