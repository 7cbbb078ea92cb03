#!/usr/bin/env bash
# Runs a test program on a private Xvfb server (no window manager) with Qt's
# xcb platform, so that it sees the stacking order and the pixels of a real
# X server. Exit 77 (skipped) where Xvfb is not installed.
#   run_under_xvfb.sh PROGRAM [ARGS...]
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
    echo "SKIPPED: Xvfb is not installed"
    exit 77
fi
. "$(dirname "$0")/../support/xvfb_session.sh"
run_with_private_x_sockets "$0" "$@"
start_xvfb || { echo "run_under_xvfb: Xvfb did not start"; exit 1; }
"$@"
