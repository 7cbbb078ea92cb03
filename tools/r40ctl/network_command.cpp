// r40ctl network: the receiver's address, mask, gateway, status copy
// address, IGMP and status port. Settings not given keep the values the
// receiver reports now. The library reaches a receiver outside this
// machine's subnets through a temporary host route.
#include <cstring>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/receiver_status.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

namespace {

const Ipv4 NO_STATUS_COPY{255, 255, 255, 255};

struct Request {
    std::optional<Ipv4> address, mask, gateway, statusCopy;
    std::optional<bool> igmp;
    std::optional<std::uint16_t> statusPort;
};

Ipv4 RequireAddress(const std::string& text, const char* option) {
    const auto address = ParseIpv4(text);
    if (!address)
        throw Failure(EXIT_USAGE,
                      std::string(option) + " " + text + " is not an IPv4 address (a.b.c.d)");
    return *address;
}

Request Validate(const NetworkOptions& o) {
    Request r;
    if (o.address) r.address = RequireAddress(*o.address, "--address");
    if (o.gateway) r.gateway = RequireAddress(*o.gateway, "--gateway");
    if (o.mask) {
        r.mask = ParseSubnetMask(*o.mask);
        if (!r.mask) throw Failure(EXIT_USAGE, "--mask " + *o.mask + " is not a subnet mask");
    }
    if (o.statusCopy) {
        const auto off = ParseSwitch(*o.statusCopy);
        r.statusCopy =
            off && !*off ? NO_STATUS_COPY : RequireAddress(*o.statusCopy, "--status-copy");
    }
    if (o.igmp) {
        r.igmp = ParseSwitch(*o.igmp);
        if (!r.igmp) throw Failure(EXIT_USAGE, "--igmp takes on or off, not " + *o.igmp);
    }
    if (o.statusPort) r.statusPort = RequireStatusPort(*o.statusPort, "--status-port");
    if (!r.address && !r.mask && !r.gateway && !r.statusCopy && !r.igmp && !r.statusPort)
        throw Failure(EXIT_USAGE,
                      "nothing to change: give --address, --mask, --gateway, "
                      "--status-copy, --igmp or --status-port");
    return r;
}

// The value a refusal names: the option as given, or, where the option was
// not given, the receiver's current value it would have kept.
std::string Unusable(std::int32_t refused, const Request& request,
                     const NetworkSettings& settings) {
    auto named = [](const char* option, const std::optional<Ipv4>& given, const char* current,
                    const std::uint8_t* value) {
        return (given ? std::string(option) : std::string(current)) + " " + FormatIpv4(value);
    };
    switch (refused) {
        case ERR_NET_MASK_INVALID:
            return named("--mask", request.mask, "the receiver's mask", settings.subnetMask);
        case ERR_NET_GATEWAY_INVALID:
            return named("--gateway", request.gateway, "the receiver's gateway",
                         settings.defaultGateway);
        case ERR_NET_STATUS_COPY_INVALID:
            return named("--status-copy", request.statusCopy, "the receiver's status copy address",
                         settings.unicastStatusAddress);
        case ERR_PORT_NOT_IN_TABLE:
            return "status port " + std::to_string(settings.statusPort);
        default:
            return named("--address", request.address, "the receiver's address",
                         settings.deviceAddress);
    }
}

}  // namespace

int RunNetwork(Context& context, const NetworkOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    const Request request = Validate(options);
    const FoundReceiver found = Find(context, query);
    const DeviceInfo& entry = found.entry;
    // The T22 (3.x) does not report IGMP, so its current choice cannot be kept.
    if (!request.igmp && entry.deviceType == TYPE_T22_V3)
        throw Failure(EXIT_USAGE, "the T22 (3.x) does not report IGMP: give --igmp on or off");

    OpenReceiver receiver = Open(context, found);
    AnyStatusRecord record;
    if (const std::int32_t rc = CurrentRecord(found, receiver, &record); rc != 0)
        throw Refused("no status from the receiver to start from", rc);
    const ReceiverStatus now = DecodeStatus(entry.deviceType, &record);
    StopIfRequested();

    const Ipv4 address = request.address.value_or(now.address);
    const Ipv4 mask = request.mask.value_or(now.mask);
    const Ipv4 gateway = request.gateway.value_or(now.gateway);
    const Ipv4 statusCopy = request.statusCopy.value_or(now.statusCopy);
    // The T22 (2.x) always sends its flags as 1, whatever is asked.
    const bool igmp = request.igmp.value_or(now.igmp.value_or(false));
    const std::uint16_t statusPort =
        request.statusPort.value_or(static_cast<std::uint16_t>(entry.statusPort));

    NetworkSettings settings{};
    std::memcpy(settings.deviceAddress, address.data(), 4);
    std::memcpy(settings.subnetMask, mask.data(), 4);
    std::memcpy(settings.defaultGateway, gateway.data(), 4);
    std::memcpy(settings.unicastStatusAddress, statusCopy.data(), 4);
    settings.statusPort = statusPort;
    settings.listenPort = statusPort;
    settings.useIgmp = igmp ? 1 : 0;
    // What no receiver can use is a usage error, found before anything is sent.
    if (const std::int32_t refused = CheckNetworkSettings(&settings); refused != 0)
        throw Failure(EXIT_USAGE,
                      Unusable(refused, request, settings) +
                          " cannot be given to a receiver: " + DeviceResultText(refused));
    if (const std::int32_t rc = SetNetworkSettings(receiver.get(), &settings); rc != 0)
        throw Refused("network settings not confirmed", rc);

    DeviceInfo moved = entry;
    std::memcpy(moved.address, address.data(), 4);
    moved.statusPort = statusPort;
    context.receiver = moved;
    const bool copyOff = statusCopy == NO_STATUS_COPY;
    if (context.json) {
        Json document = SuccessJson(moved);
        document["address"] = FormatIpv4(address.data());
        document["mask"] = FormatIpv4(mask.data());
        document["gateway"] = FormatIpv4(gateway.data());
        document["status_copy"] = FormatIpv4(statusCopy.data());
        document["status_port"] = statusPort;
        document["igmp"] = entry.deviceType == TYPE_T22_V2 ? Json(nullptr) : Json(igmp);
        PrintJson(document);
    } else {
        PrintFields({{"receiver", DescribeReceiver(moved)},
                     {"address", FormatIpv4(address.data())},
                     {"mask", FormatIpv4(mask.data())},
                     {"gateway", FormatIpv4(gateway.data())},
                     {"status copy", copyOff ? "off" : FormatIpv4(statusCopy.data())},
                     {"status port", std::to_string(statusPort)},
                     {"igmp", entry.deviceType == TYPE_T22_V2 ? "not chosen by this model"
                                                              : (igmp ? "on" : "off")}});
    }
    return 0;
}

}  // namespace r40ctl
