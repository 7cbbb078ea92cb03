#!/usr/bin/env bash
# Runs a test program on a private Xvfb server (no window manager) with Qt's
# xcb platform, so that it sees the stacking order and the pixels of a real
# X server. Exit 77 (skipped) where Xvfb is not installed.
#   run_under_xvfb.sh PROGRAM [ARGS...]
set -u
program=$1
shift
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed"
    exit 77
fi

ready=$(mktemp)
# -displayfd picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    rm -f "$ready"
}
trap cleanup EXIT
for _ in $(seq 100); do
    [ -s "$ready" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
done
display=$(head -n 1 "$ready")
if [ -z "$display" ]; then
    echo "run_under_xvfb: Xvfb did not start"
    exit 1
fi

# Under the sanitizers, leaks inside the window system's libraries are theirs.
supp="$(cd "$(dirname "$0")/../console" && pwd)/system_library_leaks.supp"
DISPLAY=":$display" QT_QPA_PLATFORM=xcb \
    LSAN_OPTIONS="suppressions=$supp:print_suppressions=0" "$program" "$@"
