// The device object: one receiver's identity, its status listener and the
// two command transports (echoed commands and PID-table exchanges).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "devicelib/device_constants.h"
#include "devicelib/devicelib.h"
#include "devicelib/internal_codes.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"
#include "devicelib/status_decoder.h"
#include "devicelib/status_listener.h"
#include "devicelib/temporary_route.h"
#include "platform/clock/clock.h"
#include "platform/iphelper/ip_helper.h"

namespace devicelib {

// Result codes of one table exchange; the conditional-access table uses
// its own set.
struct TableCodes {
    std::int32_t socket;
    std::int32_t connect;
    std::int32_t send;
    std::int32_t receive;
};
inline constexpr TableCodes PID_TABLE_CODES{ERR_TABLE_SOCKET, ERR_TABLE_CONNECT, ERR_TABLE_SEND,
                                            ERR_TABLE_RECEIVE};
inline constexpr TableCodes CA_TABLE_CODES{ERR_CA_SOCKET, ERR_CA_CONNECT, ERR_CA_SEND,
                                           ERR_CA_RECEIVE};

// What became of a status datagram handed to a device object.
enum class StatusIntake {
    Accepted,  // taken into the status buffer and accepted by AcceptStatus
    Skipped,   // not taken: another source while the filter is on, or too short
    Refused,   // taken, but AcceptStatus refused it
};

// Result of slots 2 to 7 in a class that does not offer the operation.
inline constexpr std::int32_t RC_NOT_OFFERED = 2;

class COrvelDevice {
  public:
    COrvelDevice(const COrvelDevice&) = delete;
    COrvelDevice& operator=(const COrvelDevice&) = delete;

    // Virtual operations, in slot order.
    virtual ~COrvelDevice();                                                     // 0
    virtual std::int32_t Reset();                                                // 1
    virtual std::int32_t Tune(const void* tuning);                               // 2
    virtual std::int32_t ApplyNetworkSettings(const NetworkSettings& settings);  // 3
    virtual std::int32_t GetStatusRecord(void* record);                          // 4
    virtual std::int32_t ReadPidTable(void* record);                             // 5
    virtual std::int32_t WritePidTable(void* record);                            // 6
    virtual std::int32_t WriteCaTable(const CaTableRecord& table);               // 7
    virtual std::unique_ptr<PIDList> NewPidList() = 0;                           // 8
    virtual void ParsePidTable(std::span<std::uint8_t> reply) = 0;               // 9
    virtual const std::uint8_t* DvbMacBytes() const;                             // 10
    virtual bool AcceptStatus();                                                 // 11

    // Identity.
    std::int32_t Attach(const DeviceInfo& entry);
    bool GetAddress(Ipv4& out) const;
    bool SetAddress(const Ipv4& address);
    bool SetStatusPort(std::uint16_t port);
    bool CheckMac(const std::uint8_t* mac);
    bool SetSourceFilter(bool on);
    std::uint16_t TypeCode() const;

    // Transports.
    std::int32_t EchoExchange(std::uint16_t port, const std::uint8_t* bytes, std::size_t length);
    // Up to four echoed attempts, each with a fresh socket; the last result.
    std::int32_t EchoWithRetries(std::uint16_t port, const std::uint8_t* bytes, std::size_t length);
    std::int32_t WriteTable(std::uint8_t* bytes, std::size_t length, int entryCount,
                            bool convertPorts);
    std::int32_t ReadTable(std::size_t replyLength);

    // Status reception.
    std::int32_t OpenListener();
    void CloseListener();
    bool IsListenerOpen() const { return m_listener.IsOpen(); }
    std::int32_t WaitStatus(int timeoutMs);
    std::int32_t WaitFreshStatus(int timeoutMs);
    bool IsStatusFresh() const;
    // The clock that stamps accepted statuses and judges their age; the
    // system's by default. It must outlive the object.
    void UseClock(const platform::clock::Clock& clock);
    // Hands the object one datagram from `source` as if its listener had
    // received it, with the same checks. Needs no socket.
    StatusIntake TakeStatusDatagram(std::span<const std::uint8_t> datagram, const Ipv4& source);

    // Reaching a device outside the workstation's subnets: a host route and
    // a static neighbour entry through the adapter that owns localAddress.
    // RC_ROUTE_CREATED, ERR_ROUTE_NO_LOCAL_ADDRESS, ERR_ROUTE_NO_ADDRESS or
    // ERR_ADAPTER_NOT_FOUND. RemoveRoute takes away exactly what was added.
    std::int32_t CreateRoute(const Ipv4* localAddress);
    void RemoveRoute();
    bool RouteMade() const { return m_routeMade; }
    bool ArpEntryMade() const { return m_arpEntryMade; }
    // The last CreateRoute needed an entry the workstation refused to add.
    bool RouteRefused() const;
    // The tables routes are made in; the workstation's own by default.
    void SetIpHelper(platform::iphelper::IpHelper& helper) { m_ipHelper = &helper; }
    platform::iphelper::IpHelper& IpHelper() const { return *m_ipHelper; }

