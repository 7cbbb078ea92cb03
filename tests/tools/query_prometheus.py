"""Asks a running Prometheus, through its HTTP API, for what r40ctl
exporter gave it (everything within 60 s):

- two scrapes of every exporter of the job r40 stored, every target up;
- r40_receiver_locked = 1 for every MAC address named, from each exporter;
- every query of the Grafana dashboard, its variables set to all: one
  series per exporter for each receiver it shows, with its address and
  model; with two exporters, the old join on(mac) alone must be refused as
  many-to-many (so the two really hear the same receivers);
- every alerting rule evaluated without error, and R40ReceiverSilent
  pending or firing for the expected receiver that never sends.

Usage: query_prometheus.py PROMETHEUS_URL DASHBOARD_JSON EXPORTERS EXPECTED_MAC MAC..."""
import json
import re
import sys
import time
import urllib.error
import urllib.parse
import urllib.request

DEADLINE = time.monotonic() + 60
NEVER = "0001-01-01T00:00:00Z"


def api(base, path, params=None):
    url = base + path + ("?" + urllib.parse.urlencode(params) if params else "")
    try:
        with urllib.request.urlopen(url, timeout=5) as answer:
            return json.load(answer)
    except urllib.error.HTTPError as error:
        try:
            return json.load(error)  # a refused query: its error document
        except ValueError:
            raise error from None  # not ready yet: waited for as OSError


def query(base, expr):
    document = api(base, "/api/v1/query", {"query": expr})
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
    base, dashboard, exporters, expected = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    macs = sys.argv[5:]
    wait_for("two scrapes of every exporter",
             lambda: len([r for r in query(base, 'count_over_time(up{job="r40"}[5m]) >= 2')])
             == exporters)
    up = query(base, 'up{job="r40"}')
    if len(up) != exporters or any(r["value"][1] != "1" for r in up):
        raise SystemExit("the exporters' targets are not all up: %s" % up)

    def locked():
        rows = query(base, "r40_receiver_locked == 1")
        heard = {(r["metric"]["mac"], r["metric"]["instance"]) for r in rows}
        return rows if all(len({i for m, i in heard if m == mac}) == exporters
                           for mac in macs) else None
    for row in sorted(wait_for("r40_receiver_locked of every receiver from every exporter",
                               locked), key=lambda r: (r["metric"]["mac"], r["metric"]["instance"])):
        print("r40_receiver_locked{mac=%s,instance=%s} = %s"
              % (row["metric"]["mac"], row["metric"]["instance"], row["value"][1]))

    # Every panel of the dashboard, its variables as Grafana fills them for
    # "All".
    with open(dashboard) as f:
        panels = json.load(f)["panels"]
    for panel in panels:
        for target in panel["targets"]:
            expr = (target["expr"].replace("$instance", ".*").replace("$mac", ".*")
                    .replace("$__rate_interval", "1m"))
            rows = query(base, expr)
            if not rows:
                raise SystemExit("dashboard panel %r: no data for %s" % (panel["title"], expr))
            per_mac = {}
            for row in rows:
                labels = row["metric"]
                if labels["mac"] == expected:
                    continue  # never heard: no address, no model
                if (not re.match(r"^\d+\.\d+\.\d+\.\d+$", labels.get("address", ""))
                        or not labels.get("model")):
                    raise SystemExit("panel %r lacks the info labels: %s"
                                     % (panel["title"], labels))
                per_mac.setdefault(labels["mac"], []).append(labels["instance"])
            for mac, instances in per_mac.items():
                if len(instances) != exporters or len(set(instances)) != exporters:
                    raise SystemExit("panel %r: %s shown from %s, not once per exporter"
                                     % (panel["title"], mac, instances))
            print("panel %r: %d series, %s" % (panel["title"], len(rows), expr))

    if exporters > 1:
        old = "r40_receiver_up * on(mac) group_left(address, model) r40_receiver_info"
        refused = api(base, "/api/v1/query", {"query": old})
        if refused.get("status") != "error" or "many-to-many" not in refused.get("error", ""):
            raise SystemExit("the join on(mac) alone was not refused: %s" % refused)
        print("on(mac) alone: %s" % refused["error"])

    def evaluated():
        rules = [r for g in api(base, "/api/v1/rules")["data"]["groups"] for r in g["rules"]]
        return rules if rules and all(r["lastEvaluation"] != NEVER for r in rules) else None
    for rule in wait_for("every alerting rule evaluated", evaluated):
        if rule["health"] != "ok":
            raise SystemExit("rule %s: %s %s" % (rule["name"], rule["health"],
                                                 rule.get("lastError")))
        print("rule %s: %s" % (rule["name"], rule["health"]))

    def silent():
        alerts = api(base, "/api/v1/alerts")["data"]["alerts"]
        return [a for a in alerts if a["labels"]["alertname"] == "R40ReceiverSilent"
                and a["labels"].get("mac") == expected]
    for alert in wait_for("R40ReceiverSilent of the expected receiver", silent):
        print("R40ReceiverSilent{mac=%s,instance=%s}: %s"
              % (expected, alert["labels"]["instance"], alert["state"]))
    heard_silent = [a for a in api(base, "/api/v1/alerts")["data"]["alerts"]
                    if a["labels"]["alertname"] == "R40ReceiverSilent"
                    and a["labels"].get("mac") in macs]
    if heard_silent:
        raise SystemExit("receivers that send are said to be silent: %s" % heard_silent)


if __name__ == "__main__":
    main()
