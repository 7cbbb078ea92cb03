"""Asks a running Prometheus, through its HTTP API, for what r40ctl
exporter gave it: waits (at most 60 s) until two scrapes of the r40 job are
stored, then wants r40_receiver_locked = 1 for every MAC address named, and
data for every query of the Grafana dashboard.

Usage: query_prometheus.py PROMETHEUS_URL DASHBOARD_JSON MAC..."""
import json
import re
import sys
import time
import urllib.parse
import urllib.request

DEADLINE = time.monotonic() + 60


def query(base, expr):
    url = base + "/api/v1/query?" + urllib.parse.urlencode({"query": expr})
    with urllib.request.urlopen(url, timeout=5) as answer:
        document = json.load(answer)
    if document.get("status") != "success":
        raise RuntimeError("query %r: %s" % (expr, document))
    return document["data"]["result"]


def wait_for(what, check):
    last = None
    while time.monotonic() < DEADLINE:
        try:
            result = check()
            if result:
                return result
        except OSError as error:  # Prometheus not listening yet
            last = error
        time.sleep(0.5)
    raise SystemExit("gave up waiting for %s (%s)" % (what, last))


def main():
    base, dashboard, macs = sys.argv[1], sys.argv[2], sys.argv[3:]
    wait_for("two scrapes of the exporter",
             lambda: any(float(r["value"][1]) >= 2 for r in
                         query(base, 'count_over_time(up{job="r40"}[5m])')))
    up = query(base, 'up{job="r40"}')
    if not up or up[0]["value"][1] != "1":
        raise SystemExit("the exporter's target is not up: %s" % up)

    def locked():
        result = {r["metric"]["mac"]: r["value"][1] for r in query(base, "r40_receiver_locked")}
        return result if all(result.get(mac) == "1" for mac in macs) else None
    result = wait_for("r40_receiver_locked of every receiver", locked)
    for mac in macs:
        print("r40_receiver_locked{mac=%s} = %s" % (mac, result[mac]))

    # Every panel of the dashboard, its variables as Grafana fills them.
    with open(dashboard) as f:
        panels = json.load(f)["panels"]
    for panel in panels:
        for target in panel["targets"]:
            expr = target["expr"].replace("$mac", ".*").replace("$__rate_interval", "1m")
            rows = query(base, expr)
            if not rows:
                raise SystemExit("dashboard panel %r: no data for %s" % (panel["title"], expr))
            labels = rows[0]["metric"]
            if not re.match(r"^\d+\.\d+\.\d+\.\d+$", labels.get("address", "")) or not labels.get("model"):
                raise SystemExit("panel %r lacks the info labels: %s" % (panel["title"], labels))
            print("panel %r: %d series" % (panel["title"], len(rows)))


if __name__ == "__main__":
    main()
