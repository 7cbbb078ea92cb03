#include "tools/r40ctl/receiver_status.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "config/pid_list_form.h"
#include "tools/r40ctl/receiver_lookup.h"

namespace r40ctl {

namespace {

template <typename Record>
void DecodeCommon(const Record& r, ReceiverStatus& s) {
    s.firmwareMajor = r.versionMajor;
    s.firmwareMinor = r.versionMinor;
    s.locked = r.lock != 0;
    s.dataActivity = r.dataActivity;
    std::memcpy(s.address.data(), r.deviceAddress, 4);
    std::memcpy(s.mask.data(), r.subnetMask, 4);
    std::memcpy(s.gateway.data(), r.defaultGateway, 4);
    std::memcpy(s.statusCopy.data(), r.unicastStatusAddress, 4);
    std::memcpy(s.mac.data(), r.mac, 6);
    s.statusPort = r.statusPort;
    PidListRecord pids = r.pids;
    s.pids = PidLines(TYPE_R40, &pids);
}

template <typename Record>
void DecodeSatellite(const Record& r, ReceiverStatus& s, unsigned highOptions) {
    SatelliteTuningShown tuning;
    // Tenths and thousandths on the wire: round away the float's noise.
    tuning.frequencyMhz = std::round(static_cast<double>(r.frequency) * 10.0) / 10.0;
    tuning.symbolRateMsps = std::round(static_cast<double>(r.symbolRate) * 1000.0) / 1000.0;
    tuning.options =
        (r.tuneBit0 ? 1u : 0u) | (r.tuneBit1 ? 2u : 0u) | (r.tuneBit2 ? 4u : 0u) | highOptions;
    s.satellite = tuning;
    // Above the strongest calibration point the receiver reports up to 110.
    s.signalPercent = std::min<unsigned>(r.signalPercent, 100);
}

template <typename Record>
unsigned HighOptions(const Record& r) {
    return (r.tuneBit3 ? 8u : 0u) | (r.tuneBit4 ? 16u : 0u);
}

// 0.0.0.0 port 0 is how the forwarding form says "not forwarded".
bool Forwarded(const PidDestination& d) {
    return d.port != 0 || d.address[0] != 0 || d.address[1] != 0 || d.address[2] != 0 ||
           d.address[3] != 0;
}

std::string OnOff(bool on) {
    return on ? "on" : "off";
}

std::string Number(double value, int decimals, const char* unit) {
    if (!std::isfinite(value)) return value > 0 ? std::string("infinite") : std::string("-");
    char text[48];
    std::snprintf(text, sizeof text, "%.*f%s", decimals, value, unit);
    return text;
}

}  // namespace

std::vector<PidLine> PidLines(std::uint16_t type, const void* list) {
    std::vector<PidLine> lines;
    auto add = [&](const auto& record, bool destinations) {
        const std::int32_t stated = record.count;  // copied out of the packed record
        const int count = std::clamp<std::int32_t>(stated, 0, MAX_PIDS);
        for (int i = 0; i < count; ++i) {
            if (record.pid[i] == NULL_PID) continue;
            PidLine line;
            line.pid = record.pid[i];
            line.control = record.control[i];
            if constexpr (std::is_same_v<std::decay_t<decltype(record)>, TrevanPidListRecord>)
                if (destinations) line.destination = record.destination[i];
            lines.push_back(line);
        }
    };
    if (config::TakesForwardingPidList(type))
        add(*static_cast<const TrevanPidListRecord*>(list), true);
    else
        add(*static_cast<const PidListRecord*>(list), false);
    return lines;
}

ReceiverStatus DecodeStatus(std::uint16_t type, const void* record) {
    ReceiverStatus s;
    s.type = type;
    switch (type) {
        case TYPE_R40:
        case TYPE_R40_TREVAN: {
            const auto& r = *static_cast<const R40StatusRecord*>(record);
            DecodeCommon(r, s);
            s.channel = r.channel;
            s.snrDb = r.snr;
            s.carrierOffsetHz = r.carrierOffset;
            s.igmp = r.igmpOn != 0;
            break;
        }
        case TYPE_T22_V3: {
            const auto& r = *static_cast<const T22V3StatusRecord*>(record);
            DecodeCommon(r, s);
            DecodeSatellite(r, s, HighOptions(r));
            break;
        }
        case TYPE_T22_V2: {
            const auto& r = *static_cast<const T22V2StatusRecord*>(record);
            DecodeCommon(r, s);
            DecodeSatellite(r, s, 0);
            break;
        }
        case TYPE_T22CA: {
            const auto& r = *static_cast<const T22CAStatusRecord*>(record);
            DecodeCommon(r, s);
            DecodeSatellite(r, s, HighOptions(r));
            s.igmp = r.igmpOn != 0;
            break;
        }
        case TYPE_TREVAN: {
            const auto& r = *static_cast<const TrevanStatusRecord*>(record);
            DecodeCommon(r, s);
            DecodeSatellite(r, s, HighOptions(r));
            s.igmp = r.igmpOn != 0;
            break;
        }
        default:
            break;
    }
    return s;
}

std::optional<ReceiverStatus> ReadStatus(DeviceHandle device, std::uint16_t type,
                                         std::int32_t* result, R40StatusRecord* r40Record) {
    AnyStatusRecord record;
    std::memset(&record, 0, sizeof record);
    if (const std::int32_t rc = GetDeviceStatus(device, &record); rc != 0) {
        *result = rc;
        return std::nullopt;
    }
    return CompleteStatus(device, type, record, result, r40Record);
}

std::optional<ReceiverStatus> CompleteStatus(DeviceHandle device, std::uint16_t type,
                                             const AnyStatusRecord& record, std::int32_t* result,
                                             R40StatusRecord* r40Record) {
    ReceiverStatus status = DecodeStatus(type, &record);
    if (r40Record != nullptr && IsAtsc(type)) *r40Record = record.r40;
    if (config::TakesForwardingPidList(type)) {
        // The status carries no destinations; the PID table does.
        TrevanPidListRecord table{};
        if (const std::int32_t rc = GetPidList(device, &table); rc != 0) {
            *result = rc;
            return std::nullopt;
        }
        status.pids = PidLines(type, &table);
    }
    *result = 0;
    return status;
}

Json PidsJson(const std::vector<PidLine>& pids) {
    Json list = Json::array();
    for (const PidLine& line : pids) {
        Json destination = nullptr;
        if (line.destination && Forwarded(*line.destination))
            destination = Json{{"address", FormatIpv4(line.destination->address)},
                               {"port", static_cast<unsigned>(line.destination->port)}};
        list.push_back(Json{{"pid", line.pid},
                            {"pid_hex", FormatPid(line.pid)},
                            {"control", line.control},
                            {"destination", destination}});
    }
    return list;
}

std::vector<std::vector<std::string>> PidRows(const std::vector<PidLine>& pids) {
    std::vector<std::vector<std::string>> rows;
    for (const PidLine& line : pids) {
        char decimal[8];
        std::snprintf(decimal, sizeof decimal, "%4u", line.pid);
        std::vector<std::string> row{FormatPid(line.pid), decimal,
                                     "control " + std::to_string(line.control)};
        if (line.destination)
            row.push_back(Forwarded(*line.destination)
                              ? FormatIpv4(line.destination->address) + ":" +
                                    std::to_string(line.destination->port)
                              : "-");
        rows.push_back(row);
    }
    return rows;
}

Json StatusJson(const ReceiverStatus& s) {
    Json satellite = nullptr;
    if (s.satellite)
        satellite = Json{{"frequency_mhz", s.satellite->frequencyMhz},
                         {"symbol_rate_msps", s.satellite->symbolRateMsps},
                         {"options", s.satellite->options}};
    Json signal = nullptr, signalPercent = nullptr;
    if (s.signalPercent) {
        signalPercent = *s.signalPercent;
        signal = *s.signalPercent / 100.0;
    }
    return Json{
        {"lock", s.locked},
        {"data", s.dataActivity > 0},
        {"data_activity", s.dataActivity},
        {"channel", s.channel ? Json(*s.channel) : Json(nullptr)},
        {"satellite", satellite},
        {"snr_db", s.snrDb ? Rounded(*s.snrDb, 2) : Json(nullptr)},
        {"carrier_offset_hz", s.carrierOffsetHz ? Rounded(*s.carrierOffsetHz, 1) : Json(nullptr)},
        {"signal", signal},
        {"signal_percent", signalPercent},
        {"address", FormatIpv4(s.address.data())},
        {"mask", FormatIpv4(s.mask.data())},
        {"gateway", FormatIpv4(s.gateway.data())},
        {"status_copy", FormatIpv4(s.statusCopy.data())},
        {"status_port", s.statusPort},
        {"igmp", s.igmp ? Json(*s.igmp) : Json(nullptr)},
        {"firmware", std::to_string(s.firmwareMajor) + "." + std::to_string(s.firmwareMinor)},
        {"pids", PidsJson(s.pids)},
    };
}

Fields StatusFields(const ReceiverStatus& s) {
    Fields f;
    f.emplace_back("lock", s.locked ? "yes" : "no");
    f.emplace_back("data", s.dataActivity > 0 ? "yes" : "no");
    if (s.channel) f.emplace_back("channel", std::to_string(*s.channel));
    if (s.satellite) {
        f.emplace_back("frequency", Number(s.satellite->frequencyMhz, 1, " MHz"));
        f.emplace_back("symbol rate", Number(s.satellite->symbolRateMsps, 3, " Msym/s"));
        char options[8];
        std::snprintf(options, sizeof options, "0x%02X", s.satellite->options);
        f.emplace_back("tuning options", options);
    }
    if (s.snrDb) f.emplace_back("snr", Number(*s.snrDb, 2, " dB"));
    if (s.carrierOffsetHz) f.emplace_back("carrier offset", Number(*s.carrierOffsetHz, 1, " Hz"));
    if (s.signalPercent) f.emplace_back("signal", std::to_string(*s.signalPercent) + " %");
    f.emplace_back("address", FormatIpv4(s.address.data()));
    f.emplace_back("mask", FormatIpv4(s.mask.data()));
    f.emplace_back("gateway", FormatIpv4(s.gateway.data()));
    const bool copyOff = s.statusCopy == Ipv4{255, 255, 255, 255} || s.statusCopy == Ipv4{};
    f.emplace_back("status copy", copyOff ? "off (" + FormatIpv4(s.statusCopy.data()) + ")"
                                          : FormatIpv4(s.statusCopy.data()));
    f.emplace_back("status port", std::to_string(s.statusPort));
    f.emplace_back("igmp", s.igmp ? OnOff(*s.igmp) : "not reported");
    f.emplace_back("firmware",
                   std::to_string(s.firmwareMajor) + "." + std::to_string(s.firmwareMinor));
    f.emplace_back("pids", std::to_string(s.pids.size()));
    return f;
}

}  // namespace r40ctl
