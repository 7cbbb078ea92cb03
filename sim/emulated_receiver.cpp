#include "sim/emulated_receiver.h"

#include <algorithm>

#include "platform/net/udp_socket.h"
#include "sim/address_text.h"
#include "sim/receiver_commands.h"
#include "tests/support/thread_network.h"

namespace sim {

using platform::net::ReceiveStatus;
using platform::net::UdpSocket;

namespace {

// The longest the thread sleeps between looks at its stop flag.
constexpr long long MAX_WAIT_MS = 20;
// Datagrams taken from one port in a row, so a flood cannot starve the status.
constexpr int MAX_DATAGRAMS_PER_PORT = 64;
// The largest UDP payload over IPv4.
constexpr std::size_t MAX_UDP_PAYLOAD = 65507;

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::uint32_t Pack(const Ipv4& a) {
    return (std::uint32_t{a[0]} << 24) | (std::uint32_t{a[1]} << 16) | (std::uint32_t{a[2]} << 8) |
           a[3];
}

Ipv4 Unpack(std::uint32_t v) {
    return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
            static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

double Probability(double p) {
    return p > 0 ? (p < 1 ? p : 1.0) : 0.0;  // NaN reads as 0
}

bool SendsUnicastCopy(const Ipv4& unicast) {
    return unicast != NO_UNICAST_ADDRESS && unicast != Ipv4{0, 0, 0, 0};
}

std::string DescribeApplied(Model model, CommandKind kind, const ReceiverState& s) {
    switch (kind) {
        case CommandKind::Tuning:
            if (TraitsOf(model).family == Family::Atsc)
                return "tuned to channel " + std::to_string(s.channel);
            return "tuned to symbol rate " + std::to_string(s.tuning.symbolRate) +
                   "/1000, frequency " + std::to_string(s.tuning.frequency) + "/10, flags " +
                   std::to_string(s.tuning.flags);
        case CommandKind::NetworkSettings:
            return "network settings: address " + FormatIpv4(s.address) + ", mask " +
                   FormatIpv4(s.subnetMask) + ", gateway " + FormatIpv4(s.gateway) +
                   ", unicast status " + FormatIpv4(s.unicastStatusAddress) + ", reports port " +
                   std::to_string(s.reportedStatusPort) + ", status to port " +
                   std::to_string(s.statusDestinationPort) +
                   ((s.optionFlags & OPTION_IGMP_BIT) ? ", IGMP on" : ", IGMP off");
        case CommandKind::PidTableWrite: {
            std::size_t used = 0;
            for (std::size_t i = 0; i < TraitsOf(model).pidEntries; ++i)
                if (s.pids[i].Pid() != UNUSED_PID) ++used;
            return "PID table written, " + std::to_string(used) + " PIDs";
        }
        case CommandKind::CaTableWrite:
            return "conditional-access table written";
        default:
            return "command applied";
    }
}

}  // namespace

struct EmulatedReceiver::Sockets {
    std::array<UdpSocket, COMMAND_PORTS.size()> command;  // in COMMAND_PORTS order
    UdpSocket status;
    UdpSocket spoof;
    Ipv4 boundAddress{};
    std::uint32_t spoofAddress = 0;

