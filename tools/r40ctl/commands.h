// The subcommands of r40ctl. Each one returns its exit code or throws
// Failure; main turns a Failure into the message and the exit code.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "devicelib/devicelib.h"

namespace r40ctl {

// What every subcommand shares, and what main needs to report a failure.
struct Context {
    bool json = false;
    std::optional<std::uint16_t> port;   // --port: look for the receiver on this status port
    std::optional<double> timeout;       // --timeout: seconds to wait for the receiver
    std::optional<DeviceInfo> receiver;  // set once the receiver has been found
};

int RunDiscover(Context& context);

struct StatusOptions {
    std::string receiver;
    bool watch = false;
    double interval = 1.0;  // seconds between watch lines
    long count = 0;         // watch lines before stopping; 0: until interrupted
};
int RunStatus(Context& context, const StatusOptions& options);

struct TuneOptions {
    std::string receiver;
    std::optional<long> channel;
    std::optional<double> frequency;   // MHz
    std::optional<double> symbolRate;  // Msym/s
    std::optional<std::string> options;
};
int RunTune(Context& context, const TuneOptions& options);

struct PidsOptions {
    std::string receiver;
    std::vector<std::string> set;
    bool clear = false;
};
int RunPids(Context& context, const PidsOptions& options);

struct NetworkOptions {
    std::string receiver;
    std::optional<std::string> address, mask, gateway, statusCopy, igmp, statusPort;
};
int RunNetwork(Context& context, const NetworkOptions& options);

struct ResetOptions {
    std::string receiver;
    bool yes = false;
};
int RunReset(Context& context, const ResetOptions& options);

struct ApplyFileOptions {
    std::string receiver;
    std::string file;
    std::optional<std::string> statusPort;
    std::string lastUsed;
    // Applies the network settings of a file made from another receiver too.
    bool withNetwork = false;
};
int RunApply(Context& context, const ApplyFileOptions& options);

struct SaveOptions {
    std::string receiver;
    std::string file;
};
int RunSave(Context& context, const SaveOptions& options);

// The exporter's HTTP port when --listen names none: one of the ports the
// Prometheus project sets aside for exporters.
inline constexpr std::uint16_t DEFAULT_EXPORTER_PORT = 9771;

// How the exporter and the SNMP agent hear receivers: which status ports,
// how many receivers, how long a silent one is kept, which are expected.
struct HearingOptions {
    std::vector<std::string> ports;  // status ports to hear; empty: all ten
    bool unicast = false;            // also take datagrams sent to this host's own address
    long maxReceivers = 256;
    std::string forgetAfter = "7d";   // a duration: seconds, or 90s, 30m, 12h, 7d
    std::vector<std::string> expect;  // MAC addresses of receivers expected
    std::string expectFile;           // a file of more, one a line
};

struct ExporterOptions {
    std::string listen;  // ADDRESS:PORT; empty: 0.0.0.0 and DEFAULT_EXPORTER_PORT
    HearingOptions hearing;
    std::string version;  // for r40_exporter_build_info
};
// Serves until SIGINT or SIGTERM; 0 then.
int RunExporter(const ExporterOptions& options);

}  // namespace r40ctl
