#include "tools/r40ctl/exporter/metrics_text.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/r40ctl/receiver_lookup.h"

namespace r40ctl::exporter {
namespace {

using Labels = std::vector<std::pair<std::string_view, std::string>>;

class Exposition {
  public:
    explicit Exposition(std::size_t receivers) { m_text.reserve(2048 + receivers * 1400); }

    void Family(std::string_view name, std::string_view type, std::string_view help) {
        m_text += "# HELP ";
        m_text += name;
        m_text += ' ';
        m_text += EscapeHelp(help);
        m_text += "\n# TYPE ";
        m_text += name;
        m_text += ' ';
        m_text += type;
        m_text += '\n';
    }

    void Sample(std::string_view name, const Labels& labels, double value) {
        m_text += name;
        if (!labels.empty()) {
            m_text += '{';
            for (std::size_t i = 0; i < labels.size(); ++i) {
                if (i > 0) m_text += ',';
                m_text += labels[i].first;
                m_text += "=\"";
                m_text += EscapeLabelValue(labels[i].second);
                m_text += '"';
            }
            m_text += '}';
        }
        m_text += ' ';
        m_text += SampleValue(value);
        m_text += '\n';
    }

    std::string Take() { return std::move(m_text); }

  private:
    std::string m_text;
};

// A value of a receiver, none where it has nothing to show.
using Value = std::function<std::optional<double>(const ReceiverView&)>;

struct ReceiverFamily {
    std::string_view name;
    std::string_view type;
    std::string_view help;
    Value value;
};

std::optional<double> Opt(const std::optional<double>& v) {
    return v;
}

// Readings: shown only while the receiver is up.
Value Reading(std::function<std::optional<double>(const exporter::Reading&)> read) {
    return [read](const ReceiverView& r) -> std::optional<double> {
        if (!r.up) return std::nullopt;
        return read(r.reading);
    };
}

const std::vector<ReceiverFamily>& ReceiverFamilies() {
    static const std::vector<ReceiverFamily> families{
        {"r40_receiver_up", "gauge",
         "1 while the receiver's status keeps coming, 0 once it has missed two intervals of its "
         "own rhythm, and 0 from the start for an expected receiver not heard yet. The series "
         "of a receiver silent for --forget-after go; an expected receiver's never do.",
         [](const ReceiverView& r) { return r.up ? 1.0 : 0.0; }},
        {"r40_receiver_locked", "gauge", "1 while the receiver is locked to its signal.",
         Reading([](const exporter::Reading& v) { return v.locked ? 1.0 : 0.0; })},
        {"r40_receiver_data_active", "gauge",
         "1 while the receiver passes data (its data counter is above 0).",
         Reading([](const exporter::Reading& v) { return v.dataActive ? 1.0 : 0.0; })},
        {"r40_receiver_snr_decibels", "gauge",
         "Signal-to-noise ratio in decibels (ATSC models); +Inf when the receiver reports no "
         "error at all.",
         Reading([](const exporter::Reading& v) { return Opt(v.snrDecibels); })},
        {"r40_receiver_signal_ratio", "gauge",
         "Signal level as a ratio of full scale, 0 to 1 (satellite models).",
         Reading([](const exporter::Reading& v) { return Opt(v.signalRatio); })},
        {"r40_receiver_carrier_offset_hertz", "gauge", "Carrier offset in hertz (ATSC models).",
         Reading([](const exporter::Reading& v) { return Opt(v.carrierOffsetHertz); })},
        {"r40_receiver_channel", "gauge", "RF channel tuned (ATSC models).",
         Reading([](const exporter::Reading& v) -> std::optional<double> {
             if (!v.channel) return std::nullopt;
             return *v.channel;
         })},
        {"r40_receiver_frequency_hertz", "gauge", "Frequency tuned, in hertz (satellite models).",
         Reading([](const exporter::Reading& v) { return Opt(v.frequencyHertz); })},
        {"r40_receiver_symbol_rate_symbols_per_second", "gauge",
         "Symbol rate tuned, in symbols per second (satellite models).",
         Reading([](const exporter::Reading& v) { return Opt(v.symbolRate); })},
        {"r40_receiver_pids", "gauge", "PIDs in the receiver's PID list.",
         Reading([](const exporter::Reading& v) { return static_cast<double>(v.pids); })},
        {"r40_receiver_status_datagrams_total", "counter",
         "Status datagrams accepted from the receiver.",
         [](const ReceiverView& r) { return static_cast<double>(r.statusDatagrams); }},
        {"r40_receiver_refused_datagrams_total", "counter",
         "Datagrams with the receiver's MAC address that were no valid status.",
         [](const ReceiverView& r) { return static_cast<double>(r.refusedDatagrams); }},
        {"r40_receiver_lock_losses_total", "counter",
         "Changes from locked to unlocked seen in the receiver's status.",
         [](const ReceiverView& r) { return static_cast<double>(r.lockLosses); }},
        {"r40_receiver_last_status_timestamp_seconds", "gauge",
         "When the receiver's last status was accepted, in seconds since 1970.",
         [](const ReceiverView& r) -> std::optional<double> {
             if (!r.heard) return std::nullopt;
             return r.lastStatusUnixSeconds;
         }},
    };
    return families;
}

// Backslash and line feed escaped, and the quote too in a label value.
std::string Escaped(std::string_view text, bool quote) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            escaped += "\\\\";
        else if (c == '\n')
            escaped += "\\n";
        else if (c == '"' && quote)
            escaped += "\\\"";
        else
            escaped += c;
    }
    return escaped;
}

