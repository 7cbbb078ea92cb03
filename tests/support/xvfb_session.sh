# What every walk of the real console under Xvfb shares: a network namespace
# of its own, an X server of its own, the console started and found, a clean
# shut-down, and cleaning up whatever the walk started. Source it:
#
#   . "$(dirname "$0")/../support/xvfb_session.sh"
#   run_in_private_network "$0" "$@"     # exit 77 where no namespace can be made
#   start_xvfb 1024x768x24 || fail "Xvfb did not start"
#   track_pid "$sim_pid"; track_dir "$work"
#   start_console "$console" || fail "no window named R40 Management Console"
#   ...
#   shut_down_console 30 || fail "$SHUT_DOWN_FAULT"
#
# The X server is started with -displayfd in a directory of X sockets of the
# walk's own, so it picks a display no other server holds and says which
# once it accepts clients: two walks, or a walk beside someone else's Xvfb,
# never share a screen. The Qt platform is set
# here, whatever the caller's environment says (QT_QPA_PLATFORM=offscreen is
# common in test environments and would hide every window from X).

SESSION_SUPPORT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
SESSION_PIDS=()
SESSION_DIRS=()
CONSOLE_PID=""

# Runs the calling script again in a network namespace of its own, with its
# loopback up, and a directory of X sockets of its own (see
# private_x_sockets); call as run_in_private_network "$0" "$@".
run_in_private_network() {
    if [ "${R40_WALK_NAMESPACE:-}" = inside ]; then
        ip link set lo up
        private_x_sockets
        return 0
    fi
    if ! unshare -n -m true 2>/dev/null; then
        echo "SKIPPED: cannot create a network namespace (needs root)"
        exit 77
    fi
    R40_WALK_NAMESPACE=inside exec unshare -n -m "$@"
}

# Runs the calling script again with a directory of X sockets of its own
# where the machine allows a mount namespace, else as it is; call as
# run_with_private_x_sockets "$0" "$@".
run_with_private_x_sockets() {
    if [ "${R40_WALK_NAMESPACE:-}" = inside ]; then
        private_x_sockets
        return 0
    fi
    unshare -m true 2>/dev/null || return 0
    R40_WALK_NAMESPACE=inside exec unshare -m "$@"
}

# Xvfb -displayfd takes the first display whose socket it can make, and the
# sockets' directory /tmp/.X11-unix is shared by every network namespace:
# servers started at once in two namespaces both took :0 there, and one
# server's clients then reached the other or none ("could not connect to
# display :0"). In a mount namespace of the walk's own the directory is
# private, and so is every display number.
private_x_sockets() {
    mkdir -p /tmp/.X11-unix
    mount -t tmpfs -o mode=1777 r40-x-sockets /tmp/.X11-unix
}

# Names the walk for its messages and gives it a folder of its own, $work;
# the logs it keeps there (*.log) are shown when it fails.
begin_walk() {
    WALK_NAME=$1
    work=$(mktemp -d)
    track_dir "$work"
}

