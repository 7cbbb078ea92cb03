#include "tools/r40ctl/exporter/index_page.h"

#include <cstdio>

#include "tools/r40ctl/receiver_lookup.h"

namespace r40ctl::exporter {
namespace {

std::string Cell(const std::string& text) {
    return "<td>" + EscapeHtml(text) + "</td>";
}

std::string Ago(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s ago", seconds);
    return text;
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string IndexPage(const TableSnapshot& snapshot) {
    std::string page =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>R40 receiver "
        "exporter</title></head>\n<body>\n<h1>R40 receiver exporter</h1>\n"
        "<p><a href=\"/metrics\">Metrics</a> for Prometheus.</p>\n";
    page += "<p>" + std::to_string(snapshot.receivers.size()) + " of at most " +
            std::to_string(snapshot.receiverLimit) + " receivers tracked.</p>\n";
    if (!snapshot.receivers.empty()) {
        page +=
            "<table>\n<tr><th>MAC address</th><th>address</th><th>model</th><th>status "
            "port</th><th>state</th><th>lock</th><th>last status</th></tr>\n";
        for (const ReceiverView& r : snapshot.receivers) {
            const bool heard = r.heard;
            page += "<tr>" + Cell(FormatMac(r.mac.data())) +
                    Cell(heard ? FormatIpv4(r.address.data()) : "-") +
                    Cell(heard ? ModelName(r.type) : "-") +
                    Cell(heard ? std::to_string(r.statusPort) : "-") + Cell(r.up ? "up" : "down") +
                    Cell(!r.up              ? "-"
                         : r.reading.locked ? "locked"
                                            : "unlocked") +
                    Cell(heard ? Ago(r.secondsSinceStatus) : "never (expected)") + "</tr>\n";
        }
        page += "</table>\n";
    }
    page += "</body></html>\n";
    return page;
}

}  // namespace r40ctl::exporter
