#include "sim/program_options.h"

#include <charconv>

#include "sim/address_text.h"

namespace sim {
namespace {

bool ParseNumber(std::string_view text, long long low, long long high, long long* out) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        return false;
    *out = value;
    return true;
}

// A probability from 0 to 1, e.g. "0.3".
bool ParseProbability(std::string_view text, std::optional<double>* out) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !(value >= 0 && value <= 1))
        return false;
    *out = value;
    return true;
}

// "PRESENT_MS:ABSENT_MS", both at least 1.
bool ParseVanishCycle(std::string_view text, VanishCycle* out) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    long long present = 0, absent = 0;
    if (!ParseNumber(text.substr(0, colon), 1, 86400000, &present) ||
        !ParseNumber(text.substr(colon + 1), 1, 86400000, &absent))
        return false;
    out->present = std::chrono::milliseconds(present);
    out->absent = std::chrono::milliseconds(absent);
    return true;
}

// "--name=value" or "--name value".
bool TakeValue(const std::vector<std::string_view>& args, std::size_t* i, std::string_view name,
               std::string_view* value) {
    const std::string_view arg = args[*i];
    if (arg.size() > name.size() && arg.substr(0, name.size()) == name && arg[name.size()] == '=') {
        *value = arg.substr(name.size() + 1);
        return true;
    }
    if (arg != name) return false;
    if (*i + 1 >= args.size()) {
        *value = {};
        return true;
    }
    *value = args[++*i];
    return true;
}

}  // namespace

bool ParseReceiverRequest(std::string_view text, ReceiverRequest* request, std::string* error) {
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) {
        *error = "expected MODEL@ADDRESS[:STATUSPORT], got \"" + std::string(text) + "\"";
        return false;
    }
    std::string_view modelText = text.substr(0, at);
    std::string_view rest = text.substr(at + 1);
    ReceiverRequest out;
    if (modelText == "t22ca-34" || modelText == "T22CA-34") {
        out.model = Model::T22CA;
        out.modelCode = T22_CA_ALTERNATE_MODEL_CODE;
    } else if (auto model = ModelFromKey(modelText)) {
        out.model = *model;
        out.modelCode = TraitsOf(*model).modelCode;
    } else {
        *error = "unknown model \"" + std::string(modelText) +
                 "\" (r40, r40v, t22v2, t22v3, t22ca, t22ca-34, trevan)";
        return false;
    }
    std::string_view addressText = rest;
    if (const std::size_t colon = rest.find(':'); colon != std::string_view::npos) {
        addressText = rest.substr(0, colon);
        long long port = 0;
        if (!ParseNumber(rest.substr(colon + 1), 1, 65535, &port)) {
            *error = "bad status port in \"" + std::string(text) + "\"";
            return false;
        }
        out.statusPort = static_cast<std::uint16_t>(port);
    }
    const auto address = ParseIpv4(addressText);
    if (!address) {
        *error = "bad address in \"" + std::string(text) + "\"";
        return false;
    }
    out.address = *address;
    *request = out;
    return true;
}

