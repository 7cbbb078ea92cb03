#include <array>
#include <cstring>
#include <memory>

#include "devicelib/byte_order.h"
#include "devicelib/device_models.h"
#include "devicelib/pid_list.h"
#include "devicelib/pid_table.h"
#include "devicelib/signal_math.h"
#include "devicelib/status_datagram_layout.h"
#include "devicelib/status_decoder.h"
#include "devicelib/status_views.h"
#include "platform/net/udp_socket.h"

namespace devicelib {
namespace {

namespace layout = status_datagram;

std::uint8_t IgmpFlags(const NetworkSettings& s) {
    return static_cast<std::uint8_t>(s.useIgmp * 4);
}

std::uint8_t Bit(std::uint8_t byte, int bit) {
    return (byte >> bit) & 1;
}

// Extras most satellite records share.
template <class Record>
void DecodeTuneBits3And4(Record& record, const StatusBuffer& dg) {
    record.tuneBit4 = Bit(dg[layout::satellite::TUNING_FLAGS], 4);
    record.tuneBit3 = Bit(dg[layout::satellite::TUNING_FLAGS], 3);
}

template <class Record>
void DecodeScaledValue(Record& record, const StatusBuffer& dg, int sign) {
    record.scaledValue = ScaledValue(SatelliteMantissa(dg), dg[layout::satellite::EXPONENT], sign);
}

}  // namespace

// ---- T22 2.x -------------------------------------------------------------------

CT22_V2::CT22_V2() : WithStandardPidTable(TYPE_T22_V2, STATUS_LENGTH_T22) {}

std::int32_t CT22_V2::Tune(const void* tuning) {
    return TuneSatellite(tuning, false);
}

std::int32_t CT22_V2::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, NETWORK_FLAGS);
}

std::int32_t CT22_V2::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<T22V2Status>(record, TYPE_T22_V2, LONG_TABLE_ENTRIES, 1);
    if (decoded != 0) return decoded;
    auto& r = *static_cast<T22V2StatusRecord*>(record);
    r.signalPercent =
        SignalPercent(m_statusBuffer[layout::satellite::SIGNAL_LEVEL], SIGNAL_TABLE_A);
    DecodeScaledValue(r, m_statusBuffer, -1);
    std::memcpy(r.block48, &m_statusBuffer[layout::satellite::BLOCK_48],
                layout::satellite::BLOCK_48_LENGTH);
    return 0;
}

bool CT22_V2::AcceptStatus() {
    return CSatelliteDevice::AcceptStatus() &&
           AcceptModelStatus(LONG_TABLE_ENTRIES, [](std::uint8_t code) {
               return (code & 0x0F) == (layout::MODEL_T22_V2 & 0x0F);
           });
}

// ---- T22 3.x -------------------------------------------------------------------

CT22_V3::CT22_V3() : WithStandardPidTable(TYPE_T22_V3, STATUS_LENGTH_T22) {}

std::int32_t CT22_V3::Tune(const void* tuning) {
    return TuneSatellite(tuning, true);
}

std::int32_t CT22_V3::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, IgmpFlags(s));
}

std::int32_t CT22_V3::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<T22V3Status>(record, TYPE_T22_V3, SHORT_TABLE_ENTRIES, 1);
    if (decoded != 0) return decoded;
    auto& r = *static_cast<T22V3StatusRecord*>(record);
    r.signalPercent =
        SignalPercent(m_statusBuffer[layout::satellite::SIGNAL_LEVEL], SIGNAL_TABLE_A);
    DecodeScaledValue(r, m_statusBuffer, +1);
    std::memcpy(r.dvbMac, DvbMacBytes(), 6);
    std::memcpy(r.block48, &m_statusBuffer[layout::satellite::BLOCK_48],
                layout::satellite::BLOCK_48_LENGTH);
    DecodeTuneBits3And4(r, m_statusBuffer);
    return 0;
}

const std::uint8_t* CT22_V3::DvbMacBytes() const {
    return &m_statusBuffer[layout::DVB_MAC_AFTER_SHORT_TABLE];
}

