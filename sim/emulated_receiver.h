// One emulated receiver on its own IPv4 address, speaking the receivers'
// wire protocol over real UDP sockets from a thread of its own.
//
//   sim::ReceiverConfig cfg = sim::ReceiverConfig::For(sim::Model::R40, {127, 0, 0, 20});
//   sim::EmulatedReceiver rx(cfg);
//   std::string err;
//   ASSERT_TRUE(rx.Start(&err)) << err;
//   ASSERT_TRUE(rx.WaitForNewStatuses(1, 1s));
//   rx.SetFault(sim::Fault::NoEcho, true);
//   ... talk to it ...
//   auto cmds = rx.Commands();           // every command datagram, exact bytes
//   EXPECT_EQ(rx.State().channel, 69);   // what the commands did
//
// While running, the receiver
// - sends its status datagram every `statusInterval` to
//   `broadcastAddress`:statusDestinationPort (SO_BROADCAST), plus a copy to
//   its unicast status address unless that is 255.255.255.255 or 0.0.0.0,
//   from a socket bound to its own address;
// - listens on its own address on ports 39321 (reset), 6517 (network
//   settings), 6531 (tuning) and 6519 (PID table write and read, T22CA
//   conditional-access table), echoes every command to its sender at once
//   (not the T22CA's reset; a table read is answered with the table) and
//   applies the well-formed ones to its state, which every later status
//   shows; the state changes before the echo leaves, so whoever holds the
//   echo finds the change in State() and the command in Commands();
// - takes a new address from network settings by moving its sockets there;
//   if the address cannot be bound it keeps the old one and says so in
//   LastError();
// - after a reset, sends no status and answers nothing for `resetPause`
//   (commands are still recorded), then carries on with its configuration;
// - records every command datagram (port, bytes, source).
// Malformed datagrams of any length are recorded and echoed, never applied.
//
// Network faults: SetLoss drops echoes, table replies and status datagrams
// at random with the given probabilities (counted in Losses()); a vanish
// cycle, or SetVanished, takes the receiver off the network for a while.
//
// Every setter may be called from any thread at any time; fault switches
// take effect from the next datagram (Settle() waits until they surely
// have). Start/Stop are for the owning thread. A T22CA that reports model
// code 0x34: set `config.initial.modelCode = sim::T22_CA_ALTERNATE_MODEL_CODE`.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "sim/network_faults.h"
#include "sim/receiver_model.h"
#include "sim/receiver_state.h"
#include "sim/signal_model.h"
#include "sim/status_datagram.h"

namespace sim {

using Milliseconds = std::chrono::milliseconds;

struct ReceiverConfig {
    Model model = Model::R40;
    ReceiverState initial;  // the state it starts with (see DefaultState)
    Ipv4 broadcastAddress{127, 255, 255, 255};
    Milliseconds statusInterval{50};
    Milliseconds resetPause{1000};
    // Signal values wander a little with every status (SNR, level, carrier
    // offset), as on a real antenna. Off by default so tests see fixed values.
    bool animateSignal = false;
    // Path of a network namespace (e.g. /run/netns/B) the receiver's thread
    // joins before it creates its sockets; empty: the caller's namespace.
    std::string networkNamespace;
    // Datagrams lost on the way back, from the start (see SetLoss).
    LossRates loss;
    // Comes and goes from the start (see SetVanishCycle).
    std::optional<VanishCycle> vanish;
    // Seed of the loss decisions; 0: one made from the address, so runs repeat.
    std::uint32_t lossSeed = 0;
    // Added to each command port the receiver listens on. Receivers that
    // must share one address (under Wine every UDP socket bound to a
    // loopback address but 127.0.0.1 is bound to the wildcard) are told
    // apart by it; only a receiver with shift 0 answers on the ports a
    // client addresses. Commands are recorded under the standard port.
    std::uint16_t commandPortShift = 0;
    // Oldest recorded commands are dropped beyond this many.
    std::size_t commandRecordLimit = 4096;
    // Called from the receiver's thread for each notable event (a command
    // applied, a reset, a failed move to a new address). May be empty.
    std::function<void(const std::string&)> log;

