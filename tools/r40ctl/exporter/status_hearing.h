// Passive hearing of the status ports, shared by `r40ctl exporter` and
// `r40-snmp-agent`: the options read into ports, table limits and expected
// receivers, and a thread that hears the status sockets, decodes every
// datagram and enters it in a receiver table. Whoever serves the table only
// ever takes snapshots of it, so no answer waits on the network.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tools/r40ctl/commands.h"
#include "tools/r40ctl/exporter/receiver_table.h"
#include "tools/r40ctl/exporter/status_sockets.h"

namespace r40ctl::exporter {

// The options, checked: a Failure (usage or file) for a value that is not
// usable.
struct HearingPlan {
    std::vector<std::uint16_t> ports;
    bool unicast = false;
    TableLimits limits;
    std::vector<Mac> expected;
};
HearingPlan PlanHearing(const HearingOptions& options);

// "hearing status ports 6516 8309 (broadcasts); expecting 2 receivers"
std::string HearingText(const HearingPlan& plan);

// Hears from construction to destruction. Sockets are bound before the
// constructor returns; a port that cannot be bound is reported through
// Message and tried again every few seconds.
class StatusHearing {
  public:
    StatusHearing(ReceiverTable& table, const HearingPlan& plan);
    ~StatusHearing();
    StatusHearing(const StatusHearing&) = delete;
    StatusHearing& operator=(const StatusHearing&) = delete;

    // Status ports with at least one bound socket.
    int PortsListening() const { return m_sockets.PortsListening(); }

  private:
    void Run();

    ReceiverTable& m_table;
    StatusSockets m_sockets;
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

}  // namespace r40ctl::exporter
