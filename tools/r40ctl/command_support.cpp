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

DeviceInfo Find(Context& context, const ReceiverQuery& query) {
    const DeviceInfo entry = FindReceiver(query, context.port);
    context.receiver = entry;
    StopIfRequested();
    return entry;
}

OpenReceiver FindAndOpen(Context& context, const ReceiverQuery& query) {
    const DeviceInfo entry = Find(context, query);
    OpenReceiver receiver = Open(entry);
    StopIfRequested();
    return receiver;
}

void StopIfRequested() {
    if (StopRequested()) throw Failure(128 + StopSignal(), "interrupted before anything was sent");
}

std::string DescribeReceiver(const DeviceInfo& entry) {
    return std::string(ModelName(entry.deviceType)) + " " + FormatMac(entry.mac) + " at " +
           FormatIpv4(entry.address) + ", status port " + std::to_string(entry.statusPort);
}

Json SuccessJson(const DeviceInfo& entry) {
    return Json{{"ok", true}, {"receiver", ReceiverJson(entry)}};
}

}  // namespace r40ctl
