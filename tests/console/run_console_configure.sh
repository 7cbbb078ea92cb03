#!/usr/bin/env bash
# The real r40console on a real X server (Xvfb), configured as an operator
# would: picks the emulated R40, opens the configuration menu, changes the
# channel in the channel dialog, and checks that the emulator was tuned.
# Runs in a network namespace of its own; exit 77 (skipped) where one cannot
# be made.
#   run_console_configure.sh CONSOLE SIM SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
run_in_private_network "$0" "$@"
console=$1 sim=$2 screenshot=$3
begin_walk "console configure"

start_xvfb || fail "Xvfb did not start"
"$sim" --interval-ms 300 r40@127.0.0.20 >"$work/sim.log" 2>&1 &
track_pid $!

# The console keeps its last-used file in its working directory.
cd "$work"
start_console "$console" || fail "no window named R40 Management Console"

select_device 02-5C-C1-00-00-14 || fail "the R40 was not selected and polled"
enter_channel_from_menu 33 "$screenshot"
wait_until 10 'grep -q "channel 33" "$work/sim.log"' ||
    fail "the emulator was not tuned to channel 33"
echo "console configure: the emulator was tuned to channel 33"
sleep 2
grep -q "<Channel>33</Channel>" "$work/lastused.xml" 2>/dev/null ||
    fail "lastused.xml does not hold channel 33"
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"

shut_down_console 10 || fail "$SHUT_DOWN_FAULT"
echo "console configure: shut down cleanly"
