// Commands reach a receiver as UDP datagrams on a socket connected to its
// address, a fresh socket per exchange. Echoed commands are acknowledged by
// the same bytes coming back; table commands are echoed too, and a written
// PID table is then read back and compared.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <vector>

#include "devicelib/byte_order.h"
#include "devicelib/orvel_device.h"
#include "devicelib/pid_list.h"
#include "platform/clock/clock.h"
#include "platform/net/udp_socket.h"

namespace devicelib {
namespace {

using platform::net::ReceiveStatus;
using platform::net::UdpSocket;
using platform::net::WaitResult;

constexpr auto REPLY_WAIT = std::chrono::milliseconds(ECHO_TIMEOUT_MS);

// Replies are read into a buffer larger than any command, so that a reply
// longer than expected is seen as a wrong length rather than a prefix.
constexpr std::size_t REPLY_BUFFER_SIZE = 1500;

constexpr std::array<std::uint8_t, 2> TABLE_READ_REQUEST{0x00, 0x01};

}  // namespace

std::int32_t COrvelDevice::EchoExchange(std::uint16_t port, const std::uint8_t* bytes,
                                        std::size_t length) {
    UdpSocket socket;
    if (!socket.Open()) return ERR_ECHO_SOCKET;
    if (!socket.Connect(m_address, port)) return ERR_ECHO_CONNECT;
    const long sent = socket.Send({bytes, length});
    if (sent < 0 || static_cast<std::size_t>(sent) < length) return ERR_ECHO_SEND;
    platform::clock::SleepMilliseconds(REPLY_DELAY_MS);
    if (socket.WaitReadable(REPLY_WAIT) != WaitResult::Readable) return ERR_ECHO_TIMEOUT;
    std::vector<std::uint8_t> reply(std::max(length + 1, REPLY_BUFFER_SIZE));
    const platform::net::Received got = socket.Receive(reply);
    if (got.status == ReceiveStatus::Failed) return ERR_ECHO_RECEIVE;
    if (got.status == ReceiveStatus::TimedOut || got.datagramSize != length)
        return ERR_ECHO_TIMEOUT;
    if (!std::equal(bytes, bytes + length, reply.begin())) return ERR_ECHO_MISMATCH;
    return 0;
}

std::int32_t COrvelDevice::EchoWithRetries(std::uint16_t port, const std::uint8_t* bytes,
                                           std::size_t length) {
    std::int32_t result = RC_FAILED;
    for (int attempt = 0; attempt < COMMAND_ATTEMPTS; ++attempt) {
        result = EchoExchange(port, bytes, length);
        if (result == 0) break;
    }
    return result;
}

std::int32_t COrvelDevice::Reset() {
    if (!m_attached) return ERR_RESET_NOT_ATTACHED;
    static constexpr std::uint8_t RESET_CODE[4] = {0x4B, 0x2E, 0x90, 0x61};
    return EchoWithRetries(PORT_RESET, RESET_CODE, sizeof RESET_CODE);
}

std::int32_t COrvelDevice::TableEchoExchange(std::uint8_t* bytes, std::size_t length,
                                             int entryCount, bool convertPorts,
                                             const TableCodes& codes) {
    UdpSocket socket;
    if (!socket.Open()) return codes.socket;
    if (!socket.Connect(m_address, PORT_TABLE)) return codes.connect;

    // Entries follow the 2-byte command word, 8 bytes each: the PID word at
    // entry offset 6 (and the port at 4) go out big-endian.
    for (int i = 0; i < entryCount; ++i) {
        const std::size_t entry = TableEntryOffset(i);
        if (entry + 8 > length) break;
        HostToBigEndianInPlace(bytes + entry + ENTRY_PID_WORD);
        if (convertPorts) HostToBigEndianInPlace(bytes + entry + ENTRY_PORT);
    }

    std::int32_t recorded = 0;
    bool heardWrongReply = false;
    std::vector<std::uint8_t> reply(std::max(length + 1, REPLY_BUFFER_SIZE));
    for (int attempt = 0; attempt < COMMAND_ATTEMPTS; ++attempt) {
        const long sent = socket.Send({bytes, length});
        if (sent < 0 || static_cast<std::size_t>(sent) < length) recorded = codes.send;
        platform::clock::SleepMilliseconds(REPLY_DELAY_MS);
        if (socket.WaitReadable(REPLY_WAIT) != WaitResult::Readable) continue;
        const platform::net::Received got = socket.Receive(reply);
        if (got.status == ReceiveStatus::Failed) {
            recorded = codes.receive;
            continue;
        }
        if (got.status == ReceiveStatus::TimedOut) continue;
        if (got.datagramSize == length && std::equal(bytes, bytes + length, reply.begin()))
            return 0;
        heardWrongReply = true;
    }
    if (recorded != 0) return recorded;
    // Nothing recorded: the receiver either stayed silent or kept answering
    // with something other than the command.
    return heardWrongReply ? ERR_TABLE_REPLY_LENGTH : codes.receive;
}

std::int32_t COrvelDevice::WriteTable(std::uint8_t* bytes, std::size_t length, int entryCount,
                                      bool convertPorts) {
    const std::int32_t echoed =
        TableEchoExchange(bytes, length, entryCount, convertPorts, PID_TABLE_CODES);
    if (echoed != 0) return echoed;
    return VerifyWrittenTable(entryCount);
}

std::int32_t COrvelDevice::VerifyWrittenTable(int entryCount) {
    std::unique_ptr<PIDList> readBack = NewPidList();
    if (!readBack || !m_pendingPids) return ERR_PID_LIST;
    // The read-back record is freed on every way out, and the table target
    // goes back to the record written rather than dangle.
    struct RecordGuard {
        PIDList& list;
        void*& target;
        void* written;
        ~RecordGuard() {
            list.FreeRecord();
            target = written;
        }
    } guard{*readBack, m_pidTarget, m_pidTarget};

    std::int32_t read = ERR_PID_LIST;
    for (int attempt = 0; attempt < COMMAND_ATTEMPTS && read != 0; ++attempt)
        read = ReadPidTable(readBack->Record());
    if (read != 0) return ERR_PID_LIST;
    return PidListsAgree(*m_pendingPids, *readBack, entryCount) ? 0 : ERR_PID_LIST;
}

std::int32_t COrvelDevice::ReadTable(std::size_t replyLength) {
    UdpSocket socket;
    if (!socket.Open()) return ERR_TABLE_SOCKET;
    if (!socket.Connect(m_address, PORT_TABLE)) return ERR_TABLE_CONNECT;

    std::vector<std::uint8_t> reply(std::max(replyLength + 1, REPLY_BUFFER_SIZE));
    std::int32_t result = ERR_TABLE_RECEIVE;
    for (int attempt = 0; attempt < COMMAND_ATTEMPTS; ++attempt) {
        const long sent = socket.Send(TABLE_READ_REQUEST);
        if (sent < static_cast<long>(TABLE_READ_REQUEST.size())) {
            result = ERR_TABLE_SEND;
            continue;
        }
        platform::clock::SleepMilliseconds(REPLY_DELAY_MS);
        if (socket.WaitReadable(REPLY_WAIT) != WaitResult::Readable) {
            result = ERR_TABLE_RECEIVE;
            continue;
        }
        const platform::net::Received got = socket.Receive(reply);
        if (got.status != ReceiveStatus::Ok && got.status != ReceiveStatus::Truncated) {
            result = ERR_TABLE_RECEIVE;
            continue;
        }
        if (got.datagramSize != replyLength) {
            result = ERR_TABLE_REPLY_LENGTH;
            continue;
        }
        // The parser converts in place; it gets its own copy of the reply.
        std::vector<std::uint8_t> copy(reply.begin(),
                                       reply.begin() + static_cast<std::ptrdiff_t>(replyLength));
        ParsePidTable(copy);
        return 0;
    }
    return result;
}

}  // namespace devicelib
