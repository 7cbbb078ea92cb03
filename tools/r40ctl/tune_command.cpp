// r40ctl tune: an RF channel for the ATSC models, frequency, symbol rate and
// option bits for the satellite models; the library waits for the
// receiver's status to show the new tuning.
#include <cmath>
#include <cstdio>

#include "config/tuning_form.h"
#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

namespace {

struct Request {
    std::optional<std::uint16_t> channel;
    SatelliteTuning satellite{};
    unsigned options = 0;
};

Request Validate(const TuneOptions& o) {
    Request request;
    const bool satellite = o.frequency || o.symbolRate || o.options;
    if (o.channel && satellite)
        throw Failure(EXIT_USAGE, "give --channel, or --frequency and --symbol-rate, not both");
    if (o.channel) {
        if (!config::RfChannelInRange(*o.channel))
            throw Failure(EXIT_USAGE,
                          "channel " + std::to_string(*o.channel) + " is outside 2 to 69");
        request.channel = static_cast<std::uint16_t>(*o.channel);
        return request;
    }
    if (!o.frequency || !o.symbolRate)
        throw Failure(EXIT_USAGE, "give --channel N, or --frequency MHZ and --symbol-rate MSYMS");
    // Whole tenths and thousandths in 16 bits are all the command carries.
    if (!config::FrequencyInRange(*o.frequency))
        throw Failure(EXIT_USAGE, "frequency outside 0.1 to 6553.5 MHz");
    if (!config::SymbolRateInRange(*o.symbolRate))
        throw Failure(EXIT_USAGE, "symbol rate outside 0.001 to 65.535 Msym/s");
    if (o.options) {
        const auto bits = ParseNumber(*o.options, config::ALL_TUNING_OPTION_BITS);
        if (!bits)
            throw Failure(EXIT_USAGE, "--options takes bits 0 to 4: 0 to 31 or 0x00 to 0x1F");
        request.options = *bits;
    }
    request.satellite = config::MakeSatelliteTuning(*o.frequency, *o.symbolRate, request.options);
    return request;
}

}  // namespace

int RunTune(Context& context, const TuneOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    const Request request = Validate(options);
    const FoundReceiver found = Find(context, query);
    const DeviceInfo& entry = found.entry;
    const std::uint16_t type = entry.deviceType;
    if (!config::TakesRfChannel(type) && !config::TakesSatelliteTuning(type))
        throw Failure(EXIT_USAGE, std::string("the ") + DeviceTypeName(type) + " cannot be tuned");
    if (request.channel && !config::TakesRfChannel(type))
        throw Failure(EXIT_USAGE, std::string("the ") + DeviceTypeName(type) +
                                      " is a satellite receiver: give --frequency and "
                                      "--symbol-rate");
    if (!request.channel && !config::TakesSatelliteTuning(type))
        throw Failure(EXIT_USAGE, std::string("the ") + DeviceTypeName(type) +
                                      " tunes RF channels: give --channel");
    if ((request.options & ~config::TuningOptionBitsOf(type)) != 0)
        throw Failure(EXIT_USAGE, "the T22 (2.x) takes option bits 0 to 2 only");

    OpenReceiver receiver = Open(context, found);
    StopIfRequested();
    const void* tuning = request.channel ? static_cast<const void*>(&*request.channel)
                                         : static_cast<const void*>(&request.satellite);
    if (const std::int32_t rc = SetChannel(receiver.get(), tuning); rc != 0)
        throw Refused("tuning not confirmed", rc);

    if (context.json) {
        Json document = SuccessJson(entry);
        document["channel"] = request.channel ? Json(*request.channel) : Json(nullptr);
        document["satellite"] = request.channel
                                    ? Json(nullptr)
                                    : Json{{"frequency_mhz", Rounded(*options.frequency, 1)},
                                           {"symbol_rate_msps", Rounded(*options.symbolRate, 3)},
                                           {"options", request.options}};
        PrintJson(document);
    } else if (request.channel) {
        PrintFields({{"receiver", DescribeReceiver(entry)},
                     {"channel", std::to_string(*request.channel) + " (confirmed)"}});
    } else {
        char frequency[32], rate[32], bits[8];
        std::snprintf(frequency, sizeof frequency, "%.1f MHz", *options.frequency);
        std::snprintf(rate, sizeof rate, "%.3f Msym/s", *options.symbolRate);
        std::snprintf(bits, sizeof bits, "0x%02X", request.options);
        PrintFields({{"receiver", DescribeReceiver(entry)},
                     {"frequency", std::string(frequency) + " (confirmed)"},
                     {"symbol rate", rate},
                     {"tuning options", bits}});
    }
    return 0;
}

}  // namespace r40ctl
