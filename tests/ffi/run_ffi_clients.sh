#!/usr/bin/env bash
# Runs the C and Python clients against emulated receivers of every model,
# in a network namespace of their own. Exit 77 (skipped) without the rights
# to make one.
#   run_ffi_clients.sh SIM C_CLIENT LIBDEVICELIB CTYPES_CLIENT
set -u
if [ "${1:-}" != "--inside" ]; then
    if ! unshare -n true 2>/dev/null; then
        echo "SKIPPED: cannot create a network namespace (needs root)"
        exit 77
    fi
    exec unshare -n "$0" --inside "$@"
fi
shift
sim=$1 c_client=$2 lib=$3 ctypes_client=$4
ip link set lo up
"$sim" --quiet --interval-ms 50 --reset-pause-ms 200 \
    r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22 t22v2@127.0.0.23 \
    t22ca@127.0.0.24 trevan@127.0.0.25 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null; wait $sim_pid 2>/dev/null' EXIT
sleep 0.3
"$c_client" || exit 1
# A sanitizer build of the library needs its runtimes loaded first into the
# (uninstrumented) Python interpreter.
preload=$(ldd "$lib" | grep -oE '/[^ ]*lib(a|ub)san\.so[^ ]*' | tr '\n' ' ')
LD_PRELOAD="$preload" ASAN_OPTIONS=detect_leaks=0 python3 "$ctypes_client" "$lib" || exit 1
LD_PRELOAD="$preload" ASAN_OPTIONS=detect_leaks=0 python3 "$(dirname "$ctypes_client")/ctypes_network_settings.py" \
    "$lib" 127.0.0.20 127.0.0.30 255.0.0.0 255.255.255.255 || exit 1
