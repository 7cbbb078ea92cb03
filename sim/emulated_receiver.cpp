#include "sim/emulated_receiver.h"

#include <algorithm>

#include "platform/net/udp_socket.h"
#include "platform/netns/thread_network.h"
#include "sim/address_text.h"
#include "sim/receiver_commands.h"

namespace sim {

using platform::net::ReceiveStatus;
using platform::net::UdpSocket;

namespace {

// The longest the thread sleeps between looks at its stop flag.
constexpr long long kMaxWaitMs = 20;
// Datagrams taken from one port in a row, so a flood cannot starve the status.
constexpr int kMaxDatagramsPerPort = 64;
// The largest UDP payload over IPv4.
constexpr std::size_t kMaxUdpPayload = 65507;

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

bool SendsUnicastCopy(const Ipv4& unicast) {
    return unicast != kNoUnicastAddress && unicast != Ipv4{0, 0, 0, 0};
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
                   ((s.optionFlags & kOptionIgmpBit) ? ", IGMP on" : ", IGMP off");
        case CommandKind::PidTableWrite: {
            std::size_t used = 0;
            for (std::size_t i = 0; i < TraitsOf(model).pidEntries; ++i)
                if (s.pids[i].Pid() != kNullPid) ++used;
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
    std::array<UdpSocket, kCommandPorts.size()> command;  // in kCommandPorts order
    UdpSocket status;
    UdpSocket spoof;
    Ipv4 boundAddress{};
    std::uint32_t spoofAddress = 0;

    // Opens the command and status sockets on `address`; on failure the
    // sockets held so far are left untouched.
    bool MoveTo(const Ipv4& address, std::string* why) {
        std::array<UdpSocket, kCommandPorts.size()> fresh;
        for (std::size_t i = 0; i < fresh.size(); ++i) {
            // No address reuse: two receivers on one address must not share a port.
            if (!fresh[i].Open() || !fresh[i].Bind(address, kCommandPorts[i])) {
                *why = "cannot bind " + FormatIpv4(address) + ":" +
                       std::to_string(kCommandPorts[i]) + " (address taken or not local)";
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
    : config_(std::move(config)),
      statusIntervalMs_(std::max<long long>(1, config_.statusInterval.count())),
      resetPauseMs_(std::max<long long>(0, config_.resetPause.count())),
      state_(config_.initial) {}

EmulatedReceiver::~EmulatedReceiver() {
    Stop();
}

bool EmulatedReceiver::Start(std::string* error) {
    if (running_.load()) {
        if (error) *error = "already running";
        return false;
    }
    if (thread_.joinable()) thread_.join();
    stopRequested_.store(false);
    auto started = std::make_shared<std::promise<std::string>>();
    std::future<std::string> outcome = started->get_future();
    thread_ = std::thread(&EmulatedReceiver::Run, this, started);
    const std::string why = outcome.get();
    if (!why.empty()) {
        thread_.join();
        if (error) *error = why;
        return false;
    }
    return true;
}

void EmulatedReceiver::Stop() {
    stopRequested_.store(true);
    // From the receiver's own thread (a log callback) it can only be asked to stop.
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void EmulatedReceiver::Run(std::shared_ptr<std::promise<std::string>> started) {
    if (!config_.networkNamespace.empty()) {
        std::string why;
        if (!platform::netns::JoinNetworkNamespace(config_.networkNamespace, &why)) {
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
    if (!sockets.MoveTo(initial.address, &why)) {
        started->set_value(why);
        return;
    }
    running_.store(true);
    started->set_value(std::string());

    SignalModel signal(config_.model, config_.animateSignal, Pack(initial.address));
    long long lastStatusAt = NowMs() - statusIntervalMs_.load();  // the first status goes at once
    while (!stopRequested_.load()) {
        FollowAddress(sockets);
        FollowSpoofedSource(sockets);

        long long now = NowMs();
        const long long restartEnd = restartEndsAtMs_.load();
        const bool restarting = restartEnd != 0 && now < restartEnd;
        if (restartEnd != 0 && !restarting) {
            restartEndsAtMs_.store(0);
            lastStatusAt = now - statusIntervalMs_.load();
            Log("restarted");
        }
        const long long interval = statusIntervalMs_.load();
        if (now - lastStatusAt >= interval) {
            if (!restarting && !FaultOn(Fault::Silence)) SendStatus(sockets, signal);
            // Keep the cadence, but never try to catch up on missed intervals.
            lastStatusAt = (now - lastStatusAt < 2 * interval) ? lastStatusAt + interval : now;
        }
        now = NowMs();
        long long wait = std::clamp(lastStatusAt + interval - now, 0LL, kMaxWaitMs);
        if (restarting) wait = std::min(wait, std::max(0LL, restartEnd - now));

        std::array<UdpSocket*, kCommandPorts.size()> waitOn{};
        for (std::size_t i = 0; i < waitOn.size(); ++i) waitOn[i] = &sockets.command[i];
        const int ready = platform::net::WaitAnyReadable(waitOn, Milliseconds(wait));
        if (ready >= 0) ServeCommands(sockets);
        if (ready == -2) std::this_thread::sleep_for(Milliseconds(wait > 0 ? wait : 1));
        {
            std::lock_guard lock(loopMutex_);
            ++loops_;
        }
        loopDone_.notify_all();
    }
    {
        // Under the lock, so that a Settle() about to wait cannot miss the end.
        std::lock_guard lock(loopMutex_);
        running_.store(false);
    }
    loopDone_.notify_all();
}

void EmulatedReceiver::ServeCommands(Sockets& sockets) {
    std::array<std::uint8_t, kMaxCommandSize> buffer;
    for (std::size_t i = 0; i < sockets.command.size(); ++i) {
        for (int n = 0; n < kMaxDatagramsPerPort; ++n) {
            const platform::net::Received got = sockets.command[i].Receive(buffer);
            if (got.status != ReceiveStatus::Ok && got.status != ReceiveStatus::Truncated) break;
            const std::size_t size = std::min(got.size, buffer.size());
            ReceivedCommand record{kCommandPorts[i],
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
    const Model model = config_.model;
    const std::uint16_t port = kCommandPorts[index];
    UdpSocket& socket = sockets.command[index];
    const CommandKind kind = ClassifyCommand(model, port, bytes);
    const bool silent = FaultOn(Fault::NoEcho);

    if (kind == CommandKind::PidTableRead) {
        if (silent) return;
        std::vector<std::uint8_t> reply = BuildTableReply(model, State());
        if (FaultOn(Fault::ShortTableReply)) reply.resize(reply.size() - 2);
        socket.SendTo(reply, record.source, record.sourcePort);
        return;
    }

    // The state changes before the echo leaves, so that whoever holds the echo
    // finds it done.
    std::string applied;
    if (kind != CommandKind::Unrecognised && !FaultOn(Fault::IgnoreCommands)) {
        if (kind == CommandKind::Reset) {
            const long long pause = resetPauseMs_.load();
            {
                std::lock_guard lock(stateMutex_);
                SignalModel::Restart(state_);
            }
            if (pause > 0) restartEndsAtMs_.store(NowMs() + pause);
            resets_.fetch_add(1);
            applied = "reset: restarting, silent for " + std::to_string(pause) + " ms";
        } else {
            std::lock_guard lock(stateMutex_);
            if (ApplyCommand(model, kind, bytes, state_))
                applied = DescribeApplied(model, kind, state_);
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
        std::lock_guard lock(stateMutex_);
        signal.Advance(state_);
        datagram = sim::BuildStatusDatagram(config_.model, state_, CurrentOverrides());
        unicast = state_.unicastStatusAddress;
        port = state_.statusDestinationPort;
        lastStatus_ = datagram;
    }
    bool sent = false;
    for (UdpSocket* from : {&sockets.status, &sockets.spoof}) {
        if (!from->IsOpen()) continue;
        sent |= from->SendTo(datagram, config_.broadcastAddress, port) >= 0;
        if (SendsUnicastCopy(unicast)) sent |= from->SendTo(datagram, unicast, port) >= 0;
    }
    if (!sent) return;
    {
        std::lock_guard lock(statusMutex_);
        ++statusesSent_;
    }
    statusSent_.notify_all();
}

bool EmulatedReceiver::FollowAddress(Sockets& sockets) {
    Ipv4 wanted{}, mask{};
    {
        std::lock_guard lock(stateMutex_);
        wanted = state_.address;
        mask = state_.subnetMask;
    }
    if (wanted == sockets.boundAddress) return true;
    std::string why;
    if (!IsUsableDeviceAddress(wanted, mask)) {
        why = "not an address a receiver can take";
    } else if (sockets.MoveTo(wanted, &why)) {
        Log("now at " + FormatIpv4(wanted));
        return true;
    }
    {
        std::lock_guard lock(stateMutex_);
        if (state_.address == wanted) state_.address = sockets.boundAddress;
    }
    const std::string error = "cannot move to " + FormatIpv4(wanted) + ": " + why +
                              "; staying at " + FormatIpv4(sockets.boundAddress);
    SetError(error);
    Log(error);
    return false;
}

void EmulatedReceiver::FollowSpoofedSource(Sockets& sockets) {
    const std::uint32_t wanted = spoofedSource_.load();
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
    if (const int code = modelCodeOverride_.load(); code >= 0)
        o.modelCode = static_cast<std::uint8_t>(code);
    o.foreignMacPrefix = FaultOn(Fault::ForeignMacPrefix);
    if (const long long length = statusLengthOverride_.load(); length >= 0)
        o.length = static_cast<std::size_t>(length);
    return o;
}

void EmulatedReceiver::Record(ReceivedCommand command) {
    {
        std::lock_guard lock(recordMutex_);
        commands_.push_back(std::move(command));
        while (commands_.size() > std::max<std::size_t>(1, config_.commandRecordLimit))
            commands_.pop_front();
    }
    recordChanged_.notify_all();
}

void EmulatedReceiver::SetError(const std::string& error) {
    std::lock_guard lock(stateMutex_);
    lastError_ = error;
}

void EmulatedReceiver::Log(const std::string& message) const {
    if (config_.log) config_.log(message);
}

// ---- fault switches -------------------------------------------------------

static_assert(static_cast<std::size_t>(Fault::ForeignMacPrefix) + 1 == 7, "one switch per fault");

void EmulatedReceiver::SetFault(Fault fault, bool on) {
    faults_[static_cast<std::size_t>(fault)].store(on);
}

bool EmulatedReceiver::FaultOn(Fault fault) const {
    return faults_[static_cast<std::size_t>(fault)].load();
}

void EmulatedReceiver::SetModelCodeOverride(std::optional<std::uint8_t> code) {
    modelCodeOverride_.store(code ? int{*code} : -1);
}

void EmulatedReceiver::SetStatusLengthOverride(std::optional<std::size_t> length) {
    statusLengthOverride_.store(length ? static_cast<long long>(std::min(*length, kMaxUdpPayload))
                                       : -1);
}

void EmulatedReceiver::SetSpoofedSource(std::optional<Ipv4> address) {
    spoofedSource_.store(address ? Pack(*address) : 0);
}

void EmulatedReceiver::ClearFaults() {
    for (auto& f : faults_) f.store(false);
    SetModelCodeOverride(std::nullopt);
    SetStatusLengthOverride(std::nullopt);
    SetSpoofedSource(std::nullopt);
}

void EmulatedReceiver::SetStatusInterval(Milliseconds interval) {
    statusIntervalMs_.store(std::max<long long>(1, interval.count()));
}

void EmulatedReceiver::SetResetPause(Milliseconds pause) {
    resetPauseMs_.store(std::max<long long>(0, pause.count()));
}

// ---- command record -------------------------------------------------------

std::vector<ReceivedCommand> EmulatedReceiver::Commands() const {
    std::lock_guard lock(recordMutex_);
    return {commands_.begin(), commands_.end()};
}

std::vector<ReceivedCommand> EmulatedReceiver::CommandsOnPort(std::uint16_t port) const {
    std::lock_guard lock(recordMutex_);
    std::vector<ReceivedCommand> out;
    for (const ReceivedCommand& c : commands_)
        if (c.port == port) out.push_back(c);
    return out;
}

std::vector<ReceivedCommand> EmulatedReceiver::TakeCommands() {
    std::lock_guard lock(recordMutex_);
    std::vector<ReceivedCommand> out(std::make_move_iterator(commands_.begin()),
                                     std::make_move_iterator(commands_.end()));
    commands_.clear();
    return out;
}

void EmulatedReceiver::ClearCommands() {
    std::lock_guard lock(recordMutex_);
    commands_.clear();
}

bool EmulatedReceiver::WaitForCommands(std::size_t count, Milliseconds timeout) const {
    std::unique_lock lock(recordMutex_);
    return recordChanged_.wait_for(lock, timeout, [&] { return commands_.size() >= count; });
}

// ---- status ---------------------------------------------------------------

std::uint64_t EmulatedReceiver::StatusesSent() const {
    std::lock_guard lock(statusMutex_);
    return statusesSent_;
}

bool EmulatedReceiver::WaitUntilStatusesSent(std::uint64_t total, Milliseconds timeout) const {
    std::unique_lock lock(statusMutex_);
    return statusSent_.wait_for(lock, timeout, [&] { return statusesSent_ >= total; });
}

bool EmulatedReceiver::WaitForNewStatuses(std::uint64_t count, Milliseconds timeout) const {
    std::unique_lock lock(statusMutex_);
    const std::uint64_t target = statusesSent_ + count;
    return statusSent_.wait_for(lock, timeout, [&] { return statusesSent_ >= target; });
}

bool EmulatedReceiver::Settle(Milliseconds timeout) const {
    std::unique_lock lock(loopMutex_);
    const std::uint64_t target = loops_ + 2;
    return loopDone_.wait_for(lock, timeout, [&] {
        return loops_ >= target || !running_.load();
    }) && running_.load();
}

std::vector<std::uint8_t> EmulatedReceiver::BuildStatusDatagram() const {
    std::lock_guard lock(stateMutex_);
    return sim::BuildStatusDatagram(config_.model, state_, CurrentOverrides());
}

std::vector<std::uint8_t> EmulatedReceiver::LastStatusDatagram() const {
    std::lock_guard lock(stateMutex_);
    return lastStatus_;
}

// ---- state ----------------------------------------------------------------

ReceiverState EmulatedReceiver::State() const {
    std::lock_guard lock(stateMutex_);
    return state_;
}

void EmulatedReceiver::Modify(const std::function<void(ReceiverState&)>& change) {
    std::lock_guard lock(stateMutex_);
    change(state_);
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
    const std::size_t n = TraitsOf(config_.model).pidEntries;
    return {s.pids.begin(), s.pids.begin() + static_cast<std::ptrdiff_t>(n)};
}

void EmulatedReceiver::SetPidEntries(std::span<const PidEntry> entries) {
    Modify([&](ReceiverState& s) {
        for (std::size_t i = 0; i < s.pids.size(); ++i)
            s.pids[i] = i < entries.size() ? entries[i] : PidEntry{};
    });
}

std::array<std::uint16_t, kCaTableEntries> EmulatedReceiver::CaValues() const {
    const ReceiverState s = State();
    std::array<std::uint16_t, kCaTableEntries> out{};
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
    const long long end = restartEndsAtMs_.load();
    return end != 0 && NowMs() < end;
}

std::string EmulatedReceiver::LastError() const {
    std::lock_guard lock(stateMutex_);
    return lastError_;
}

}  // namespace sim