bool CT22_V3::AcceptStatus() {
    return CSatelliteDevice::AcceptStatus() &&
           AcceptModelStatus(SHORT_TABLE_ENTRIES,
                             [](std::uint8_t code) { return code == layout::MODEL_T22_V3; });
}

// ---- T22CA ---------------------------------------------------------------------

CT22CA::CT22CA() : WithForwardingPidTable(TYPE_T22CA, STATUS_LENGTH_LONG) {}

std::int32_t CT22CA::Reset() {
    if (!m_attached) return ERR_RESET_NOT_ATTACHED;
    // This model does not answer its reset: success is the code leaving.
    static constexpr std::uint8_t RESET_CODE[4] = {0x4B, 0x2E, 0x90, 0x61};
    std::int32_t result = RC_FAILED;
    for (int attempt = 0; attempt < COMMAND_ATTEMPTS; ++attempt) {
        platform::net::UdpSocket socket;
        if (!socket.Open()) {
            result = ERR_ECHO_SOCKET;
        } else if (!socket.Connect(m_address, PORT_RESET)) {
            result = ERR_ECHO_CONNECT;
        } else {
            const long sent = socket.Send(RESET_CODE);
            result = sent == static_cast<long>(sizeof RESET_CODE) ? 0 : ERR_ECHO_SEND;
        }
        if (result == 0) break;
    }
    return result;
}

std::int32_t CT22CA::Tune(const void* tuning) {
    return TuneSatellite(tuning, true);
}

std::int32_t CT22CA::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, IgmpFlags(s));
}

std::int32_t CT22CA::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<T22CAStatus>(record, TYPE_T22CA, LONG_TABLE_ENTRIES, 3);
    if (decoded != 0) return decoded;
    auto& r = *static_cast<T22CAStatusRecord*>(record);
    const std::uint8_t level = m_statusBuffer[layout::satellite::SIGNAL_LEVEL];
    // Receivers reporting the T22CA's own model code give the percentage
    // themselves.
    r.signalPercent =
        ModelCode() == layout::MODEL_TREVAN ? SignalPercent(level, SIGNAL_TABLE_B) : level;
    DecodeScaledValue(r, m_statusBuffer, +1);
    std::memcpy(r.dvbMac, DvbMacBytes(), 6);
    DecodeTuneBits3And4(r, m_statusBuffer);
    r.byte63 = m_statusBuffer[layout::BYTE_63];
    r.levelByte = level;
    r.byte46Copy = m_statusBuffer[layout::satellite::BYTE_46];
    r.nibble4EHigh = (m_statusBuffer[layout::satellite::BYTE_4E] >> 4) & 0x03;
    r.nibble4ELow = m_statusBuffer[layout::satellite::BYTE_4E] & 0x0F;
    r.igmpOn = Bit(m_statusBuffer[layout::OPTION_FLAGS], layout::OPTION_IGMP_BIT);
    return 0;
}

std::int32_t CT22CA::WriteCaTable(const CaTableRecord& table) {
    if (table.caCount > CA_TABLE_ENTRIES) return ERR_CA_LIST_TOO_LONG;

    std::array<std::uint8_t, TableCommandLength(CA_TABLE_ENTRIES)> command{};
    StoreBigEndian16(command.data(), TABLE_COMMAND_CA);
    for (int i = 0; i < CA_TABLE_ENTRIES; ++i) {
        std::uint8_t* entry = &command[TableEntryOffset(i)];
        std::memcpy(entry + ENTRY_ADDRESS, table.destination[i].address, 4);
        // The port goes out as stored; only the value is converted.
        const std::uint16_t port = table.destination[i].port;
        std::memcpy(entry + ENTRY_PORT, &port, 2);
        StoreHost16(entry + ENTRY_PID_WORD, table.caValue[i]);
    }
    const std::int32_t echoed =
        TableEchoExchange(command.data(), command.size(), CA_TABLE_ENTRIES, false, CA_TABLE_CODES);
    if (echoed != 0) return echoed;
    const std::int32_t waited = WaitForConfirmingStatus();
    if (waited != 0) return waited;

    // The head block now holds 16 host-order words.
    std::array<std::uint16_t, CA_TABLE_ENTRIES> head{};
    for (int i = 0; i < CA_TABLE_ENTRIES; ++i)
        head[i] = LoadHost16(&m_statusBuffer[layout::HEAD_BLOCK + 2 * i]);
    int sentNonZero = 0;
    int headNonZero = 0;
    bool allFound = true;
    for (int i = 0; i < CA_TABLE_ENTRIES; ++i) {
        if (head[i] != 0) ++headNonZero;
        const std::uint16_t value = table.caValue[i];
        if (value == 0) continue;
        ++sentNonZero;
        bool found = false;
        for (std::uint16_t word : head) found = found || word == value;
        allFound = allFound && found;
    }
    return sentNonZero == headNonZero && allFound ? 0 : ERR_CA_NOT_CONFIRMED;
}

