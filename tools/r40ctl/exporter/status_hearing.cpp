#include "tools/r40ctl/exporter/status_hearing.h"

#include <algorithm>
#include <chrono>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/exporter/expected_receivers.h"
#include "tools/r40ctl/exporter/heard_datagram.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/output.h"

namespace r40ctl::exporter {

namespace {

// Interfaces and their addresses change; so do the broadcasts to hear.
constexpr std::chrono::seconds REFRESH_SOCKETS{5};
constexpr std::chrono::milliseconds HEARING_WAIT{200};
// Anything beyond a year is a slip of the keyboard.
constexpr std::chrono::seconds LONGEST_FORGET_AFTER{366L * 24 * 3600};

double UnixSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::vector<std::uint16_t> StatusPortsToHear(const std::vector<std::string>& texts) {
    if (texts.empty()) return {STATUS_PORTS, STATUS_PORTS + STATUS_PORT_COUNT};
    std::vector<std::uint16_t> ports;
    for (const std::string& text : texts) {
        const std::uint16_t port = RequireStatusPort(text, "--port");
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) ports.push_back(port);
    }
    return ports;
}

std::chrono::seconds ForgetAfter(const std::string& text) {
    const std::optional<std::chrono::seconds> duration = ParseDuration(text);
    if (!duration || duration->count() < 1 || *duration > LONGEST_FORGET_AFTER)
        throw Failure(EXIT_USAGE,
                      "--forget-after wants a time from 1s to 366d (seconds, or with s, m, h or "
                      "d: 7d), not " +
                          text);
    return *duration;
}

std::vector<Mac> ExpectedReceivers(const HearingOptions& options) {
    std::vector<Mac> macs;
    std::string why;
    for (const std::string& text : options.expect)
        if (!AddExpected(text, macs, &why)) throw Failure(EXIT_USAGE, "--expect: " + why);
    if (!options.expectFile.empty() && !AddExpectedFile(options.expectFile, macs, &why))
        throw Failure(EXIT_FILE, "--expect-file " + why);
    if (macs.size() > static_cast<std::size_t>(options.maxReceivers))
        throw Failure(EXIT_USAGE, std::to_string(macs.size()) +
                                      " receivers expected, more than --max-receivers " +
                                      std::to_string(options.maxReceivers));
    return macs;
}

}  // namespace

HearingPlan PlanHearing(const HearingOptions& options) {
    HearingPlan plan;
    plan.ports = StatusPortsToHear(options.ports);
    plan.unicast = options.unicast;
    plan.limits.maxReceivers = static_cast<std::size_t>(options.maxReceivers);
    plan.limits.forgetAfter = ForgetAfter(options.forgetAfter);
    plan.expected = ExpectedReceivers(options);
    return plan;
}

std::string HearingText(const HearingPlan& plan) {
    std::string text = "hearing status ports";
    for (std::uint16_t port : plan.ports) text += " " + std::to_string(port);
    text += plan.unicast ? " (broadcasts and datagrams to this host)" : " (broadcasts)";
    const std::size_t expected = plan.expected.size();
    if (expected > 0)
        text += "; expecting " + std::to_string(expected) +
                (expected == 1 ? " receiver" : " receivers");
    return text;
}

StatusHearing::StatusHearing(ReceiverTable& table, const HearingPlan& plan)
    : m_table(table), m_sockets(plan.ports, plan.unicast) {
    m_sockets.Refresh(Message);
    m_thread = std::thread([this] { Run(); });
}

StatusHearing::~StatusHearing() {
    m_done = true;
    m_thread.join();
}

void StatusHearing::Run() {
    auto nextRefresh = SteadyClock::now() + REFRESH_SOCKETS;
    while (!m_done.load()) {
        m_sockets.Hear(HEARING_WAIT, [&](std::span<const std::uint8_t> datagram, const Ipv4& source,
                                         std::uint16_t port) {
            TakeDatagram(m_table, datagram, source, port, SteadyClock::now(), UnixSeconds());
        });
        if (SteadyClock::now() >= nextRefresh) {
            m_sockets.Refresh(Message);
            nextRefresh = SteadyClock::now() + REFRESH_SOCKETS;
        }
    }
}

}  // namespace r40ctl::exporter