    bool IsAttached() const { return m_attached; }
    std::uint16_t StatusPort() const { return m_statusPort; }
    const Ipv4& Address() const { return m_address; }
    const StatusBuffer& StatusBytes() const { return m_statusBuffer; }

  protected:
    // Constructors set the class's type code and status datagram length; the
    // abstract families leave the length 0 (no status buffer to listen into).
    COrvelDevice(std::uint32_t type, std::uint32_t expectedLength);

    // Table write without verification: the echoed exchange of a table
    // command (the conditional-access table is confirmed from the status).
    std::int32_t TableEchoExchange(std::uint8_t* bytes, std::size_t length, int entryCount,
                                   bool convertPorts, const TableCodes& codes);
    // Verification of the table just written against m_pendingPids.
    std::int32_t VerifyWrittenTable(int entryCount);

    // Model steps shared by the six models.
    // Status: converts the PID table words, tests the model code, follows the
    // datagram's source address.
    bool AcceptModelStatus(int pidWords, bool (*modelCodeMatches)(std::uint8_t));
    std::uint8_t ModelCode() const;
    // Whether a status record of the model's type can be given now:
    // 0, RC_FAILED (stale) or ERR_STATUS_TYPE_MISMATCH.
    std::int32_t CheckStatusRecordRequest(std::uint32_t modelType) const;
    // The part of GetStatusRecord every model shares: the checks, then the
    // common and family decoders through the model's view. The model adds
    // its extras when this returns 0.
    template <class View>
    std::int32_t DecodeStatusRecord(void* record, std::uint32_t modelType, int pidEntries,
                                    int controlBits) {
        const std::int32_t check = CheckStatusRecordRequest(modelType);
        if (check != 0) return check;
        View view(record);
        DecodeCommonStatus(view, m_statusBuffer, m_address, pidEntries, controlBits);
        DecodeFamilyStatus(view, m_statusBuffer);
        return 0;
    }
    // The two fresh-status waits and one more wait by which a command's
    // effect is confirmed; the first failure.
    std::int32_t WaitForConfirmingStatus();
    // Network settings with the model's flags byte.
    std::int32_t ApplyNetworkSettingsWithFlags(const NetworkSettings& settings, std::uint8_t flags);
    // PID tables of either form.
    std::int32_t WriteStandardTable(PidListRecord* record, int entries, StandardControlRule rule);
    std::int32_t WriteForwardingTable(TrevanPidListRecord* record);
    std::int32_t ReadTableInto(void* record, int entries);

    // Points the listener at this object's members.
    void ConfigureListener();
    // AcceptStatus on what the listener has just copied; a refused datagram
    // leaves the time of the last accepted status as it was before.
    bool AcceptCopiedStatus(std::uint32_t lastAcceptedBefore);

    // Converts the 16-bit words at the given status datagram offsets.
    void ConvertStatusWords(std::span<const std::uint16_t> offsets);
    void ConvertStatusWordRange(std::size_t offset, int count);

    StatusBuffer m_statusBuffer{};
    std::uint32_t m_listenerOpenedAt = 0;
    struct RouteRecord {
        MacAddress mac{};
        Ipv4 deviceAddress{};
        Ipv4 localAddress{};
    } m_route;
    bool m_arpEntryMade = false;
    bool m_routeMade = false;
    CStatusListner m_listener;
    const platform::clock::Clock* m_clock = &platform::clock::SystemClock();
    std::uint32_t m_lastStatusAt = 0;
    std::uint32_t m_staleAfterMs = STATUS_STALE_AFTER_MS;
    std::uint32_t m_expectedLength = 0;
    // The fewest bytes a status datagram must have to be taken at all: the
    // model's whole datagram, since each model converts words up to its end.
    std::uint32_t m_shortestStatus = 0;
    bool m_addressKnown = false;
    bool m_attached = false;
    MacAddress m_mac{};
    Ipv4 m_address{};
    std::uint16_t m_statusPort = DEFAULT_STATUS_PORT;
    std::uint32_t m_type = TYPE_NONE;
    bool m_sourceFilter = false;
    bool m_macKnown = false;
    std::unique_ptr<PIDList> m_pendingPids;
    void* m_pidTarget = nullptr;
    platform::iphelper::IpHelper* m_ipHelper;
    std::unique_ptr<TemporaryRoute> m_temporaryRoute;
};

}  // namespace devicelib