// The names and meanings every Prometheus client library gives them.
void ProcessSamples(Exposition& out, const ProcessFigures& p) {
    const auto one = [&](std::string_view name, std::string_view type, std::string_view help,
                         double value) {
        out.Family(name, type, help);
        out.Sample(name, {}, value);
    };
    one("process_cpu_seconds_total", "counter", "Total user and system CPU time spent in seconds.",
        p.cpuSeconds);
    if (p.openFds) one("process_open_fds", "gauge", "Number of open file descriptors.", *p.openFds);
    if (p.maxFds)
        one("process_max_fds", "gauge", "Maximum number of open file descriptors.", *p.maxFds);
    one("process_virtual_memory_bytes", "gauge", "Virtual memory size in bytes.", p.virtualBytes);
    one("process_resident_memory_bytes", "gauge", "Resident memory size in bytes.",
        p.residentBytes);
    one("process_start_time_seconds", "gauge",
        "Start time of the process since unix epoch in seconds.", p.startTimeUnixSeconds);
}

}  // namespace

std::string SampleValue(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "+Inf" : "-Inf";
    char text[64];
    std::to_chars_result written;
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        written = std::to_chars(text, text + sizeof text, static_cast<long long>(value));
    } else if (static_cast<double>(static_cast<float>(value)) == value) {
        // Values the receivers report as floats read best in float digits.
        written = std::to_chars(text, text + sizeof text, static_cast<float>(value));
    } else {
        written = std::to_chars(text, text + sizeof text, value);
    }
    return std::string(text, written.ptr);
}

std::string EscapeHelp(std::string_view help) {
    return Escaped(help, false);
}

std::string EscapeLabelValue(const std::string& value) {
    return Escaped(value, true);
}

std::string MetricsText(const TableSnapshot& snapshot, const ExporterFacts& facts) {
    Exposition out(snapshot.receivers.size());

    out.Family("r40_receiver_info", "gauge",
               "A receiver heard on a status port: its address, model and the port its status "
               "arrives on. Always 1.");
    for (const ReceiverView& r : snapshot.receivers) {
        Labels labels{{"mac", FormatMac(r.mac.data())}};
        if (r.heard) {
            labels.emplace_back("address", FormatIpv4(r.address.data()));
            labels.emplace_back("model", ModelName(r.type));
            labels.emplace_back("status_port", std::to_string(r.statusPort));
        }
        out.Sample("r40_receiver_info", labels, 1);
    }

    for (const ReceiverFamily& family : ReceiverFamilies()) {
        out.Family(family.name, family.type, family.help);
        for (const ReceiverView& r : snapshot.receivers)
            if (const std::optional<double> value = family.value(r))
                out.Sample(family.name, {{"mac", FormatMac(r.mac.data())}}, *value);
    }

    out.Family("r40_exporter_receivers", "gauge", "Receivers tracked now.");
    out.Sample("r40_exporter_receivers", {}, static_cast<double>(snapshot.receivers.size()));
    out.Family("r40_exporter_receiver_limit", "gauge",
               "Most receivers tracked at once; the datagrams of any more are dropped.");
    out.Sample("r40_exporter_receiver_limit", {}, static_cast<double>(snapshot.receiverLimit));
    out.Family("r40_exporter_datagrams_total", "counter", "Datagrams heard on the status ports.");
    out.Sample("r40_exporter_datagrams_total", {}, static_cast<double>(snapshot.datagrams));
    out.Family("r40_exporter_dropped_datagrams_total", "counter",
               "Datagrams no tracked receiver answers for: unrecognised (no status of a known "
               "model), foreign_mac (another maker's device), receiver_limit (a new receiver "
               "while the table is full), source_limit (a new receiver from an address that "
               "claims the most receivers one host may).");
    const std::pair<const char*, std::uint64_t> dropped[] = {
        {"unrecognised", snapshot.dropped.unrecognised},
        {"foreign_mac", snapshot.dropped.foreignMac},
        {"receiver_limit", snapshot.dropped.receiverLimit},
        {"source_limit", snapshot.dropped.sourceLimit}};
    for (const auto& [reason, count] : dropped)
        out.Sample("r40_exporter_dropped_datagrams_total", {{"reason", reason}},
                   static_cast<double>(count));
    out.Family("r40_exporter_status_ports_listening", "gauge",
               "Status ports the exporter hears status on.");
    out.Sample("r40_exporter_status_ports_listening", {}, facts.statusPortsListening);
    if (!facts.version.empty()) {
        out.Family("r40_exporter_build_info", "gauge", "The exporter's version. Always 1.");
        out.Sample("r40_exporter_build_info", {{"version", facts.version}}, 1);
    }
    if (facts.process) ProcessSamples(out, *facts.process);
    return out.Take();
}

}  // namespace r40ctl::exporter
