#!/usr/bin/env bash
# r40console.exe under Wine on an X server, walked as an operator would:
# an emulated R40 (r40-receiver-sim.exe in the same Wine slot, so on the
# same loopback) is listed, selecting it lights Lock and Data, the status
# panel shows its channel, Configure -> Channel -> 33 -> Enter tunes the
# emulator, and the console keeps channel 33 in its last-used file in the
# user's application data. Leaves a screenshot. Run through
# `scripts/wine-run --host`, which gives it a Wine slot (WINE, WINEPREFIX,
# DISPLAY); alone it starts an X server of its own.
#   run_console_walk.sh CONSOLE.exe SIM.exe SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
console=$1 sim=$2 screenshot=$3
: "${WINE:=wine64}"
begin_walk "console under Wine"
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb || fail "Xvfb did not start"
fi

# Under Wine every emulated receiver stands at 127.0.0.1 (see
# tests/support/wine_loopback.h); its MAC address is that of 127.0.0.1.
"$WINE" "$sim" --interval-ms 300 r40@127.0.0.1 >"$work/sim.log" 2>&1 &
track_pid $!

# The console's files: Wine's %APPDATA% of this prefix's user.
appdata=$("$WINE" cmd.exe /c echo %APPDATA% 2>/dev/null | tr -d '\r')
lastused=$(WINEPREFIX=${WINEPREFIX:-$HOME/.wine} winepath -u "$appdata\\R40 Management Console\\lastused.xml" 2>/dev/null)
[ -n "$lastused" ] && rm -f "$lastused"

printf '#!/bin/sh\nexec "%s" "%s"\n' "$WINE" "$console" >"$work/console.sh"
chmod +x "$work/console.sh"
start_console "$work/console.sh" || fail "no window named R40 Management Console"

# The device list drops as a Win32 menu under the list's button, which
# finds no entry by typing: its first entry (the only receiver) is clicked.
pick_device() {
    xdotool mousemove $((X + 208 * 7 / 4)) $((Y + 11 * 7 / 4)) click 1
    sleep 1
    xdotool mousemove $((X + 199 * 7 / 4 + 40)) $((Y + 17 * 7 / 4 + 8)) click 1
    sleep 0.5
}

# Without a window manager Wine moves the keyboard to no window on a click,
# so Escape might reach the configuration menu: the operator's other way
# out, the shut-down button (12 x 10 dialog units at the corner), is used,
# after a click on the logo has made the main window the active one again
# (Wine without a window manager takes the first click for that).
shut_down_console() {
    local status
    xdotool mousemove $((X + 35)) $((Y + 70)) click 1
    sleep 0.5
    xdotool mousemove $((X + 10)) $((Y + 8)) click 1
    if ! wait_until "$1" '! kill -0 "$CONSOLE_PID" 2>/dev/null'; then
        SHUT_DOWN_FAULT="the console did not end from its shut-down button"
        return 1
    fi
    wait "$CONSOLE_PID"
    status=$?
    CONSOLE_PID=""
    [ "$status" = 0 ] || { SHUT_DOWN_FAULT="the console ended with status $status"; return 1; }
}

at() { echo $(($1 + $3 * 7 / 4)) $(($2 + $4 * 7 / 4)); }
select_device 02-5C-C1-00-00-01 || fail "the R40 was not selected and polled"
echo "console under Wine: the R40 is selected and Lock is lit"
# Data (8 x 6 dialog units at 114, 8) lights green with the receiver's data.
shot=$work/indicator.png
import -window root -crop "14x10+$((X + 114 * 7 / 4))+$((Y + 8 * 7 / 4))" +repage "$shot"
green=$(convert "$shot" -fx '(g>0.5 && r<0.3 && b<0.3)' -format '%[fx:round(mean*w*h)]' info:)
[ "${green:-0}" -gt 10 ] || fail "the Data indicator is not lit"
enter_channel_from_menu 33
wait_until 15 'grep -q "channel 33" "$work/sim.log"' ||
    fail "the emulator was not tuned to channel 33"
echo "console under Wine: the emulator was tuned to channel 33"
wait_until 10 'grep -q "<Channel>33</Channel>" "$lastused" 2>/dev/null' ||
    fail "$lastused does not hold channel 33"
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"
# The menu holds the pointer while it shows the result (1.5 s).
sleep 3

# The status panel docks under the main window and shows the channel in
# its field (20 x 10 dialog units at 126, 15), red on white.
xdotool mousemove $(at $X $Y 189 80) click 1
channel=$work/channel.png
ink() {
    import -window root -crop "35x17+$((X + 126 * 7 / 4))+$((Y + HEIGHT + 15 * 7 / 4))" +repage "$channel"
    convert "$channel" -fx '(r-g)>0.15' -format '%[fx:round(mean*w*h)]' info:
}
wait_until 10 '[ "$(ink)" -gt 10 ]' || fail "the status panel shows no channel"
echo "console under Wine: the status panel shows the channel"
sleep 1
import -window root "$screenshot" || fail "no screenshot"

shut_down_console 30 || fail "$SHUT_DOWN_FAULT"
echo "console under Wine: shut down cleanly"
