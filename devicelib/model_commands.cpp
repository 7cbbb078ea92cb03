// The steps the six models share: status acceptance, confirmation waits,
// network settings and the PID table commands of either form.
#include <array>
#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/orvel_device.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"
#include "devicelib/status_datagram_layout.h"

namespace devicelib {
namespace {

constexpr int CONFIRM_WAIT_MS = 4000;

bool Equal4(const std::uint8_t* a, const std::uint8_t* b) {
    return std::memcmp(a, b, 4) == 0;
}

}  // namespace

std::uint8_t COrvelDevice::ModelCode() const {
    // After conversion the model code is the word's high byte.
    return static_cast<std::uint8_t>(
        LoadHost16(&m_statusBuffer[status_datagram::MODEL_AND_VERSION]) >> 8);
}

bool COrvelDevice::AcceptModelStatus(int pidWords, bool (*modelCodeMatches)(std::uint8_t)) {
    ConvertStatusWordRange(status_datagram::PID_TABLE, pidWords);
    if (!modelCodeMatches(ModelCode())) return false;
    // The device's address follows the source of its accepted status.
    m_listener.LastSource(m_address);
    return true;
}

std::int32_t COrvelDevice::CheckStatusRecordRequest(std::uint32_t modelType) const {
    if (!IsStatusFresh()) return RC_FAILED;
    if (m_type != modelType) return ERR_STATUS_TYPE_MISMATCH;
    return 0;
}

std::int32_t COrvelDevice::WaitForConfirmingStatus() {
    std::int32_t result = WaitFreshStatus(CONFIRM_WAIT_MS);
    if (result == 0) result = WaitFreshStatus(CONFIRM_WAIT_MS);
    if (result == 0) result = WaitStatus(CONFIRM_WAIT_MS);
    return result;
}

std::int32_t COrvelDevice::ApplyNetworkSettingsWithFlags(const NetworkSettings& s,
                                                         std::uint8_t flags) {
    if (!m_attached) return ERR_NET_NOT_ATTACHED;

    std::array<std::uint8_t, 22> command{};
    std::memcpy(&command[0], s.unicastStatusAddress, 4);
    std::memcpy(&command[4], s.subnetMask, 4);
    std::memcpy(&command[8], s.defaultGateway, 4);
    StoreBigEndian16(&command[12], s.statusPort);
    std::memcpy(&command[14], s.deviceAddress, 4);
    StoreBigEndian16(&command[18], s.listenPort);
    command[20] = 5;
    command[21] = flags;

    bool hostPart = false;
    for (int i = 0; i < 4; ++i) hostPart |= (s.deviceAddress[i] & ~s.subnetMask[i]) != 0;
    if (!hostPart) return ERR_NET_HOST_PART_ZERO;
    if (!IsStatusPort(s.listenPort) || !IsStatusPort(s.statusPort)) return ERR_PORT_NOT_IN_TABLE;

    const std::int32_t echoed = EchoWithRetries(PORT_NETWORK, command.data(), command.size());
    if (echoed != 0) return echoed;

    // One more status from the old address and port, then follow the device.
    WaitFreshStatus(CONFIRM_WAIT_MS);
    Ipv4 newAddress;
    std::memcpy(newAddress.data(), s.deviceAddress, 4);
    SetAddress(newAddress);
    CloseListener();
    SetStatusPort(s.listenPort);
    const std::int32_t opened = OpenListener();
    if (opened != 0) return opened;

    std::int32_t waited = WaitFreshStatus(CONFIRM_WAIT_MS);
    if (waited == 0) waited = WaitStatus(CONFIRM_WAIT_MS);
    if (waited != 0) return waited;

    const bool confirmed =
        Equal4(&m_statusBuffer[status_datagram::DEFAULT_GATEWAY], s.defaultGateway) &&
        Equal4(&m_statusBuffer[status_datagram::UNICAST_STATUS_ADDRESS], s.unicastStatusAddress) &&
        LoadHost16(&m_statusBuffer[status_datagram::STATUS_PORT]) == s.statusPort &&
        (m_statusBuffer[status_datagram::OPTION_FLAGS] & flags) == flags &&
        Equal4(&m_statusBuffer[status_datagram::SUBNET_MASK], s.subnetMask);
    return confirmed ? 0 : ERR_NET_NOT_CONFIRMED;
}

std::int32_t COrvelDevice::WriteStandardTable(PidListRecord* record, int entries,
                                              StandardControlRule rule) {
    m_pidTarget = record;
    m_pendingPids = std::make_unique<StandardPIDList>(record);
    std::int32_t result = ERR_PID_LIST_TOO_LONG;
    if (record->count <= entries) {
        std::array<std::uint8_t, TableCommandLength(LONG_TABLE_ENTRIES)> command{};
        const std::size_t length = TableCommandLength(entries);
        EncodeStandardTable(*record, entries, rule, {command.data(), length});
        result = WriteTable(command.data(), length, entries, false);
    }
    m_pendingPids.reset();
    return result;
}

std::int32_t COrvelDevice::WriteForwardingTable(TrevanPidListRecord* record) {
    m_pidTarget = record;
    m_pendingPids = std::make_unique<TrevanPIDList>(record);
    std::int32_t result = ERR_PID_LIST_TOO_LONG;
    if (record->count <= LONG_TABLE_ENTRIES) {
        std::array<std::uint8_t, TableCommandLength(LONG_TABLE_ENTRIES)> command{};
        EncodeForwardingTable(*record, command);
        result = WriteTable(command.data(), command.size(), LONG_TABLE_ENTRIES, true);
    }
    m_pendingPids.reset();
    return result;
}

std::int32_t COrvelDevice::ReadTableInto(void* record, int entries) {
    m_pidTarget = record;
    return ReadTable(TableCommandLength(entries));
}

}  // namespace devicelib
