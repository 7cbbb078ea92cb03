#!/usr/bin/env bash
# r40ctl changes the network settings of an emulated receiver outside the
# workstation's subnet: workstation namespace A (10.0.0.7/24) and the
# receiver's namespace B (192.168.1.20), joined by a veth pair. Afterwards
# the receiver answers at its new address and A's route and neighbour
# tables hold nothing for it. Exit 77 (skipped) where namespaces cannot be made.
#   run_r40ctl_outside_subnet.sh SIM R40CTL
set -u
sim=$1 r40ctl=$2
id=$$
a=r40ca$id b=r40cb$id wa=r40cw$id rb=r40cr$id
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
fail() { echo "FAILED: $*"; exit 1; }
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

out=$(ip netns exec "$a" "$r40ctl" network 02-5C-C1-A8-01-14 --address 192.168.1.21 \
      --gateway 192.168.1.1 --igmp on --json)
rc=$?
[ $rc = 0 ] || fail "network: exit $rc: $out"
python3 -c 'import json,sys; d=json.loads(sys.argv[1]); assert d["ok"] and d["receiver"]["address"] == "192.168.1.21" and d["igmp"] is True, d' "$out" \
    || fail "network JSON: $out"
left=$(ip -n "$a" route show table all | grep -E '^192\.168\.1\.2[01] '; ip -n "$a" neigh show | grep -i 02:5c:c1:a8:01:14)
[ -z "$left" ] || fail "left behind in A: $left"

out=$(ip netns exec "$a" "$r40ctl" status 192.168.1.21 --json)
rc=$?
[ $rc = 0 ] || fail "status at the new address: exit $rc: $out"
python3 -c 'import json,sys; d=json.loads(sys.argv[1]); s=d["status"]; assert s["address"] == "192.168.1.21" and s["gateway"] == "192.168.1.1" and s["igmp"] is True, d' "$out" \
    || fail "status JSON: $out"
echo "r40ctl moved 192.168.1.20 to 192.168.1.21 from outside its subnet, nothing left behind"
