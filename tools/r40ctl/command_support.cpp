#include "tools/r40ctl/command_support.h"

#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/stop_signal.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

ReceiverQuery RequireQuery(const std::string& text) {
    const auto query = ParseReceiverQuery(text);
    if (!query)
        throw Failure(EXIT_USAGE, "\"" + text +
                                      "\" is not a receiver: give an IPv4 address, a MAC address "
                                      "or its last three bytes (00-00-14)");
    return *query;
}

std::uint16_t RequireStatusPort(const std::string& text, const char* option) {
    const auto port = ParseNumber(text, 65535);
    if (port)
        for (std::uint16_t p : STATUS_PORTS)
            if (p == *port) return p;
    std::string ports;
    for (std::uint16_t p : STATUS_PORTS) ports += (ports.empty() ? "" : ", ") + std::to_string(p);
    throw Failure(EXIT_USAGE,
                  std::string(option) + " " + text + " is not a status port (" + ports + ")");
}

std::chrono::milliseconds ReceiverWait(const Context& context) {
    if (!context.timeout) return DEFAULT_RECEIVER_WAIT;
    return std::chrono::milliseconds(static_cast<long long>(*context.timeout * 1000.0 + 0.5));
}

FoundReceiver Find(Context& context, const ReceiverQuery& query) {
    FoundReceiver found = FindReceiver(query, context.port, ReceiverWait(context));
    context.receiver = found.entry;
    StopIfRequested();
    return found;
}

OpenReceiver Open(const Context& context, const FoundReceiver& found) {
    OpenReceiver receiver = r40ctl::Open(found, ReceiverWait(context));
    StopIfRequested();
    return receiver;
}

OpenReceiver FindAndOpen(Context& context, const ReceiverQuery& query) {
    return Open(context, Find(context, query));
}

std::optional<ReceiverStatus> CurrentStatus(const FoundReceiver& found,
                                            const OpenReceiver& receiver, std::int32_t* result,
                                            R40StatusRecord* r40Record) {
    const std::uint16_t type = receiver.entry.deviceType;
    if (found.heard && found.heard->Fresh())
        return CompleteStatus(receiver.get(), type, found.heard->record, result, r40Record);
    return ReadStatus(receiver.get(), type, result, r40Record);
}

std::int32_t CurrentRecord(const FoundReceiver& found, const OpenReceiver& receiver,
                           AnyStatusRecord* record) {
    if (found.heard && found.heard->Fresh()) {
        *record = found.heard->record;
        return 0;
    }
    return GetDeviceStatus(receiver.get(), record);
}

void StopIfRequested() {
    if (StopRequested()) throw Failure(128 + StopSignal(), "interrupted before anything was sent");
}

std::string DescribeReceiver(const DeviceInfo& entry) {
    return std::string(DeviceTypeName(entry.deviceType)) + " " + FormatMac(entry.mac) + " at " +
           FormatIpv4(entry.address) + ", status port " + std::to_string(entry.statusPort);
}

Json SuccessJson(const DeviceInfo& entry) {
    return Json{{"ok", true}, {"receiver", ReceiverJson(entry)}};
}

}  // namespace r40ctl
