#include "tools/snmp/agentx_subagent.h"

// clang-format off
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>
// clang-format on

#include <sys/select.h>

#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include "devicelib/devicelib.h"

namespace r40snmp {

namespace {

// The ping that notices a master gone and reconnects when it is back.
constexpr int AGENTX_PING_SECONDS = 5;

std::vector<oid> ToNetsnmp(const Oid& from) {
    return std::vector<oid>(from.begin(), from.end());
}

Oid FromNetsnmp(const oid* name, std::size_t length) {
    Oid to;
    to.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        // An OID in the request beyond 32 bits sorts after every one of ours.
        if (name[i] > 0xFFFFFFFFu) {
            to.push_back(0xFFFFFFFFu);
            to.push_back(0xFFFFFFFFu);
            break;
        }
        to.push_back(static_cast<std::uint32_t>(name[i]));
    }
    return to;
}

u_char AsnType(MibValue::Type type) {
    switch (type) {
        case MibValue::Type::Integer:
            return ASN_INTEGER;
        case MibValue::Type::Unsigned:
            return ASN_UNSIGNED;
        case MibValue::Type::Gauge:
            return ASN_GAUGE;
        case MibValue::Type::Counter:
            return ASN_COUNTER;
        case MibValue::Type::Octets:
            return ASN_OCTET_STR;
        case MibValue::Type::IpAddress:
            return ASN_IPADDRESS;
    }
    return ASN_NULL;
}

void SetValue(netsnmp_variable_list* var, const MibValue& value) {
    const u_char type = AsnType(value.type);
    if (value.type == MibValue::Type::Octets || value.type == MibValue::Type::IpAddress)
        snmp_set_var_typed_value(var, type, value.octets.data(), value.octets.size());
    else
        snmp_set_var_typed_integer(var, type, static_cast<long>(value.number));
}

// Answers one request of a GET or GETNEXT from the view.
void Answer(const MibView& view, int mode, netsnmp_agent_request_info* info,
            netsnmp_request_info* request) {
    netsnmp_variable_list* var = request->requestvb;
    const Oid asked = FromNetsnmp(var->name, var->name_length);
    if (mode == MODE_GET) {
        const auto found = view.find(asked);
        if (found == view.end())
            netsnmp_set_request_error(info, request, SNMP_NOSUCHINSTANCE);
        else
            SetValue(var, found->second);
        return;
    }
    // GETNEXT (GETBULK reaches here as GETNEXTs): the first instance after
    // the one asked, or from it when the master's range includes its start;
    // none leaves the request alone, and the agent goes on beyond this
    // subtree.
    const auto next = request->inclusive ? view.lower_bound(asked) : view.upper_bound(asked);
    if (next == view.end()) return;
    const std::vector<oid> name = ToNetsnmp(next->first);
    snmp_set_var_objid(var, name.data(), name.size());
    SetValue(var, next->second);
}

extern "C" int HandleRequests(netsnmp_mib_handler* handler,
                              netsnmp_handler_registration* /*registration*/,
                              netsnmp_agent_request_info* info, netsnmp_request_info* requests) {
    // No exception may cross into net-snmp: a failure becomes a genErr.
    try {
        const auto* source = static_cast<const AgentxSubagent::ViewSource*>(handler->myvoid);
        const int mode = info->mode;
        if (mode != MODE_GET && mode != MODE_GETNEXT) return SNMP_ERR_NOTWRITABLE;
        const MibView& view = (*source)();
        for (netsnmp_request_info* r = requests; r != nullptr; r = r->next)
            if (!r->processed) Answer(view, mode, info, r);
        return SNMP_ERR_NOERROR;
    } catch (...) {
        for (netsnmp_request_info* r = requests; r != nullptr; r = r->next)
            netsnmp_set_request_error(info, r, SNMP_ERR_GENERR);
        return SNMP_ERR_GENERR;
    }
}

struct VarbindsFree {
    void operator()(netsnmp_variable_list* list) const { snmp_free_varbind(list); }
};
using Varbinds = std::unique_ptr<netsnmp_variable_list, VarbindsFree>;

void Add(netsnmp_variable_list*& list, const Oid& name, u_char type, const void* value,
         std::size_t length) {
    const std::vector<oid> n = ToNetsnmp(name);
    if (snmp_varlist_add_variable(&list, n.data(), n.size(), type, value, length) == nullptr)
        throw std::bad_alloc();
}

}  // namespace

