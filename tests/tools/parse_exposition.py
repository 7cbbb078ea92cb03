"""Parses a Prometheus text exposition with prometheus_client's own parser.

Reads the text on stdin; writes one JSON document: {"types": {family: type},
"samples": [{"name", "labels", "value"}]}, values as text so that +Inf and
NaN survive. A text the parser refuses ends with exit status 1; exit status
77 when prometheus_client is not installed."""
import json
import sys

try:
    from prometheus_client.parser import text_string_to_metric_families
except ImportError:
    print("parse_exposition: prometheus_client is not installed", file=sys.stderr)
    sys.exit(77)


def main():
    types = {}
    samples = []
    try:
        for family in text_string_to_metric_families(sys.stdin.read()):
            types[family.name] = family.type
            for sample in family.samples:
                samples.append({"name": sample.name, "labels": sample.labels,
                                "value": repr(float(sample.value))})
    except Exception as error:  # the parser's refusal, whatever its type
        print("parse_exposition: refused: %s" % error, file=sys.stderr)
        return 1
    json.dump({"types": types, "samples": samples}, sys.stdout)
    return 0


if __name__ == "__main__":
    sys.exit(main())
