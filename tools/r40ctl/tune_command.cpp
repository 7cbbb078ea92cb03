// r40ctl tune: an RF channel for the ATSC models, frequency, symbol rate and
// option bits for the satellite models; the library waits for the
// receiver's status to show the new tuning.
#include <cmath>
#include <cstdio>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

namespace {

constexpr long LOWEST_CHANNEL = 2;
constexpr long HIGHEST_CHANNEL = 69;
// The command carries tenths of a MHz and thousandths of a Msym/s in 16 bits.
constexpr double HIGHEST_FREQUENCY = 6553.5;
constexpr double HIGHEST_SYMBOL_RATE = 65.535;
constexpr unsigned ALL_OPTION_BITS = 0x1F;
constexpr unsigned T22_V2_OPTION_BITS = 0x07;  // the T22 (2.x) sends bits 0 to 2 only

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
        if (*o.channel < LOWEST_CHANNEL || *o.channel > HIGHEST_CHANNEL)
            throw Failure(EXIT_USAGE,
                          "channel " + std::to_string(*o.channel) + " is outside 2 to 69");
        request.channel = static_cast<std::uint16_t>(*o.channel);
        return request;
    }
    if (!o.frequency || !o.symbolRate)
        throw Failure(EXIT_USAGE, "give --channel N, or --frequency MHZ and --symbol-rate MSYMS");
    if (!(*o.frequency > 0 && *o.frequency <= HIGHEST_FREQUENCY))
        throw Failure(EXIT_USAGE, "frequency outside 0 to 6553.5 MHz");
    if (!(*o.symbolRate > 0 && *o.symbolRate <= HIGHEST_SYMBOL_RATE))
        throw Failure(EXIT_USAGE, "symbol rate outside 0 to 65.535 Msym/s");
    if (o.options) {
        const auto bits = ParseNumber(*o.options, ALL_OPTION_BITS);
        if (!bits)
            throw Failure(EXIT_USAGE, "--options takes bits 0 to 4: 0 to 31 or 0x00 to 0x1F");
        request.options = *bits;
    }
    SatelliteTuning& t = request.satellite;
    t.frequency = static_cast<float>(*o.frequency);
    t.symbolRate = static_cast<float>(*o.symbolRate);
    t.tuneOption0 = (request.options & 1u) ? 1 : 0;
    t.tuneOption1 = (request.options & 2u) ? 1 : 0;
    t.tuneOption2 = (request.options & 4u) ? 1 : 0;
    t.tuneOption3 = (request.options & 8u) ? 1 : 0;
    t.tuneOption4 = (request.options & 16u) ? 1 : 0;
    return request;
}

}  // namespace

int RunTune(Context& context, const TuneOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    const Request request = Validate(options);
    const DeviceInfo entry = Find(context, query);
    const std::uint16_t type = entry.deviceType;
    if (request.channel && !IsAtsc(type))
        throw Failure(EXIT_USAGE, std::string("the ") + ModelName(type) +
                                      " is a satellite receiver: give --frequency and "
                                      "--symbol-rate");
    if (!request.channel && IsAtsc(type))
        throw Failure(EXIT_USAGE,
                      std::string("the ") + ModelName(type) + " tunes RF channels: give --channel");
    if (type == TYPE_T22_V2 && (request.options & ~T22_V2_OPTION_BITS) != 0)
        throw Failure(EXIT_USAGE, "the T22 (2.x) takes option bits 0 to 2 only");

    OpenReceiver receiver = Open(entry);
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
