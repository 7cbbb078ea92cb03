#include "sim/receiver_commands.h"

#include <algorithm>

#include "sim/byte_writer.h"
#include "sim/status_datagram.h"

namespace sim {
namespace {

Ipv4 TakeAddress(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return {bytes[offset], bytes[offset + 1], bytes[offset + 2], bytes[offset + 3]};
}

CommandKind ClassifyTable(Model model, std::span<const std::uint8_t> bytes) {
    if (bytes.size() < TABLE_HEADER_SIZE) return CommandKind::Unrecognised;
    const std::uint16_t command = GetU16(bytes, 0);
    if (command == TABLE_READ_COMMAND && bytes.size() == TABLE_HEADER_SIZE)
        return CommandKind::PidTableRead;
    if (command == PID_TABLE_WRITE_COMMAND && bytes.size() == PidTableMessageSize(model))
        return CommandKind::PidTableWrite;
    if (command == CA_TABLE_WRITE_COMMAND && TraitsOf(model).hasCaTable &&
        bytes.size() == CA_TABLE_MESSAGE_SIZE)
        return CommandKind::CaTableWrite;
    return CommandKind::Unrecognised;
}

bool ApplyNetworkSettings(Model model, std::span<const std::uint8_t> b, ReceiverState& s) {
    s.unicastStatusAddress = TakeAddress(b, 0);
    s.subnetMask = TakeAddress(b, 4);
    s.gateway = TakeAddress(b, 8);
    s.reportedStatusPort = GetU16(b, 12);
    s.address = TakeAddress(b, 14);
    // Port 0 cannot be sent to; the receiver keeps sending where it did.
    if (const std::uint16_t port = GetU16(b, 18); port != 0) s.statusDestinationPort = port;
    const std::uint8_t flags = b[21];
    s.optionFlags =
        static_cast<std::uint8_t>((s.optionFlags & ~OPTION_IGMP_BIT) | (flags & OPTION_IGMP_BIT));
    if (TraitsOf(model).networkFlagsConfirmBit0)
        s.optionFlags = static_cast<std::uint8_t>((s.optionFlags & ~OPTION_T22V2_FLAGS_BIT) |
                                                  (flags & OPTION_T22V2_FLAGS_BIT));
    return true;
}

bool ApplyTuning(Model model, std::span<const std::uint8_t> b, ReceiverState& s) {
    if (TraitsOf(model).family == Family::Atsc) {
        s.channel = GetU16(b, 0);
    } else {
        s.tuning.symbolRate = GetU16(b, 0);
        s.tuning.frequency = GetU16(b, 2);
        s.tuning.flags = b[4];
    }
    return true;
}

bool ApplyPidTable(Model model, std::span<const std::uint8_t> b, ReceiverState& s) {
    const std::size_t entries = TraitsOf(model).pidEntries;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = TABLE_HEADER_SIZE + TABLE_ENTRY_SIZE * i;
        s.pids[i] = {TakeAddress(b, at), GetU16(b, at + 4), GetU16(b, at + 6)};
    }
    return true;
}

bool ApplyCaTable(std::span<const std::uint8_t> b, ReceiverState& s) {
    for (std::size_t i = 0; i < CA_TABLE_SLOTS; ++i) {
        const std::size_t at = TABLE_HEADER_SIZE + TABLE_ENTRY_SIZE * i;
        s.caTable[i] = {TakeAddress(b, at), GetU16(b, at + 4), GetU16(b, at + 6)};
    }
    return true;
}

void PutEntry(std::span<std::uint8_t> out, std::size_t index, const Ipv4& address,
              std::uint16_t port, std::uint16_t word) {
    const std::size_t at = TABLE_HEADER_SIZE + TABLE_ENTRY_SIZE * index;
    PutBytes(out, at, address);
    PutU16(out, at + 4, port);
    PutU16(out, at + 6, word);
}

}  // namespace