fail() {
    local log
    echo "$WALK_NAME: $*"
    for log in "$work"/*.log; do [ -f "$log" ] && sed "s|^|  $(basename "$log" .log): |" "$log"; done
    exit 1
}

track_pid() { SESSION_PIDS+=("$@"); }
track_dir() { SESSION_DIRS+=("$@"); }

session_cleanup() {
    [ -n "$CONSOLE_PID" ] && kill "$CONSOLE_PID" 2>/dev/null
    [ ${#SESSION_PIDS[@]} -gt 0 ] && kill "${SESSION_PIDS[@]}" 2>/dev/null
    wait 2>/dev/null
    [ ${#SESSION_DIRS[@]} -gt 0 ] && rm -rf "${SESSION_DIRS[@]}"
}
trap session_cleanup EXIT

# Starts an X server of its own (screen geometry $1, default 1024x768x24) and
# points DISPLAY and Qt at it; false when none started. A server that ends at
# once (seen when many walks start together and race for a display's lock
# file in the shared /tmp) is started again; the last one's words are shown.
start_xvfb() {
    local attempt
    if [ -z "${XVFB_LOG:-}" ]; then
        XVFB_LOG=$(mktemp)
        track_dir "$XVFB_LOG"
    fi
    for attempt in 1 2 3; do
        start_xvfb_once "${1:-1024x768x24}" && return 0
        sleep 0.$((RANDOM % 10))
    done
    sed 's/^/Xvfb: /' "$XVFB_LOG" >&2
    return 1
}

start_xvfb_once() {
    local ready number
    ready=$(mktemp)
    # -noreset: a server resets when its last client goes, and a client
    # arriving meanwhile (the console after the readiness check) is refused.
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp -noreset 3>"$ready" >"$XVFB_LOG" 2>&1 &
    local xvfb_pid=$!
    track_pid "$xvfb_pid"
    for _ in $(seq 200); do
        [ -s "$ready" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.05
    done
    number=$(head -n 1 "$ready")
    rm -f "$ready"
    # Answering, and still the server this session started; else it goes.
    if [ -z "$number" ] ||
        ! DISPLAY=":$number" wait_until 5 'xdpyinfo >/dev/null 2>&1' ||
        ! kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null
        return 1
    fi
    export DISPLAY=":$number" QT_QPA_PLATFORM=xcb
    # Under the sanitizers, leaks inside the window system's libraries are theirs.
    export LSAN_OPTIONS="suppressions=$SESSION_SUPPORT_DIR/../console/system_library_leaks.supp:print_suppressions=0"
}

# Starts the console ($1) in the current directory, where it keeps its
# last-used file, and waits for its main window: sets CONSOLE_PID, WINDOW
# and the window's X, Y, WIDTH and HEIGHT. False when no window came.
start_console() {
    "$1" &
    CONSOLE_PID=$!
    WINDOW=""
    for _ in $(seq 150); do
        WINDOW=$(xdotool search --name "^R40 Management Console$" 2>/dev/null | head -1)
        [ -n "$WINDOW" ] && break
        kill -0 "$CONSOLE_PID" 2>/dev/null || return 1
        sleep 0.2
    done
    [ -n "$WINDOW" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
}

# Picks the receiver with MAC address $1 from the main window's device list:
# typed into the dropped list, which finds the entry that begins so (the
# entries stand in the order the receivers were heard, which varies). The
# keys wait for the list to be shown: typed into the main window they would
# go nowhere. False when the list did not drop down.
pick_device() {
    local shown
    shown=$(console_windows)
    # The device-list button at (208, 11) dialog units, 1.75 pixels each.
    xdotool mousemove $((X + 208 * 7 / 4)) $((Y + 11 * 7 / 4)) click 1
    PICK_SHOWN=$shown
    wait_until 5 '[ "$(console_windows)" -gt "$PICK_SHOWN" ]' || return 1
    sleep 0.2
    xdotool type --delay 20 "$1"
    xdotool key Return
    wait_until 5 '[ "$(console_windows)" -le "$PICK_SHOWN" ]'
}

# Picks the receiver with MAC address $1 and waits for its first status to
# light the Lock indicator; tries again while the first discovery passes
# have not yet listed it. Then rests a moment: the indicator lights from
# the first status, a little before the console has opened the device and
# takes presses of its buttons. False when it never lit.
select_device() {
    local attempt
    for attempt in 1 2 3 4 5; do
        pick_device "$1" && wait_until 10 lock_lit && sleep 1.5 && return 0
        sleep 1
    done
    return 1
}

# Whether the main window's Lock indicator (8 x 6 dialog units at 75, 8)
# shows green or red: a receiver is selected and its status has come.
lock_lit() {
    local shot lit
    shot=$(mktemp --suffix=.png)
    import -window root -crop "14x10+$((X + 75 * 7 / 4))+$((Y + 8 * 7 / 4))" +repage "$shot" 2>/dev/null
    lit=$(convert "$shot" -fx '(g>0.9 && r<0.1 && b<0.1) || (r>0.9 && g<0.1 && b<0.1)' \
              -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
    rm -f "$shot"
    [ "${lit:-0}" -gt 10 ]
}

# How many windows of the console are shown now.
console_windows() {
    xdotool search --onlyvisible --pid "$CONSOLE_PID" 2>/dev/null | wc -l
}

# Opens the configuration menu and its channel dialog, enters channel $1 and
# presses Enter (OK), as an operator does; a screenshot of the filled-in
# dialog goes to $2 when given. At 96 dots per inch a dialog unit is 1.75
# pixels each way; the menu docks under the main window's left edge, the
# channel dialog to its right.
enter_channel_from_menu() {
    local main_bottom=$((Y + HEIGHT)) menu_right=$((X + 63 * 7 / 4))
    xdotool mousemove $((X + 37 * 7 / 4)) $((Y + 80 * 7 / 4)) click 1  # configuration menu
    sleep 1
    xdotool mousemove $((X + 31 * 7 / 4)) $((main_bottom + 35 * 7 / 4)) click 1  # channel
    sleep 1
    xdotool mousemove $((menu_right + 117 * 7 / 4)) $((main_bottom + 43 * 7 / 4)) click 1  # edit
    xdotool key ctrl+a BackSpace
    xdotool type --delay 50 "$1"
    sleep 0.3
    if [ -n "${2:-}" ]; then import -window root "$2" || fail "no screenshot"; fi
    xdotool key Return
}

# Tries a condition again every 0.3 s until it holds (true) or $1 seconds
# have gone (false): a loaded machine may take longer, and the checks must
# not depend on how long.
wait_until() {
    local end=$((SECONDS + $1))
    shift
    until eval "$@"; do
        [ "$SECONDS" -ge "$end" ] && return 1
        sleep 0.3
    done
}

# Escape on the main window, as an operator ends the console; waits up to
# $1 seconds (a discovery pass or a poll in progress is waited for) and
# wants exit status 0. On false, SHUT_DOWN_FAULT says what went wrong.
shut_down_console() {
    local status
    # Without a window manager nothing gives the main window the keyboard
    # back after a click elsewhere: a click on its logo does.
    xdotool mousemove $((X + 35)) $((Y + 70)) click 1
    sleep 0.3
    xdotool key --window "$WINDOW" Escape
    if ! wait_until "$1" '! kill -0 "$CONSOLE_PID" 2>/dev/null'; then
        SHUT_DOWN_FAULT="the console did not end on Escape"
        return 1
    fi
    wait "$CONSOLE_PID"
    status=$?
    CONSOLE_PID=""
    if [ "$status" != 0 ]; then
        SHUT_DOWN_FAULT="the console ended with status $status"
        return 1
    fi
}
