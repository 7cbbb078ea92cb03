// The agent's side of net-snmp: an AgentX subagent of the host's snmpd that
// answers reads of R40-RECEIVER-MIB from a MibView and sends notifications
// through the master. net-snmp keeps its state in globals, so there is one
// of these per process; it is set up by the constructor and torn down by
// the destructor. net-snmp calls back into C++ only through a handler that
// lets no exception out.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "tools/snmp/change_watch.h"
#include "tools/snmp/mib_view.h"

// net-snmp's own types, kept out of this header.
struct netsnmp_handler_registration_s;

namespace r40snmp {

class AgentxSubagent {
  public:
    // The view to answer from; called on this thread for each request, so
    // it may hand out a cached view that it refreshes now and then.
    using ViewSource = std::function<const MibView&()>;

    // `name`: the application name net-snmp reads its configuration under
    // and logs with. `socket`: the master's AgentX socket, empty for
    // net-snmp's default (or what the name's configuration file says).
    AgentxSubagent(const std::string& name, const std::string& socket, ViewSource view);
    ~AgentxSubagent();
    AgentxSubagent(const AgentxSubagent&) = delete;
    AgentxSubagent& operator=(const AgentxSubagent&) = delete;

    // Answers what the master asks and keeps the connection (pings,
    // reconnects) for up to `wait`.
    void Process(std::chrono::milliseconds wait);

    // One notification to the master, which sends it to its trap sinks.
    void Notify(const Notice& notice);

  private:
    std::string m_name;
    ViewSource m_view;
    netsnmp_handler_registration_s* m_registration = nullptr;
};

}  // namespace r40snmp