const std::uint8_t* CT22CA::DvbMacBytes() const {
    return &m_statusBuffer[layout::DVB_MAC_AFTER_LONG_TABLE];
}

bool CT22CA::AcceptStatus() {
    if (!CSatelliteDevice::AcceptStatus()) return false;
    ConvertStatusWordRange(layout::HEAD_BLOCK, CA_TABLE_ENTRIES);
    return AcceptModelStatus(LONG_TABLE_ENTRIES, [](std::uint8_t code) {
        return code == layout::MODEL_TREVAN || code == layout::MODEL_T22CA;
    });
}

// ---- Trevan --------------------------------------------------------------------

CTrevan::CTrevan() : WithForwardingPidTable(TYPE_TREVAN, STATUS_LENGTH_LONG) {}

std::int32_t CTrevan::Tune(const void* tuning) {
    return TuneSatellite(tuning, true);
}

std::int32_t CTrevan::ApplyNetworkSettings(const NetworkSettings& s) {
    return ApplyNetworkSettingsWithFlags(s, IgmpFlags(s));
}

std::int32_t CTrevan::GetStatusRecord(void* record) {
    const std::int32_t decoded =
        DecodeStatusRecord<TrevanStatus>(record, TYPE_TREVAN, LONG_TABLE_ENTRIES, 3);
    if (decoded != 0) return decoded;
    auto& r = *static_cast<TrevanStatusRecord*>(record);
    r.signalPercent =
        SignalPercent(m_statusBuffer[layout::satellite::SIGNAL_LEVEL], SIGNAL_TABLE_B);
    DecodeScaledValue(r, m_statusBuffer, +1);
    std::memcpy(r.dvbMac, DvbMacBytes(), 6);
    std::memcpy(r.block48, &m_statusBuffer[layout::satellite::BLOCK_48],
                layout::satellite::BLOCK_48_LENGTH);
    DecodeTuneBits3And4(r, m_statusBuffer);
    r.igmpOn = Bit(m_statusBuffer[layout::OPTION_FLAGS], layout::OPTION_IGMP_BIT);
    return 0;
}

const std::uint8_t* CTrevan::DvbMacBytes() const {
    return &m_statusBuffer[layout::DVB_MAC_AFTER_LONG_TABLE];
}

bool CTrevan::AcceptStatus() {
    return CSatelliteDevice::AcceptStatus() &&
           AcceptModelStatus(LONG_TABLE_ENTRIES,
                             [](std::uint8_t code) { return code == layout::MODEL_TREVAN; });
}

// ---- factory ---------------------------------------------------------------------

std::unique_ptr<COrvelDevice> MakeDevice(std::uint16_t type) {
    switch (type) {
        case TYPE_T22_V2:
            return std::make_unique<CT22_V2>();
        case TYPE_T22_V3:
            return std::make_unique<CT22_V3>();
        case TYPE_R40:
            return std::make_unique<CR40>();
        case TYPE_TREVAN:
            return std::make_unique<CTrevan>();
        case TYPE_T22CA:
            return std::make_unique<CT22CA>();
        case TYPE_R40_TREVAN:
            return std::make_unique<CR40Trevan>();
        default:
            return nullptr;
    }
}

}  // namespace devicelib