    // Opens the command and status sockets on `address`; on failure the
    // sockets held so far are left untouched.
    bool MoveTo(const Ipv4& address, std::uint16_t portShift, std::string* why) {
        std::array<UdpSocket, COMMAND_PORTS.size()> fresh;
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            const auto port = static_cast<std::uint16_t>(COMMAND_PORTS[i] + portShift);
            // No address reuse: two receivers on one address must not share a port.
            if (!fresh[i].Open() || !fresh[i].Bind(address, port)) {
                *why = "cannot bind " + FormatIpv4(address) + ":" + std::to_string(port) +
                       " (address taken or not local)";
                return false;
            }
        }
        UdpSocket sender;
        if (!sender.Open() || !sender.SetBroadcast(true) || !sender.Bind(address, 0)) {
            *why = "cannot bind a status socket to " + FormatIpv4(address);
            return false;
        }
        command = std::move(fresh);
        status = std::move(sender);
        boundAddress = address;
        return true;
    }
};

ReceiverConfig ReceiverConfig::For(Model model, Ipv4 address, std::uint16_t statusPort) {
    ReceiverConfig config;
    config.model = model;
    config.initial = DefaultState(model, address, statusPort);
    return config;
}

EmulatedReceiver::EmulatedReceiver(ReceiverConfig config)
    : m_config(std::move(config)),
      m_statusIntervalMs(std::max<long long>(1, m_config.statusInterval.count())),
      m_resetPauseMs(std::max<long long>(0, m_config.resetPause.count())),
      m_lossState(m_config.lossSeed != 0 ? m_config.lossSeed
                                         : Pack(m_config.initial.address) ^ 0x9E3779B9u),
      m_state(m_config.initial) {
    if (m_lossState == 0) m_lossState = 1;
    SetLoss(m_config.loss);
    SetVanishCycle(m_config.vanish);
}

EmulatedReceiver::~EmulatedReceiver() {
    Stop();
}

bool EmulatedReceiver::Start(std::string* error) {
    if (m_running.load()) {
        if (error) *error = "already running";
        return false;
    }
    if (m_thread.joinable()) m_thread.join();
    m_stopRequested.store(false);
    auto started = std::make_shared<std::promise<std::string>>();
    std::future<std::string> outcome = started->get_future();
    m_thread = std::thread(&EmulatedReceiver::Run, this, started);
    const std::string why = outcome.get();
    if (!why.empty()) {
        m_thread.join();
        if (error) *error = why;
        return false;
    }
    return true;
}

void EmulatedReceiver::Stop() {
    m_stopRequested.store(true);
    // From the receiver's own thread (a log callback) it can only be asked to stop.
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void EmulatedReceiver::Run(std::shared_ptr<std::promise<std::string>> started) {
    if (!m_config.networkNamespace.empty()) {
        std::string why;
        if (!test_support::JoinNetworkNamespace(m_config.networkNamespace, &why)) {
            started->set_value("cannot join network namespace: " + why);
            return;
        }
    }
    Sockets sockets;
    const ReceiverState initial = State();
    std::string why;
    if (!IsUsableDeviceAddress(initial.address, initial.subnetMask)) {
        started->set_value(FormatIpv4(initial.address) + " is not an address a receiver can take");
        return;
    }
    if (!sockets.MoveTo(initial.address, m_config.commandPortShift, &why)) {
        started->set_value(why);
        return;
    }
    m_running.store(true);
    started->set_value(std::string());

    SignalModel signal(m_config.model, m_config.animateSignal, Pack(initial.address));
    long long lastStatusAt = NowMs() - m_statusIntervalMs.load();  // the first status goes at once
    while (!m_stopRequested.load()) {
        FollowAddress(sockets);
        FollowSpoofedSource(sockets);

        long long now = NowMs();
        const long long restartEnd = m_restartEndsAtMs.load();
        const bool restarting = restartEnd != 0 && now < restartEnd;
        if (restartEnd != 0 && !restarting) {
            m_restartEndsAtMs.store(0);
            lastStatusAt = now - m_statusIntervalMs.load();
            Log("restarted");
        }
        const bool gone = Vanished();
        const long long interval = m_statusIntervalMs.load();
        if (now - lastStatusAt >= interval) {
            if (!restarting && !gone && !FaultOn(Fault::Silence)) SendStatus(sockets, signal);
            // Keep the cadence, but never try to catch up on missed intervals.
            lastStatusAt = (now - lastStatusAt < 2 * interval) ? lastStatusAt + interval : now;
        }
        now = NowMs();
        long long wait = std::clamp(lastStatusAt + interval - now, 0LL, MAX_WAIT_MS);
        if (restarting) wait = std::min(wait, std::max(0LL, restartEnd - now));

        std::array<UdpSocket*, COMMAND_PORTS.size()> waitOn{};
        for (std::size_t i = 0; i < waitOn.size(); ++i) waitOn[i] = &sockets.command[i];
        const int ready = platform::net::WaitAnyReadable(waitOn, Milliseconds(wait));
        if (ready >= 0) {
            if (gone)
                DropEverythingQueued(sockets);
            else
                ServeCommands(sockets);
        }
        if (ready == -2) std::this_thread::sleep_for(Milliseconds(wait > 0 ? wait : 1));
        {
            std::lock_guard lock(m_loopMutex);
            ++m_loops;
        }
        m_loopDone.notify_all();
    }
    {
        // Under the lock, so that a Settle() about to wait cannot miss the end.
        std::lock_guard lock(m_loopMutex);
        m_running.store(false);
    }
    m_loopDone.notify_all();
}

void EmulatedReceiver::ServeCommands(Sockets& sockets) {
    std::array<std::uint8_t, MAX_COMMAND_SIZE> buffer;
    for (std::size_t i = 0; i < sockets.command.size(); ++i) {
        for (int n = 0; n < MAX_DATAGRAMS_PER_PORT; ++n) {
            const platform::net::Received got = sockets.command[i].Receive(buffer);
            if (got.status != ReceiveStatus::Ok && got.status != ReceiveStatus::Truncated) break;
            const std::size_t size = std::min(got.size, buffer.size());
            ReceivedCommand record{COMMAND_PORTS[i],
                                   std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + size),
                                   got.datagramSize, got.source, got.sourcePort};
            // Recorded before it is answered, so whoever holds the answer finds it in the record.
            Record(record);
            const bool whole = got.status == ReceiveStatus::Ok;
            if (whole && !Restarting())
                HandleCommand(sockets, i, std::span(buffer.data(), size), record);
        }
    }
}

void EmulatedReceiver::HandleCommand(Sockets& sockets, std::size_t index,
                                     std::span<const std::uint8_t> bytes,
                                     const ReceivedCommand& record) {
    const Model model = m_config.model;
    const std::uint16_t port = COMMAND_PORTS[index];
    UdpSocket& socket = sockets.command[index];
    const CommandKind kind = ClassifyCommand(model, port, bytes);
    const bool silent = FaultOn(Fault::NoEcho);

    if (kind == CommandKind::PidTableRead) {
        if (silent) return;
        if (Lose(m_tableReplyLoss)) {
            ++m_tableRepliesLost;
            return;
        }
        std::vector<std::uint8_t> reply = BuildTableReply(model, State());
        if (FaultOn(Fault::ShortTableReply)) reply.resize(reply.size() - 2);
        socket.SendTo(reply, record.source, record.sourcePort);
        ++m_tableRepliesSent;
        return;
    }

    // The state changes before the echo leaves, so that whoever holds the echo
    // finds it done.
    std::string applied;
    if (kind != CommandKind::Unrecognised && !FaultOn(Fault::IgnoreCommands)) {
        if (kind == CommandKind::Reset) {
            const long long pause = m_resetPauseMs.load();
            {
                std::lock_guard lock(m_stateMutex);
                SignalModel::Restart(m_state);
            }
            if (pause > 0) m_restartEndsAtMs.store(NowMs() + pause);
            m_resets.fetch_add(1);
            applied = "reset: restarting, silent for " + std::to_string(pause) + " ms";
        } else {
            std::lock_guard lock(m_stateMutex);
            if (ApplyCommand(model, kind, bytes, m_state))
                applied = DescribeApplied(model, kind, m_state);
        }
    }

    if (!applied.empty()) Log(applied);

    // New network settings move the receiver before the echo, but the echo
    // leaves from the socket the command came to, as the sender expects.
    UdpSocket* echoFrom = &socket;
    UdpSocket oldSocket;
    if (kind == CommandKind::NetworkSettings && !applied.empty()) {
        const Ipv4 before = sockets.boundAddress;
        oldSocket = std::move(socket);
        FollowAddress(sockets);
        if (sockets.boundAddress == before)
            socket = std::move(oldSocket);
        else
            echoFrom = &oldSocket;
    }

    if (!silent && IsEchoed(model, port, kind)) {
        if (Lose(m_echoLoss)) {
            ++m_echoesLost;
            return;
        }
        ++m_echoesSent;
        std::vector<std::uint8_t> echo(bytes.begin(), bytes.end());
        if (FaultOn(Fault::ChangedEcho) && !echo.empty()) echo[echo.size() / 2] ^= 0xFF;
        if (FaultOn(Fault::ShortEcho) && !echo.empty()) echo.pop_back();
        echoFrom->SendTo(echo, record.source, record.sourcePort);
    }
}

void EmulatedReceiver::SendStatus(Sockets& sockets, SignalModel& signal) {
    std::vector<std::uint8_t> datagram;
    Ipv4 unicast{};
    std::uint16_t port = 0;
    {
        std::lock_guard lock(m_stateMutex);
        signal.Advance(m_state);
        datagram = sim::BuildStatusDatagram(m_config.model, m_state, CurrentOverrides());
        unicast = m_state.unicastStatusAddress;
        port = m_state.statusDestinationPort;
    }
    // A lost status never arrives anywhere: not sent, not counted as sent.
    if (Lose(m_statusLoss)) {
        ++m_statusesLost;
        return;
    }
    {
        std::lock_guard lock(m_stateMutex);
        m_lastStatus = datagram;
    }
    bool sent = false;
    for (UdpSocket* from : {&sockets.status, &sockets.spoof}) {
        if (!from->IsOpen()) continue;
        sent |= from->SendTo(datagram, m_config.broadcastAddress, port) >= 0;
        if (SendsUnicastCopy(unicast)) sent |= from->SendTo(datagram, unicast, port) >= 0;
    }
    if (!sent) return;
    {
        std::lock_guard lock(m_statusMutex);
        ++m_statusesSent;
    }
    m_statusSent.notify_all();
}

bool EmulatedReceiver::FollowAddress(Sockets& sockets) {
    Ipv4 wanted{}, mask{};
    {
        std::lock_guard lock(m_stateMutex);
        wanted = m_state.address;
        mask = m_state.subnetMask;
    }
    if (wanted == sockets.boundAddress) return true;
    std::string why;
    if (!IsUsableDeviceAddress(wanted, mask)) {
        why = "not an address a receiver can take";
    } else if (sockets.MoveTo(wanted, m_config.commandPortShift, &why)) {
        Log("now at " + FormatIpv4(wanted));
        return true;
    }
    {
        std::lock_guard lock(m_stateMutex);
        if (m_state.address == wanted) m_state.address = sockets.boundAddress;
    }
    const std::string error = "cannot move to " + FormatIpv4(wanted) + ": " + why +
                              "; staying at " + FormatIpv4(sockets.boundAddress);
    SetError(error);
    Log(error);
    return false;
}

void EmulatedReceiver::FollowSpoofedSource(Sockets& sockets) {
    const std::uint32_t wanted = m_spoofedSource.load();
    if (wanted == sockets.spoofAddress) return;
    sockets.spoof.Close();
    sockets.spoofAddress = wanted;
    if (wanted == 0) return;
    if (!sockets.spoof.Open() || !sockets.spoof.SetBroadcast(true) ||
        !sockets.spoof.Bind(Unpack(wanted), 0)) {
        sockets.spoof.Close();
        SetError("cannot send from spoofed source " + FormatIpv4(Unpack(wanted)));
    }
}

StatusOverrides EmulatedReceiver::CurrentOverrides() const {
    StatusOverrides o;
    if (const int code = m_modelCodeOverride.load(); code >= 0)
        o.modelCode = static_cast<std::uint8_t>(code);
    o.foreignMacPrefix = FaultOn(Fault::ForeignMacPrefix);
    if (const long long length = m_statusLengthOverride.load(); length >= 0)
        o.length = static_cast<std::size_t>(length);
    return o;
}

void EmulatedReceiver::Record(ReceivedCommand command) {
    {
        std::lock_guard lock(m_recordMutex);
        m_commands.push_back(std::move(command));
        while (m_commands.size() > std::max<std::size_t>(1, m_config.commandRecordLimit))
            m_commands.pop_front();
    }
    m_recordChanged.notify_all();
}

bool EmulatedReceiver::Lose(const std::atomic<double>& probability) {
    const double p = probability.load();
    if (p <= 0) return false;
    // xorshift32: quick, and the same run of decisions for the same seed.
    m_lossState ^= m_lossState << 13;
    m_lossState ^= m_lossState >> 17;
    m_lossState ^= m_lossState << 5;
    return (m_lossState >> 8) * (1.0 / 16777216.0) < p;
}

void EmulatedReceiver::DropEverythingQueued(Sockets& sockets) {
    std::array<std::uint8_t, 64> scrap;
    for (UdpSocket& socket : sockets.command)
        for (int n = 0; n < MAX_DATAGRAMS_PER_PORT; ++n) {
            const platform::net::Received got = socket.Receive(scrap);
            if (got.status != ReceiveStatus::Ok && got.status != ReceiveStatus::Truncated) break;
        }
}

void EmulatedReceiver::SetError(const std::string& error) {
    std::lock_guard lock(m_stateMutex);
    m_lastError = error;
}

void EmulatedReceiver::Log(const std::string& message) const {
    if (m_config.log) m_config.log(message);
}

// ---- fault switches -------------------------------------------------------

static_assert(static_cast<std::size_t>(Fault::ForeignMacPrefix) + 1 == 7, "one switch per fault");

void EmulatedReceiver::SetFault(Fault fault, bool on) {
    m_faults[static_cast<std::size_t>(fault)].store(on);
}

bool EmulatedReceiver::FaultOn(Fault fault) const {
    return m_faults[static_cast<std::size_t>(fault)].load();
}

void EmulatedReceiver::SetModelCodeOverride(std::optional<std::uint8_t> code) {
    m_modelCodeOverride.store(code ? int{*code} : -1);
}

void EmulatedReceiver::SetStatusLengthOverride(std::optional<std::size_t> length) {
    m_statusLengthOverride.store(length ? static_cast<long long>(std::min(*length, MAX_UDP_PAYLOAD))
                                        : -1);
}

void EmulatedReceiver::SetSpoofedSource(std::optional<Ipv4> address) {
    m_spoofedSource.store(address ? Pack(*address) : 0);
}

void EmulatedReceiver::SetLoss(const LossRates& rates) {
    m_echoLoss.store(Probability(rates.echoes));
    m_tableReplyLoss.store(Probability(rates.tableReplies));
    m_statusLoss.store(Probability(rates.statuses));
}

void EmulatedReceiver::SetLoss(double probability) {
    SetLoss(LossRates{probability, probability, probability});
}

LossRates EmulatedReceiver::Loss() const {
    return {m_echoLoss.load(), m_tableReplyLoss.load(), m_statusLoss.load()};
}

LossCounts EmulatedReceiver::Losses() const {
    LossCounts counts;
    counts.echoesSent = m_echoesSent.load();
    counts.echoesLost = m_echoesLost.load();
    counts.tableRepliesSent = m_tableRepliesSent.load();
    counts.tableRepliesLost = m_tableRepliesLost.load();
    counts.statusesSent = StatusesSent();
    counts.statusesLost = m_statusesLost.load();
    return counts;
}

void EmulatedReceiver::SetVanished(bool gone) {
    m_vanished.store(gone);
}

void EmulatedReceiver::SetVanishCycle(std::optional<VanishCycle> cycle) {
    std::lock_guard lock(m_vanishMutex);
    if (cycle && (cycle->present.count() <= 0 || cycle->absent.count() <= 0)) cycle.reset();
    m_vanishCycle = cycle;
    m_vanishCycleStartMs = NowMs();
}

bool EmulatedReceiver::Vanished() const {
    if (m_vanished.load()) return true;
    std::lock_guard lock(m_vanishMutex);
    if (!m_vanishCycle) return false;
    const long long present = m_vanishCycle->present.count();
    const long long period = present + m_vanishCycle->absent.count();
    return (NowMs() - m_vanishCycleStartMs) % period >= present;
}

void EmulatedReceiver::ClearFaults() {
    for (auto& f : m_faults) f.store(false);
    SetModelCodeOverride(std::nullopt);
    SetStatusLengthOverride(std::nullopt);
    SetSpoofedSource(std::nullopt);
    SetLoss(0.0);
    SetVanished(false);
    SetVanishCycle(std::nullopt);
}

void EmulatedReceiver::SetStatusInterval(Milliseconds interval) {
    m_statusIntervalMs.store(std::max<long long>(1, interval.count()));
}

void EmulatedReceiver::SetResetPause(Milliseconds pause) {
    m_resetPauseMs.store(std::max<long long>(0, pause.count()));
}

// ---- command record -------------------------------------------------------

std::vector<ReceivedCommand> EmulatedReceiver::Commands() const {
    std::lock_guard lock(m_recordMutex);
    return {m_commands.begin(), m_commands.end()};
}

std::vector<ReceivedCommand> EmulatedReceiver::CommandsOnPort(std::uint16_t port) const {
    std::lock_guard lock(m_recordMutex);
    std::vector<ReceivedCommand> out;
    for (const ReceivedCommand& c : m_commands)
        if (c.port == port) out.push_back(c);
    return out;
}

std::vector<ReceivedCommand> EmulatedReceiver::TakeCommands() {
    std::lock_guard lock(m_recordMutex);
    std::vector<ReceivedCommand> out(std::make_move_iterator(m_commands.begin()),
                                     std::make_move_iterator(m_commands.end()));
    m_commands.clear();
    return out;
}

void EmulatedReceiver::ClearCommands() {
    std::lock_guard lock(m_recordMutex);
    m_commands.clear();
}

bool EmulatedReceiver::WaitForCommands(std::size_t count, Milliseconds timeout) const {
    std::unique_lock lock(m_recordMutex);
    return m_recordChanged.wait_for(lock, timeout, [&] { return m_commands.size() >= count; });
}

// ---- status ---------------------------------------------------------------

std::uint64_t EmulatedReceiver::StatusesSent() const {
    std::lock_guard lock(m_statusMutex);
    return m_statusesSent;
}

bool EmulatedReceiver::WaitUntilStatusesSent(std::uint64_t total, Milliseconds timeout) const {
    std::unique_lock lock(m_statusMutex);
    return m_statusSent.wait_for(lock, timeout, [&] { return m_statusesSent >= total; });
}

bool EmulatedReceiver::WaitForNewStatuses(std::uint64_t count, Milliseconds timeout) const {
    std::unique_lock lock(m_statusMutex);
    const std::uint64_t target = m_statusesSent + count;
    return m_statusSent.wait_for(lock, timeout, [&] { return m_statusesSent >= target; });
}

bool EmulatedReceiver::Settle(Milliseconds timeout) const {
    std::unique_lock lock(m_loopMutex);
    const std::uint64_t target = m_loops + 2;
    return m_loopDone.wait_for(lock, timeout, [&] {
        return m_loops >= target || !m_running.load();
    }) && m_running.load();
}

std::vector<std::uint8_t> EmulatedReceiver::BuildStatusDatagram() const {
    std::lock_guard lock(m_stateMutex);
    return sim::BuildStatusDatagram(m_config.model, m_state, CurrentOverrides());
}

std::vector<std::uint8_t> EmulatedReceiver::LastStatusDatagram() const {
    std::lock_guard lock(m_stateMutex);
    return m_lastStatus;
}

// ---- state ----------------------------------------------------------------

ReceiverState EmulatedReceiver::State() const {
    std::lock_guard lock(m_stateMutex);
    return m_state;
}

void EmulatedReceiver::Modify(const std::function<void(ReceiverState&)>& change) {
    std::lock_guard lock(m_stateMutex);
    change(m_state);
}

Ipv4 EmulatedReceiver::Address() const {
    return State().address;
}

void EmulatedReceiver::SetAddress(const Ipv4& address) {
    Modify([&](ReceiverState& s) { s.address = address; });
}

MacAddress EmulatedReceiver::Mac() const {
    return State().mac;
}

void EmulatedReceiver::SetMac(const MacAddress& mac) {
    Modify([&](ReceiverState& s) { s.mac = mac; });
}

std::uint16_t EmulatedReceiver::StatusDestinationPort() const {
    return State().statusDestinationPort;
}

void EmulatedReceiver::SetStatusPort(std::uint16_t port) {
    Modify([&](ReceiverState& s) {
        s.statusDestinationPort = port;
        s.reportedStatusPort = port;
    });
}

std::uint16_t EmulatedReceiver::Channel() const {
    return State().channel;
}

void EmulatedReceiver::SetChannel(std::uint16_t channel) {
    Modify([&](ReceiverState& s) { s.channel = channel; });
}

SatelliteTuning EmulatedReceiver::Tuning() const {
    return State().tuning;
}

void EmulatedReceiver::SetTuning(const SatelliteTuning& tuning) {
    Modify([&](ReceiverState& s) { s.tuning = tuning; });
}

std::vector<PidEntry> EmulatedReceiver::PidEntries() const {
    const ReceiverState s = State();
    const std::size_t n = TraitsOf(m_config.model).pidEntries;
    return {s.pids.begin(), s.pids.begin() + static_cast<std::ptrdiff_t>(n)};
}

void EmulatedReceiver::SetPidEntries(std::span<const PidEntry> entries) {
    Modify([&](ReceiverState& s) {
        for (std::size_t i = 0; i < s.pids.size(); ++i)
            s.pids[i] = i < entries.size() ? entries[i] : PidEntry{};
    });
}

std::array<std::uint16_t, CA_TABLE_SLOTS> EmulatedReceiver::CaValues() const {
    const ReceiverState s = State();
    std::array<std::uint16_t, CA_TABLE_SLOTS> out{};
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = s.caTable[i].value;
    return out;
}

void EmulatedReceiver::SetLocked(bool locked) {
    Modify([&](ReceiverState& s) {
        s.atsc.locked = locked;
        s.satellite.locked = locked;
    });
}

void EmulatedReceiver::SetDataFlowing(bool flowing) {
    Modify([&](ReceiverState& s) { s.dataFlowing = flowing; });
}

bool EmulatedReceiver::Restarting() const {
    const long long end = m_restartEndsAtMs.load();
    return end != 0 && NowMs() < end;
}

std::string EmulatedReceiver::LastError() const {
    std::lock_guard lock(m_stateMutex);
    return m_lastError;
}

}  // namespace sim