CommandKind ClassifyCommand(Model model, std::uint16_t port, std::span<const std::uint8_t> bytes) {
    switch (port) {
        case RESET_PORT:
            return std::equal(bytes.begin(), bytes.end(), RESET_CODE.begin(), RESET_CODE.end())
                       ? CommandKind::Reset
                       : CommandKind::Unrecognised;
        case NETWORK_PORT:
            return bytes.size() == NETWORK_COMMAND_SIZE ? CommandKind::NetworkSettings
                                                        : CommandKind::Unrecognised;
        case TUNE_PORT:
            return bytes.size() == TUNE_COMMAND_SIZE ? CommandKind::Tuning
                                                     : CommandKind::Unrecognised;
        case TABLE_PORT:
            return ClassifyTable(model, bytes);
        default:
            return CommandKind::Unrecognised;
    }
}

bool IsEchoed(Model model, std::uint16_t port, CommandKind kind) {
    if (kind == CommandKind::PidTableRead) return false;
    if (port == RESET_PORT && !TraitsOf(model).echoesReset) return false;
    return true;
}

bool ApplyCommand(Model model, CommandKind kind, std::span<const std::uint8_t> bytes,
                  ReceiverState& state) {
    // Each branch re-checks the length so that a wrongly classified datagram
    // can never be read past its end.
    switch (kind) {
        case CommandKind::NetworkSettings:
            return bytes.size() == NETWORK_COMMAND_SIZE &&
                   ApplyNetworkSettings(model, bytes, state);
        case CommandKind::Tuning:
            return bytes.size() == TUNE_COMMAND_SIZE && ApplyTuning(model, bytes, state);
        case CommandKind::PidTableWrite:
            return bytes.size() == PidTableMessageSize(model) && ApplyPidTable(model, bytes, state);
        case CommandKind::CaTableWrite:
            return TraitsOf(model).hasCaTable && bytes.size() == CA_TABLE_MESSAGE_SIZE &&
                   ApplyCaTable(bytes, state);
        case CommandKind::Reset:
        case CommandKind::PidTableRead:
        case CommandKind::Unrecognised:
            return false;
    }
    return false;
}

std::vector<std::uint8_t> BuildTableReply(Model model, const ReceiverState& state) {
    std::vector<std::uint8_t> out(PidTableMessageSize(model), 0);
    PutU16(out, 0, PID_TABLE_WRITE_COMMAND);
    const std::size_t entries = TraitsOf(model).pidEntries;
    for (std::size_t i = 0; i < entries; ++i)
        PutEntry(out, i, state.pids[i].destination, state.pids[i].port, state.pids[i].word);
    return out;
}

std::vector<std::uint8_t> EncodePidTableWrite(Model model, std::span<const PidEntry> entries) {
    std::vector<std::uint8_t> out(PidTableMessageSize(model), 0);
    PutU16(out, 0, PID_TABLE_WRITE_COMMAND);
    const std::size_t count = TraitsOf(model).pidEntries;
    for (std::size_t i = 0; i < count; ++i) {
        const PidEntry e = i < entries.size() ? entries[i] : PidEntry{};
        PutEntry(out, i, e.destination, e.port, e.word);
    }
    return out;
}

std::vector<std::uint8_t> EncodeCaTableWrite(std::span<const CaEntry> entries) {
    std::vector<std::uint8_t> out(CA_TABLE_MESSAGE_SIZE, 0);
    PutU16(out, 0, CA_TABLE_WRITE_COMMAND);
    for (std::size_t i = 0; i < CA_TABLE_SLOTS; ++i) {
        const CaEntry e = i < entries.size() ? entries[i] : CaEntry{};
        PutEntry(out, i, e.destination, e.port, e.value);
    }
    return out;
}

bool IsUsableDeviceAddress(const Ipv4& address, const Ipv4& mask) {
    if (address[0] == 0) return false;    // "this network", 0.0.0.0 included
    if (address[0] >= 224) return false;  // multicast, reserved, 255.255.255.255
    std::uint32_t a = 0, m = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        a = (a << 8) | address[i];
        m = (m << 8) | mask[i];
    }
    const std::uint32_t host = ~m;
    // With at least two host bits, all of them set is the subnet's broadcast.
    if (host >= 3 && (a & host) == host) return false;
    return true;
}

}  // namespace sim