AgentxSubagent::AgentxSubagent(const std::string& name, const std::string& socket, ViewSource view)
    : m_name(name), m_view(std::move(view)) {
    snmp_enable_stderrlog();
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 1);
    if (!socket.empty())
        netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_X_SOCKET, socket.c_str());
    // The agent keeps nothing between runs.
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    if (init_agent(m_name.c_str()) != 0) throw std::runtime_error("net-snmp's agent did not start");
    // Set after init_agent: set before, it does not hold (15 s are used).
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_AGENTX_PING_INTERVAL,
                       AGENTX_PING_SECONDS);

    const std::vector<oid> root = ToNetsnmp(ObjectsRoot());
    m_registration = netsnmp_create_handler_registration("r40Objects", HandleRequests, root.data(),
                                                         root.size(), HANDLER_CAN_RONLY);
    if (m_registration == nullptr) {
        snmp_shutdown(m_name.c_str());
        shutdown_agent();
        throw std::runtime_error("net-snmp could not make the MIB's registration");
    }
    m_registration->handler->myvoid = &m_view;
    if (netsnmp_register_handler(m_registration) != MIB_REGISTERED_OK) {
        // A failed registration has been freed by net-snmp.
        m_registration = nullptr;
        snmp_shutdown(m_name.c_str());
        shutdown_agent();
        throw std::runtime_error("net-snmp refused the MIB's registration");
    }
    // Reads the configuration and connects to the master; a master not
    // there yet is tried again at each ping.
    init_snmp(m_name.c_str());
}

AgentxSubagent::~AgentxSubagent() {
    if (m_registration != nullptr) netsnmp_unregister_handler(m_registration);
    snmp_shutdown(m_name.c_str());
    shutdown_agent();
}

void AgentxSubagent::Process(std::chrono::milliseconds wait) {
    int descriptors = 0;
    int block = 0;
    fd_set readable;
    FD_ZERO(&readable);
    timeval timeout{};
    timeout.tv_sec = static_cast<time_t>(wait.count() / 1000);
    timeout.tv_usec = static_cast<suseconds_t>(wait.count() % 1000 * 1000);
    snmp_select_info(&descriptors, &readable, &timeout, &block);
    const int ready =
        ::select(descriptors, &readable, nullptr, nullptr, block ? nullptr : &timeout);
    if (ready > 0)
        snmp_read(&readable);
    else if (ready == 0)
        snmp_timeout();
    run_alarms();
    netsnmp_check_outstanding_agent_requests();
}

void AgentxSubagent::Notify(const Notice& notice) {
    static const Oid SNMP_TRAP_OID = {1, 3, 6, 1, 6, 3, 1, 1, 4, 1, 0};
    Oid kind = ReceiverMibRoot();
    kind.insert(kind.end(), {0, static_cast<std::uint32_t>(notice.kind)});
    const std::vector<oid> kindValue = ToNetsnmp(kind);
    Oid eventMac = ObjectsRoot();
    eventMac.insert(eventMac.end(), {EVENTS_BRANCH, EVENT_MAC, 0});
    const std::string model = DeviceTypeName(notice.type);

    netsnmp_variable_list* list = nullptr;
    Varbinds owner;
    Add(list, SNMP_TRAP_OID, ASN_OBJECT_ID, kindValue.data(), kindValue.size() * sizeof(oid));
    owner.reset(list);
    Add(list, eventMac, ASN_OCTET_STR, notice.mac.data(), notice.mac.size());
    Add(list, ColumnOid(Column::Address, notice.mac), ASN_IPADDRESS, notice.address.data(),
        notice.address.size());
    Add(list, ColumnOid(Column::Model, notice.mac), ASN_OCTET_STR, model.data(), model.size());
    send_v2trap(list);
}

}  // namespace r40snmp