    // A receiver of `model` at `address` sending status to `statusPort`.
    static ReceiverConfig For(Model model, Ipv4 address,
                              std::uint16_t statusPort = RECEIVER_DEFAULT_STATUS_PORT);
};

// Switches that make a receiver misbehave on purpose.
enum class Fault {
    NoEcho,            // answers nothing: no echo, no table reply
    ChangedEcho,       // one byte of each echo flipped
    ShortEcho,         // each echo one byte short
    ShortTableReply,   // table read reply 2 bytes short
    Silence,           // no status datagrams at all
    IgnoreCommands,    // echoes commands but does not apply them (reset included)
    ForeignMacPrefix,  // status MAC starts 00-5C-C1
};

struct ReceivedCommand {
    std::uint16_t port = 0;           // the receiver port it arrived on
    std::vector<std::uint8_t> bytes;  // as received (at most MAX_COMMAND_SIZE bytes)
    std::size_t datagramSize = 0;     // the datagram's full length
    Ipv4 source{};
    std::uint16_t sourcePort = 0;
};

class EmulatedReceiver {
  public:
    // Datagrams longer than this are recorded cut short and not answered.
    static constexpr std::size_t MAX_COMMAND_SIZE = 2048;

    explicit EmulatedReceiver(ReceiverConfig config);
    ~EmulatedReceiver();  // stops
    EmulatedReceiver(const EmulatedReceiver&) = delete;
    EmulatedReceiver& operator=(const EmulatedReceiver&) = delete;

    // Creates the sockets (in the configured namespace) and starts the
    // receiver's thread. False with a reason when a socket cannot be made or
    // bound (e.g. the address is taken); nothing is left running then.
    bool Start(std::string* error = nullptr);
    // Stops the thread and closes the sockets; returns within a few tens of
    // milliseconds. Safe to call twice. A stopped receiver may be started again.
    void Stop();
    bool Running() const { return m_running.load(); }

    Model model() const { return m_config.model; }
    const ReceiverConfig& config() const { return m_config; }

    // ---- fault switches -----------------------------------------------
    void SetFault(Fault fault, bool on);
    bool FaultOn(Fault fault) const;
    // Byte 0x20 carries this code instead of the model's.
    void SetModelCodeOverride(std::optional<std::uint8_t> code);
    // Status datagrams of this length (cut short, or padded with zeros).
    void SetStatusLengthOverride(std::optional<std::size_t> length);
    // Each status datagram is also sent, with the same content and to the
    // same destinations, from this address (e.g. 127.0.0.99).
    void SetSpoofedSource(std::optional<Ipv4> address);
    // Random loss of what the receiver sends (probabilities clamped to 0..1);
    // the second form gives all three kinds the same probability.
    void SetLoss(const LossRates& rates);
    void SetLoss(double probability);
    LossRates Loss() const;
    LossCounts Losses() const;
    // Off the network until switched back (answers nothing, sends nothing,
    // drops what reaches it unread and unrecorded).
    void SetVanished(bool gone);
    // Comes and goes by the cycle, starting now with its present part; none: stays.
    void SetVanishCycle(std::optional<VanishCycle> cycle);
    // Whether it is off the network now.
    bool Vanished() const;
    // Every switch above off, loss and vanishing included.
    void ClearFaults();

    // ---- timing -------------------------------------------------------
    void SetStatusInterval(Milliseconds interval);
    void SetResetPause(Milliseconds pause);

    // ---- command record -----------------------------------------------
    std::vector<ReceivedCommand> Commands() const;
    std::vector<ReceivedCommand> CommandsOnPort(std::uint16_t port) const;
    std::vector<ReceivedCommand> TakeCommands();  // returns and clears
    void ClearCommands();
    // Waits until at least `count` commands are recorded.
    bool WaitForCommands(std::size_t count, Milliseconds timeout) const;

    // ---- status -------------------------------------------------------
    // Status emissions so far (one per interval, whatever copies it made).
    std::uint64_t StatusesSent() const;
    // Waits until StatusesSent() reaches `total`.
    bool WaitUntilStatusesSent(std::uint64_t total, Milliseconds timeout) const;
    // Waits for `count` more emissions than there were at the call.
    bool WaitForNewStatuses(std::uint64_t count, Milliseconds timeout) const;
    // Waits until the receiver's thread has gone round its loop twice since
    // the call, so that every switch and state change made before it holds
    // for everything sent afterwards (also what was being sent at the call
    // has left by then). False if it is not running.
    bool Settle(Milliseconds timeout = Milliseconds(1000)) const;
    // The exact bytes it would send now, faults included.
    std::vector<std::uint8_t> BuildStatusDatagram() const;
    // The last status datagram it sent (empty before the first).
    std::vector<std::uint8_t> LastStatusDatagram() const;

