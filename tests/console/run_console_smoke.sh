#!/usr/bin/env bash
# Starts the real r40console on a real X server (Xvfb) with three emulated
# receivers, operates it as an operator would (drops the device list, picks
# the R40 with the keyboard, opens the status panel) and checks
# on the screen that each step happened: the selection shows the receiver in
# the message line and lights the Lock indicator; the status panel docks
# under the main window and its channel field follows the receiver's
# channel, which r40ctl changes meanwhile. Saves a screenshot and shuts the
# console down with Escape. Runs in a network namespace of its own; exit 77
# (skipped) where one cannot be made.
#   run_console_smoke.sh CONSOLE SIM R40CTL SCREENSHOT
set -u
. "$(dirname "$0")/../support/xvfb_session.sh"
run_in_private_network "$0" "$@"
begin_walk "console smoke"
console=$1 sim=$2 r40ctl=$3 screenshot=$4
shots=$work

start_xvfb || fail "Xvfb did not start"
"$sim" --quiet --interval-ms 300 r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22 &
track_pid $!
start_console "$console" || fail "no window named R40 Management Console"
window=$WINDOW
echo "console smoke: window $window at $X,$Y size ${WIDTH}x$HEIGHT"

# The layout is fixed at 96 dots per inch: 7 x 14 pixel base units, so a
# dialog unit is 1.75 pixels each way.
at() { echo $((X + $1 * 7 / 4)) $((Y + $2 * 7 / 4)); }
du() { echo $(($1 * 7 / 4)); }

# A rectangle of the screen (left top width height, in pixels) to a file.
grab() {
    import -window root -crop "${4}x${5}+${2}+${3}" +repage "$shots/$1.png" ||
        fail "no screenshot of $1"
}
# How many pixels of a grabbed rectangle have the colour (r,g,b).
count_colour() {
    convert "$shots/$1.png" -fill black +opaque "rgb($2)" -fill white -opaque "rgb($2)" \
        -format '%[fx:round(mean*w*h)]' info:
}
# How many pixels of a grabbed rectangle are red ink on the white display
# (the skin colour, and the lighter edges of its antialiased text).
count_ink() {
    convert "$shots/$1.png" -fx '(r-g)>0.15' -format '%[fx:round(mean*w*h)]' info:
}
# How many pixels two grabs differ in.
differ() {
    compare -metric AE "$shots/$1.png" "$shots/$2.png" null: 2>&1 | cut -d' ' -f1
}
GREEN=0,255,0 RED=255,0,0
# The message line and the Lock indicator of the main window (template 102).
grab_main() {
    grab "$1-message" $((X + $(du 70))) $((Y + $(du 20))) "$(du 148)" "$(du 47)"
    grab "$1-lock" $((X + $(du 75))) $((Y + $(du 8))) "$(du 8)" "$(du 6)"
}
lit() { echo $(($(count_colour "$1-lock" $GREEN) + $(count_colour "$1-lock" $RED))); }
sleep 3  # the first discovery pass
grab_main before
[ "$(lit before)" = 0 ] || fail "the Lock indicator shows before a receiver is selected"
# The R40, with the keyboard. While the first discovery pass is
# still running the list holds only its title, which selects nothing: then
# the list is dropped again.
select_r40() {
    pick_device 02-5C-C1-00-00-14  # the R40
    wait_until 8 'grab_main selected; [ "$(differ before-message selected-message)" -gt 100 ]'
}
select_r40 || select_r40 || select_r40 ||
    fail "the message line did not change on the keyboard selection"
# Opened, first statuses.
wait_until 15 'grab_main selected; [ "$(lit selected)" -gt 10 ]' ||
    fail "the Lock indicator is not shown after the selection"
echo "console smoke: the keyboard selection shows the receiver and its Lock indicator"

# The panel is the console's other window, docked under the main window.
panel=""
find_panel() {
    for candidate in $(xdotool search --onlyvisible --pid "$CONSOLE_PID" 2>/dev/null); do
        [ "$candidate" = "$window" ] && continue
        geometry=$(xdotool getwindowgeometry --shell "$candidate")
        px=$(echo "$geometry" | sed -n 's/^X=//p')
        py=$(echo "$geometry" | sed -n 's/^Y=//p')
        if [ "$px" = "$X" ] && [ "$py" = $((Y + HEIGHT)) ]; then panel=$candidate; fi
    done
    [ -n "$panel" ]
}
# The status panel button. A balloon tip of the control the pointer rested
# on may cover it when a loaded machine is slow, and take the click: the
# pointer rests on the logo first, and a click that opened nothing is
# given again.
open_panel() {
    xdotool mousemove $(at 20 40)
    sleep 0.3
    xdotool mousemove $(at 189 80) click 1
    sleep 0.5
    xdotool mousemove $(at 20 40)
    wait_until 8 find_panel
}
open_panel || open_panel || fail "no status panel docked under the main window"
sleep 0.5  # painted
echo "console smoke: status panel $panel docked at $px,$py"

# Its channel field (template 144) shows the receiver's channel: tuned
# elsewhere, the field changes; tuned back, it shows the same again.
grab_channel() {
    grab "$1" $((px + $(du 126))) $((py + $(du 15))) "$(du 20)" "$(du 10)"
}
tune() {
    for address in 127.0.0.20 127.0.0.21; do
        "$r40ctl" tune "$address" --channel "$1" >/dev/null || fail "r40ctl could not tune $address to $1"
    done
    sleep 1.5  # two polls of the console
}
tune 61
wait_until 10 'grab_channel channel-61; [ "$(count_ink channel-61)" -gt 10 ]' ||
    fail "the channel field shows no value"
tune 7
wait_until 10 'grab_channel channel-7; [ "$(differ channel-61 channel-7)" -gt 5 ]' ||
    fail "the channel field did not follow the receiver"
# Two digits take more ink than one.
[ "$(count_ink channel-61)" -gt "$(count_ink channel-7)" ] ||
    fail "the channel field does not show 61 and 7 as the receiver has them"
tune 61
wait_until 10 'grab_channel channel-61-again; [ "$(differ channel-61 channel-61-again)" = 0 ]' ||
    fail "the channel field does not show the receiver's channel again"
echo "console smoke: the status panel follows the receiver's channel"

import -window root "$screenshot" || fail "no screenshot"
echo "console smoke: screenshot in $screenshot"
kill -0 "$CONSOLE_PID" 2>/dev/null || fail "the console died"

# Escape shuts it down cleanly; shut-down waits for a discovery pass or a
# poll in progress.
shut_down_console 30 || fail "$SHUT_DOWN_FAULT"
echo "console smoke: shut down cleanly"
