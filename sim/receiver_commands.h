// How a receiver reads the command datagrams that reach its four ports, and
// what each does to its state. Pure functions: the socket side lives in
// EmulatedReceiver.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "sim/receiver_model.h"
#include "sim/receiver_state.h"

namespace sim {

enum class CommandKind {
    Reset,            // the 4-byte reset code on the reset port
    NetworkSettings,  // 22 bytes on the network port
    Tuning,           // 6 bytes on the tuning port
    PidTableWrite,    // command 2 with the model's number of entries
    PidTableRead,     // the 2 bytes 00 01 on the table port
    CaTableWrite,     // command 3 with 16 entries, T22CA only
    Unrecognised,     // anything else: echoed, never applied
};

// What a datagram on `port` asks of a receiver of `model`.
CommandKind ClassifyCommand(Model model, std::uint16_t port, std::span<const std::uint8_t> bytes);

// Whether the receiver sends the datagram back. Every command is echoed but
// the T22CA's reset and the table read, which is answered with the table.
bool IsEchoed(Model model, std::uint16_t port, CommandKind kind);

// Applies a recognised command to the state (Reset, PidTableRead and
// Unrecognised change nothing here). Returns whether the state changed.
// A new device address is written to `state.address`; the caller moves its
// sockets there or puts the old address back.
bool ApplyCommand(Model model, CommandKind kind, std::span<const std::uint8_t> bytes,
                  ReceiverState& state);

// The table read reply: the PID table in the write command's layout, 130
// bytes for the 16-entry models and 258 for the others.
std::vector<std::uint8_t> BuildTableReply(Model model, const ReceiverState& state);

// Encodes a PID table write command for `entries` (the model's number of
// entries are taken, empty ones padded with the null PID). Tests use it to
// talk to a receiver as a console would.
std::vector<std::uint8_t> EncodePidTableWrite(Model model, std::span<const PidEntry> entries);

// Encodes a conditional-access table write command (16 entries).
std::vector<std::uint8_t> EncodeCaTableWrite(std::span<const CaEntry> entries);

// Whether a receiver may take this address as its own: not 0.0.0.0, not a
// multicast or limited broadcast address, and not the broadcast address of
// its subnet under `mask`.
bool IsUsableDeviceAddress(const Ipv4& address, const Ipv4& mask);

}  // namespace sim
