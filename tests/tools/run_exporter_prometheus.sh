#!/usr/bin/env bash
# A real Prometheus server, configured from examples/monitoring with its
# alerting rules, scrapes EXPORTERS instances of r40ctl exporter (1 or 2,
# all hearing the same emulated receivers, as a redundant pair does, and
# all expecting one receiver that never sends); each page passes promtool
# check metrics, and query_prometheus.py asks the HTTP API for every
# receiver, every query of the example Grafana dashboard and the rules. All
# of it in a network namespace of its own, on loopback. Exit 77 (skipped)
# without the prometheus program or without the right to make a namespace.
#   run_exporter_prometheus.sh SIM R40CTL PYTHON SOURCE_DIR EXPORTERS
set -u
sim=$1 r40ctl=$2 python=$3 source=$4 exporters=${5:-1}
prometheus=$(command -v prometheus || true)
promtool=$(command -v promtool || true)
if [ -z "$prometheus" ] || [ -z "$promtool" ]; then
    echo "SKIPPED: needs Debian's prometheus package (prometheus, promtool)"
    exit 77
fi
if [ -z "${R40_PROMETHEUS_NAMESPACE:-}" ]; then
    if ! unshare --net true 2>/dev/null; then
        echo "SKIPPED: needs the right to make a network namespace (root)"
        exit 77
    fi
    export R40_PROMETHEUS_NAMESPACE=1
    exec unshare --net -- "$0" "$@"
fi

fail() { echo "FAILED: $*"; for f in "$dir"/*.log; do echo "--- $f"; tail -20 "$f"; done; exit 1; }
dir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    rm -rf "$dir"
}
trap cleanup EXIT
ip link set lo up || fail "no loopback"

examples=$source/examples/monitoring
"$promtool" check config "$examples/prometheus.yml" >"$dir/promtool.log" 2>&1 ||
    fail "the example scrape configuration does not pass promtool"
"$promtool" check rules "$examples/r40-alerts.yml" >>"$dir/promtool.log" 2>&1 ||
    fail "the example alerting rules do not pass promtool"
expected=02-5C-C1-00-00-99

"$sim" --quiet --interval-ms 200 r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22:8309 \
    trevan@127.0.0.23:18037 >"$dir/sim.log" 2>&1 &
pids+=($!)
targets=()
for ((i = 0; i < exporters; i++)); do
    port=$((9771 + i))
    "$r40ctl" exporter --listen "localhost:$port" --expect $expected >"$dir/exporter$i.log" 2>&1 &
    pids+=($!)
    targets+=("'localhost:$port'")
done
# The example as it stands, scraping and evaluating every second so that
# the test is short, with every exporter as a target.
list=$(IFS=,; echo "${targets[*]}")
sed -e 's/_interval: 15s/_interval: 1s/' -e 's/scrape_timeout: 10s/scrape_timeout: 1s/' \
    -e "s/targets: \['localhost:9771'\]/targets: [$list]/" \
    "$examples/prometheus.yml" >"$dir/prometheus.yml"
cp "$examples/r40-alerts.yml" "$dir/"
"$prometheus" --config.file="$dir/prometheus.yml" --storage.tsdb.path="$dir/data" \
    --web.listen-address=127.0.0.1:9090 --log.level=warn >"$dir/prometheus.log" 2>&1 &
pids+=($!)

"$python" "$source/tests/tools/query_prometheus.py" http://127.0.0.1:9090 \
    "$source/examples/monitoring/grafana-dashboard.json" "$exporters" $expected \
    02-5C-C1-00-00-14 02-5C-C1-00-00-15 02-5C-C1-00-00-16 02-5C-C1-00-00-17 \
    >"$dir/query.log" 2>&1 || fail "$(cat "$dir/query.log")"
cat "$dir/query.log"
# Each exporter's page, as it stands now, passes promtool's lint.
for ((i = 0; i < exporters; i++)); do
    "$python" -c 'import sys, urllib.request; sys.stdout.buffer.write(urllib.request.urlopen(sys.argv[1], timeout=5).read())' \
        "http://127.0.0.1:$((9771 + i))/metrics" >"$dir/page$i.txt" || fail "no page from exporter $i"
    "$promtool" check metrics <"$dir/page$i.txt" >"$dir/lint$i.log" 2>&1 ||
        fail "promtool check metrics: $(cat "$dir/lint$i.log")"
done
echo "promtool check metrics: $exporters page(s) without a complaint"
echo "PASSED"
