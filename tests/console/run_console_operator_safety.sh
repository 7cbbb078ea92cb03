#!/usr/bin/env bash
# The real r40console on a real X server (Xvfb), where a careless Enter
# could hurt a head-end:
#  1. the last-used file was made from another receiver (the R40V at
#     127.0.0.21): the R40's network dialog starts with the R40's own
#     address, and Enter leaves the R40 where it is;
#  2. a T22: its Channel button opens the satellite tuning dialog,
#     and what reaches the receiver is a frequency and symbol rate, never an
#     RF channel.
# Runs in a network namespace of its own; exit 77 (skipped) where one cannot
# be made.
#   run_console_operator_safety.sh CONSOLE SIM SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
run_in_private_network "$0" "$@"
console=$1 sim=$2 screenshot=$3
begin_walk "console operator safety"

start_xvfb || fail "Xvfb did not start"
"$sim" --interval-ms 300 r40@127.0.0.20 >"$work/r40.log" 2>&1 &
track_pid $!

# What the console last sent to the R40V, kept in its working directory.
cat >"$work/lastused.xml" <<'XML'
<?xml version="1.0" standalone="yes" ?>
<Device MACByte2="0" MACByte1="0" MACByte0="21">
    <DefaultGW>127.0.0.1</DefaultGW>
    <DeviceIP>127.0.0.21</DeviceIP>
    <DeviceSubNet>255.0.0.0</DeviceSubNet>
    <UnicastStatus>255.255.255.255</UnicastStatus>
    <UseIGMP>No</UseIGMP>
    <Channel>61</Channel>
</Device>
XML
cd "$work"
start_console "$console" || fail "no window named R40 Management Console"

# 96 dots per inch: a dialog unit is 1.75 pixels each way. The menu docks
# under the main window's left edge, its dialogs to its right.
at() { echo $(($1 + $3 * 7 / 4)) $(($2 + $4 * 7 / 4)); }
main_bottom=$((Y + HEIGHT))
menu_right=$((X + 63 * 7 / 4))

# 1. The R40, with the R40V's last-used file.
"$sim" --interval-ms 300 t22v3@127.0.0.22 >"$work/t22.log" 2>&1 &
track_pid $!
select_device 02-5C-C1-00-00-14 || fail "the R40 was not selected and polled"
xdotool mousemove $(at $X $Y 37 80) click 1                # configuration menu
sleep 1
xdotool mousemove $(at $X $main_bottom 31 12) click 1      # network button
sleep 1.5
xdotool key Return                                         # confirmed unchanged
wait_until 20 'grep -q "network settings:" "$work/r40.log"' ||
    fail "the network settings were not sent"
grep -q "network settings: address 127.0.0.20," "$work/r40.log" ||
    fail "the R40 was sent another address than its own"
grep -q "now at 127.0.0.21" "$work/r40.log" && fail "the R40 took the R40V's address"
wait_until 5 'grep -q "MACByte0=\"20\"" "$work/lastused.xml"' ||
    fail "lastused.xml was not made the R40's"
echo "console operator safety: the R40 kept its own address"
# The apply confirms the settings from the R40's status after a 4 s wait,
# then shows its result for 1.5 s; the menu holds the mouse till then.
sleep 9

# 2. The T22, tuned through the menu's Channel button.
pick_device 02-5C-C1-00-00-16
sleep 3
xdotool mousemove $(at $X $main_bottom 31 35) click 1      # channel button
sleep 1.5
xdotool mousemove $(at $menu_right $main_bottom 123 15) click 1  # frequency
xdotool key ctrl+a BackSpace
xdotool type --delay 50 1150
xdotool mousemove $(at $menu_right $main_bottom 123 30) click 1  # symbol rate
xdotool key ctrl+a BackSpace
xdotool type --delay 50 22
sleep 0.3
import -window root "$screenshot" || fail "no screenshot"
xdotool key Return
wait_until 20 'grep -q "tuned to" "$work/t22.log"' || fail "the T22 was not tuned"
grep -q "tuned to symbol rate 22000/1000, frequency 11500/10" "$work/t22.log" ||
    fail "the T22 was not tuned to 1150 MHz at 22 Msym/s"
grep -q "tuned to channel" "$work/t22.log" && fail "an RF channel reached the T22"
echo "console operator safety: the T22 was tuned by frequency and symbol rate"
sleep 2
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"
shut_down_console 30 || fail "$SHUT_DOWN_FAULT"
echo "console operator safety: shut down cleanly"
