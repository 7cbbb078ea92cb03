#!/usr/bin/env bash
# The real r40console on a real X server (Xvfb), its file operations used as
# an operator would: a configuration file is created from the emulated R40's
# status, the emulator is tuned elsewhere (with r40ctl, as another operator
# might), and the file is loaded and applied again, which must bring the
# emulator back to its first channel and make the file the last-used one.
# Runs in a network namespace of its own; exit 77 (skipped) where one cannot
# be made.
#   run_console_file_operations.sh CONSOLE SIM R40CTL SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
run_in_private_network "$0" "$@"
console=$1 sim=$2 r40ctl=$3 screenshot=$4
begin_walk "console file operations"

start_xvfb || fail "Xvfb did not start"
"$sim" --interval-ms 300 r40@127.0.0.20 >"$work/sim.log" 2>&1 &
track_pid $!

# Waits up to $1 tenths of a second for the command that follows to succeed.
within() {
    local tenths=$1
    shift
    for _ in $(seq "$tenths"); do "$@" && return 0; sleep 0.1; done
    "$@"
}

cd "$work"
start_console "$console" || fail "no window named R40 Management Console"

# 96 dots per inch: a dialog unit is 1.75 pixels each way. The load/save
# dialog stands on the main window's top-left corner.
at() { echo $(($1 + $3 * 7 / 4)) $(($2 + $4 * 7 / 4)); }
select_device 02-5C-C1-00-00-14 || fail "the R40 was not selected and polled"

# Runs file operation `box` (its check box's top-left corner in dialog
# units) on `path`.
operate() {
    local box_y=$1 path=$2
    xdotool mousemove $(at $X $Y 113 80) click 1     # file operations (1005)
    sleep 1
    xdotool mousemove $(at $X $Y 11 $((box_y + 5))) click 1
    sleep 0.5
    xdotool mousemove $(at $X $Y 64 110) click 1     # the path box
    xdotool type --delay 20 "$path"
    sleep 0.3
}

# Operation 4: a file from the receiver's status (channel 30).
first="$work/first.xml"
operate 41 "$first"
xdotool key Return
within 100 grep -q "<Channel>30</Channel>" "$first" 2>/dev/null ||
    fail "no file with channel 30 was created from the status"
grep -q "<DeviceIP>127.0.0.20</DeviceIP>" "$first" || fail "the file lacks the receiver's address"
echo "console file operations: $first created from the status"

"$r40ctl" tune 127.0.0.20 --channel 45 >/dev/null || fail "r40ctl could not tune the emulator"
grep -q "tuned to channel 45" "$work/sim.log" || fail "the emulator was not tuned to 45"

# Operation 3: load the file and apply all of it.
operate 59 "$first"
xdotool key Return
sleep 1.5
import -window root "$screenshot" || fail "no screenshot"
within 200 grep -q "tuned to channel 30" "$work/sim.log" ||
    fail "applying the file did not tune the emulator back to channel 30"
within 50 cmp -s "$first" "$work/lastused.xml" || fail "lastused.xml is not the applied file"
echo "console file operations: applying the file tuned the emulator back to channel 30"
sleep 2.5                                      # the dialog closes 2 s after the last stage
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"
shut_down_console 10 || fail "$SHUT_DOWN_FAULT"
echo "console file operations: shut down cleanly"