    // ---- state --------------------------------------------------------
    ReceiverState State() const;
    // Changes the state under the receiver's lock; the next status shows it.
    // A changed address moves the sockets (failures reach LastError()). The
    // change must not call back into the receiver.
    void Modify(const std::function<void(ReceiverState&)>& change);

    Ipv4 Address() const;
    void SetAddress(const Ipv4& address);
    MacAddress Mac() const;
    void SetMac(const MacAddress& mac);
    std::uint16_t StatusDestinationPort() const;
    void SetStatusPort(std::uint16_t port);  // where it sends and what it reports
    std::uint16_t Channel() const;
    void SetChannel(std::uint16_t channel);
    SatelliteTuning Tuning() const;
    void SetTuning(const SatelliteTuning& tuning);
    // The model's number of entries (16 or 32).
    std::vector<PidEntry> PidEntries() const;
    void SetPidEntries(std::span<const PidEntry> entries);  // the rest become empty
    std::array<std::uint16_t, CA_TABLE_SLOTS> CaValues() const;
    void SetLocked(bool locked);
    void SetDataFlowing(bool flowing);

    // ---- what happened ------------------------------------------------
    std::uint64_t ResetCount() const { return m_resets.load(); }
    bool Restarting() const;
    // The last failure the receiver met (empty when none), e.g. an address
    // it could not move to.
    std::string LastError() const;

  private:
    struct Sockets;

    void Run(std::shared_ptr<std::promise<std::string>> started);
    void ServeCommands(Sockets& sockets);
    void HandleCommand(Sockets& sockets, std::size_t index, std::span<const std::uint8_t> bytes,
                       const ReceivedCommand& record);
    void SendStatus(Sockets& sockets, SignalModel& signal);
    bool FollowAddress(Sockets& sockets);
    void FollowSpoofedSource(Sockets& sockets);
    StatusOverrides CurrentOverrides() const;
    void Record(ReceivedCommand command);
    // Decides, on the receiver's thread, whether one datagram is lost.
    bool Lose(const std::atomic<double>& probability);
    void DropEverythingQueued(Sockets& sockets);
    void SetError(const std::string& error);
    void Log(const std::string& message) const;

    const ReceiverConfig m_config;

    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;

    std::array<std::atomic<bool>, 7> m_faults{};
    std::atomic<int> m_modelCodeOverride{-1};           // -1: none
    std::atomic<long long> m_statusLengthOverride{-1};  // -1: none
    std::atomic<std::uint32_t> m_spoofedSource{0};      // 0: none; else the 4 octets
    std::atomic<long long> m_statusIntervalMs;
    std::atomic<long long> m_resetPauseMs;
    std::atomic<std::uint64_t> m_resets{0};
    std::atomic<long long> m_restartEndsAtMs{0};  // steady clock; 0: not restarting

    std::atomic<double> m_echoLoss{0}, m_tableReplyLoss{0}, m_statusLoss{0};
    std::atomic<std::uint64_t> m_echoesSent{0}, m_echoesLost{0};
    std::atomic<std::uint64_t> m_tableRepliesSent{0}, m_tableRepliesLost{0};
    std::atomic<std::uint64_t> m_statusesLost{0};
    std::uint32_t m_lossState;  // the receiver's thread only
    std::atomic<bool> m_vanished{false};
    mutable std::mutex m_vanishMutex;
    std::optional<VanishCycle> m_vanishCycle;
    long long m_vanishCycleStartMs = 0;

    mutable std::mutex m_stateMutex;
    ReceiverState m_state;
    std::vector<std::uint8_t> m_lastStatus;
    std::string m_lastError;

    mutable std::mutex m_recordMutex;
    mutable std::condition_variable m_recordChanged;
    std::deque<ReceivedCommand> m_commands;

    mutable std::mutex m_loopMutex;
    mutable std::condition_variable m_loopDone;
    std::uint64_t m_loops = 0;

    mutable std::mutex m_statusMutex;
    mutable std::condition_variable m_statusSent;
    std::uint64_t m_statusesSent = 0;
};

}  // namespace sim