bool ParseProgramOptions(const std::vector<std::string_view>& args, ProgramOptions* options,
                         std::string* error) {
    ProgramOptions out;
    // One kind's own loss option wins over --loss, wherever each stands.
    std::optional<double> allLoss, echoLoss, tableLoss, statusLoss;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::string_view value;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--quiet" || arg == "-q") {
            out.quiet = true;
        } else if (TakeValue(args, &i, "--interval-ms", &value)) {
            if (!ParseNumber(value, 1, 3600000, &out.intervalMs)) {
                *error = "--interval-ms wants a number of milliseconds from 1 to 3600000";
                return false;
            }
        } else if (TakeValue(args, &i, "--reset-pause-ms", &value)) {
            if (!ParseNumber(value, 0, 3600000, &out.resetPauseMs)) {
                *error = "--reset-pause-ms wants a number of milliseconds from 0 to 3600000";
                return false;
            }
        } else if (TakeValue(args, &i, "--unicast", &value)) {
            const auto address = ParseIpv4(value);
            if (!address) {
                *error = "--unicast wants an IPv4 address";
                return false;
            }
            out.unicast = *address;
        } else if (TakeValue(args, &i, "--broadcast", &value)) {
            const auto address = ParseIpv4(value);
            if (!address) {
                *error = "--broadcast wants an IPv4 address";
                return false;
            }
            out.broadcast = *address;
        } else if (TakeValue(args, &i, "--loss", &value)) {
            if (!ParseProbability(value, &allLoss)) {
                *error = "--loss wants a probability from 0 to 1, e.g. 0.3";
                return false;
            }
        } else if (TakeValue(args, &i, "--echo-loss", &value)) {
            if (!ParseProbability(value, &echoLoss)) {
                *error = "--echo-loss wants a probability from 0 to 1";
                return false;
            }
        } else if (TakeValue(args, &i, "--table-loss", &value)) {
            if (!ParseProbability(value, &tableLoss)) {
                *error = "--table-loss wants a probability from 0 to 1";
                return false;
            }
        } else if (TakeValue(args, &i, "--status-loss", &value)) {
            if (!ParseProbability(value, &statusLoss)) {
                *error = "--status-loss wants a probability from 0 to 1";
                return false;
            }
        } else if (TakeValue(args, &i, "--vanish", &value)) {
            VanishCycle cycle;
            if (!ParseVanishCycle(value, &cycle)) {
                *error = "--vanish wants PRESENT_MS:ABSENT_MS, e.g. 20000:5000";
                return false;
            }
            out.vanish = cycle;
        } else if (!arg.empty() && arg[0] == '-') {
            *error = "unknown option \"" + std::string(arg) + "\"";
            return false;
        } else {
            ReceiverRequest request;
            if (!ParseReceiverRequest(arg, &request, error)) return false;
            for (const ReceiverRequest& other : out.receivers) {
                if (other.address == request.address) {
                    *error = "two receivers on " + FormatIpv4(request.address);
                    return false;
                }
            }
            out.receivers.push_back(request);
        }
    }
    out.loss.echoes = echoLoss.value_or(allLoss.value_or(0));
    out.loss.tableReplies = tableLoss.value_or(allLoss.value_or(0));
    out.loss.statuses = statusLoss.value_or(allLoss.value_or(0));
    if (!out.help && !out.version && out.receivers.empty()) {
        *error = "no receiver given";
        return false;
    }
    *options = std::move(out);
    return true;
}

std::string UsageLine() {
    return "usage: r40-receiver-sim [options] MODEL@ADDRESS[:STATUSPORT] ... (see "
           "r40-receiver-sim --help)\n";
}

std::string UsageText() {
    return R"(Usage: r40-receiver-sim [options] MODEL@ADDRESS[:STATUSPORT] ...

Emulates R40 and T22 receivers on the network: each one sends its status
datagram again and again to its status port (default 6516) on the broadcast
address, answers commands on ports 39321 (reset), 6517 (network settings),
6531 (tuning) and 6519 (PID and conditional-access tables) of its own
address, and applies them. Runs until interrupted (Ctrl+C).

MODEL is one of
  r40       R40 ATSC receiver
  r40v      R40V ATSC receiver with PID forwarding
  t22v3     T22 satellite receiver, firmware 3.x
  t22v2     T22 satellite receiver, firmware 2.x
  t22ca     T22CA satellite receiver with conditional access (model code 'T')
  t22ca-34  the same with model code '4'
  trevan    Trevan satellite receiver with PID forwarding
ADDRESS is the receiver's own IPv4 address; on loopback any 127.x.y.z works.
STATUSPORT is where it sends its status; consoles listen on 6516, 8309,
8565, 8821, 9077, 9333, 13429, 17525, 17781 and 18037.
Each receiver gets the MAC address 02-5C-C1-x-y-z made of its address.

Options
  --interval-ms N      milliseconds between status datagrams (default 1000)
  --unicast ADDRESS    also send each status to ADDRESS (default
                       255.255.255.255: no unicast copy)
  --broadcast ADDRESS  broadcast address for status (default 127.255.255.255)
  --reset-pause-ms N   silence after a reset (default 1000)
  --loss P             lose each echo, table reply and status datagram with
                       probability P (0 to 1, e.g. 0.3); the commands still
                       arrive and are applied
  --echo-loss P, --table-loss P, --status-loss P
                       the same for one kind only (wins over --loss)
  --vanish PRESENT_MS:ABSENT_MS
                       come and go: there for PRESENT_MS, then gone (no
                       status, no answers) for ABSENT_MS, over and over
  --quiet              print nothing per command
  --help               this text
  --version            the program's version

Signals switch the lock of every receiver while it runs, as an antenna
fault would: SIGUSR1 loses lock, SIGUSR2 locks again (not on Windows).

Example: an R40, an R40V and a T22 (3.x) on loopback
  r40-receiver-sim r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22
)";
}

}  // namespace sim
