#!/usr/bin/env bash
# A real Prometheus server, configured from examples/monitoring (with its
# alerting rules), scrapes
# r40ctl exporter while emulated receivers send status; its HTTP API must
# show r40_receiver_locked of every receiver, and every query of the
# example Grafana dashboard must find data. All of it in a network
# namespace of its own, on loopback. Exit 77 (skipped) without the
# prometheus program or without the right to make a namespace.
#   run_exporter_prometheus.sh SIM R40CTL PYTHON SOURCE_DIR
set -u
sim=$1 r40ctl=$2 python=$3 source=$4
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

"$sim" --quiet --interval-ms 200 r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22:8309 \
    trevan@127.0.0.23:18037 >"$dir/sim.log" 2>&1 &
pids+=($!)
"$r40ctl" exporter >"$dir/exporter.log" 2>&1 &
pids+=($!)
# The example as it stands, scraping every second so that the test is short.
sed -e 's/scrape_interval: 15s/scrape_interval: 1s/' -e 's/scrape_timeout: 10s/scrape_timeout: 1s/' \
    "$examples/prometheus.yml" >"$dir/prometheus.yml"
cp "$examples/r40-alerts.yml" "$dir/"
"$prometheus" --config.file="$dir/prometheus.yml" --storage.tsdb.path="$dir/data" \
    --web.listen-address=127.0.0.1:9090 --log.level=warn >"$dir/prometheus.log" 2>&1 &
pids+=($!)

"$python" "$source/tests/tools/query_prometheus.py" http://127.0.0.1:9090 \
    "$source/examples/monitoring/grafana-dashboard.json" \
    02-5C-C1-00-00-14 02-5C-C1-00-00-15 02-5C-C1-00-00-16 02-5C-C1-00-00-17 \
    >"$dir/query.log" 2>&1 || fail "$(cat "$dir/query.log")"
cat "$dir/query.log"
echo "PASSED"
