#!/usr/bin/env bash
# Python's ctypes changes the network settings of an emulated receiver that
# lies outside the workstation's subnet: workstation namespace A
# (10.0.0.7/24) and the receiver's namespace B (192.168.1.20) joined by a
# veth pair. Exit 77 (skipped) where namespaces cannot be made.
#   run_ctypes_outside_subnet.sh SIM LIBDEVICELIB SCRIPT
set -u
sim=$1 lib=$2 script=$3
id=$$
a=r40pa$id b=r40pb$id wa=r40pw$id rb=r40pr$id
if [ "$(id -u)" != 0 ] || ! ip netns add "$a" 2>/dev/null; then
    echo "SKIPPED: needs root and iproute2 to make network namespaces"
    exit 77
fi
cleanup() {
    [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    ip netns del "$a" 2>/dev/null
    ip netns del "$b" 2>/dev/null
}
trap cleanup EXIT
set -e
ip netns add "$b"
for ns in "$a" "$b"; do
    ip -n "$ns" link set lo up
    ip netns exec "$ns" sysctl -qw net.ipv4.conf.all.rp_filter=0 net.ipv4.conf.default.rp_filter=0
done
ip link add "$wa" type veth peer name "$rb"
ip link set "$wa" netns "$a"
ip link set "$rb" netns "$b"
ip -n "$a" addr add 10.0.0.7/24 dev "$wa"
ip -n "$a" link set "$wa" up
# The emulator gives 192.168.1.20 the MAC address 02-5C-C1-A8-01-14.
ip -n "$b" link set "$rb" address 02:5c:c1:a8:01:14
ip -n "$b" addr add 192.168.1.20/24 dev "$rb"
ip -n "$b" addr add 192.168.1.21/24 dev "$rb"
ip -n "$b" link set "$rb" up
ip -n "$b" route add 10.0.0.0/24 dev "$rb"
ip -n "$b" neigh add 10.0.0.7 lladdr "$(ip netns exec "$a" cat /sys/class/net/"$wa"/address)" \
    dev "$rb" nud permanent
set +e
ip netns exec "$b" "$sim" --quiet --interval-ms 100 --unicast 10.0.0.7 r40@192.168.1.20 &
sim_pid=$!
sleep 0.3
preload=$(ldd "$lib" | grep -oE '/[^ ]*lib(a|ub)san\.so[^ ]*' | tr '\n' ' ')
LD_PRELOAD="$preload" ASAN_OPTIONS=detect_leaks=0 ip netns exec "$a" \
    python3 "$script" "$lib" 192.168.1.20 192.168.1.21 255.255.255.0 10.0.0.7
