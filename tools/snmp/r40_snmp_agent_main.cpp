// r40-snmp-agent: every receiver this host hears, in the host's SNMP agent.
// An AgentX subagent of snmpd: one thread hears the status ports exactly as
// `r40ctl exporter` does (the same hearing, decoding and table); the main
// thread answers snmpd from snapshots of the table and sends a
// notification for each change of a receiver's lock or life. Read-only:
// nothing is ever sent to a receiver.
#include <CLI/CLI.hpp>

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

#include "tools/r40ctl/exporter/hearing_options.h"
#include "tools/r40ctl/exporter/status_hearing.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/parse_arguments.h"
#include "tools/r40ctl/stop_signal.h"
#include "tools/snmp/agentx_subagent.h"
#include "tools/snmp/change_watch.h"
#include "tools/snmp/mib_view.h"

#ifndef R40CTL_VERSION
#define R40CTL_VERSION "0"
#endif

namespace {

using namespace r40ctl;
using namespace r40ctl::exporter;
using namespace r40snmp;

constexpr const char* PROGRAM = "r40-snmp-agent";
// How long one view serves: a walk reads one consistent table, and a table
// of thousands of instances is not rebuilt for every GETNEXT.
constexpr std::chrono::milliseconds VIEW_LIFETIME{100};
// How often the table is looked at for changes to notify.
constexpr std::chrono::milliseconds WATCH_EVERY{100};

struct AgentOptions {
    std::string agentxSocket;
    HearingOptions hearing;
};

int Run(const AgentOptions& options) {
    const HearingPlan plan = PlanHearing(options.hearing);
    ReceiverTable table(plan.limits, plan.expected);
    const StatusHearing hearing(table, plan);

    MibView view;
    SteadyTime viewBuilt{};
    AgentxSubagent agent(PROGRAM, options.agentxSocket, [&]() -> const MibView& {
        const SteadyTime now = SteadyClock::now();
        if (view.empty() || now - viewBuilt >= VIEW_LIFETIME) {
            view = BuildMibView(table.Snapshot(now), R40CTL_VERSION);
            viewBuilt = now;
        }
        return view;
    });
    Message(std::string("answering snmpd over AgentX") +
            (options.agentxSocket.empty() ? "" : " at " + options.agentxSocket) + "; " +
            HearingText(plan));

    ChangeWatch watch;
    watch.Changes(table.Snapshot(SteadyClock::now()));
    auto nextWatch = SteadyClock::now() + WATCH_EVERY;
    while (!StopRequested()) {
        agent.Process(WATCH_EVERY);
        if (SteadyClock::now() < nextWatch) continue;
        for (const Notice& notice : watch.Changes(table.Snapshot(SteadyClock::now())))
            agent.Notify(notice);
        nextWatch = SteadyClock::now() + WATCH_EVERY;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    SetProgramName(PROGRAM);
    CLI::App app{
        "Serves every R40 and T22 receiver this host hears to the host's SNMP agent (snmpd) as "
        "an AgentX subagent: R40-RECEIVER-MIB's receiver table and notifications of lock and "
        "silence. Sends nothing to the receivers.",
        PROGRAM};
    app.set_version_flag("--version", std::string(PROGRAM) + " " + R40CTL_VERSION);
    AgentOptions options;
    app.add_option("--agentx-socket", options.agentxSocket,
                   "the master agent's AgentX socket: a path, or tcp:HOST:PORT (default "
                   "net-snmp's, /var/agentx/master)")
        ->type_name("SOCKET");
    AddHearingOptions(app, options.hearing,
                      "how long after its last status a silent receiver's row goes: seconds, or "
                      "with s, m, h or d (default 7d; expected receivers are never forgotten)");
    app.footer(
        "snmpd.conf needs 'master agentx'. Examples:\n"
        "  r40-snmp-agent\n"
        "  r40-snmp-agent --agentx-socket /run/snmpd/agentx --expect 02-5C-C1-00-60-36");
    if (const auto ended = ParseArguments(
            app, argc, argv,
            "usage: r40-snmp-agent [--agentx-socket SOCKET] [--port PORT]... [--unicast] "
            "[--max-receivers N] [--forget-after DURATION] [--expect MAC]... "
            "[--expect-file FILE]"))
        return *ended;
    InstallStopHandlers();
    try {
        return Run(options);
    } catch (const Failure& failure) {
        Message(failure.what());
        return failure.ExitCode();
    } catch (const std::exception& e) {
        Message(e.what());
        return EXIT_REFUSED;
    }
}
