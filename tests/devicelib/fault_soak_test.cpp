// Fault soak: discovery, status polling and every command, for minutes, on
// a LAN that loses 30 % of what the receivers send back (echoes, table
// replies, status datagrams), with one more receiver that keeps vanishing
// and returning. Prints the success rate of each operation next to what the
// retry rules predict, and checks that nothing crashes, hangs or leaks
// (open descriptors and resident memory steady).
//
// Labelled `soak`, outside the default run:
//   ctest --preset soak                        (R40_SOAK_SECONDS=180 by default)
//   R40_SOAK_SECONDS=600 build/bin/devicelib_soak_tests
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/iphelper/ip_helper.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr double LOSS = 0.3;
constexpr auto STATUS_INTERVAL = 100ms;
// The library's tries per command, per table read, and table reads per
// verification.
constexpr int ATTEMPTS = 4;

int SoakSeconds() {
    const char* text = std::getenv("R40_SOAK_SECONDS");
    const int seconds = text != nullptr ? std::atoi(text) : 0;
    return seconds > 0 ? seconds : 180;
}

// ---- what happened --------------------------------------------------------

struct Tally {
    std::uint64_t calls = 0;
    std::uint64_t succeeded = 0;
    std::int64_t longestMs = 0;
    std::map<int32_t, std::uint64_t> failures;  // by result code
};

class Tallies {
  public:
    void Add(const std::string& operation, int32_t result, std::int64_t ms) {
        std::lock_guard lock(m_mutex);
        Tally& t = m_tallies[operation];
        ++t.calls;
        if (result == 0)
            ++t.succeeded;
        else
            ++t.failures[result];
        t.longestMs = std::max(t.longestMs, ms);
    }
    std::map<std::string, Tally> Snapshot() const {
        std::lock_guard lock(m_mutex);
        return m_tallies;
    }

  private:
    mutable std::mutex m_mutex;
    std::map<std::string, Tally> m_tallies;
};

// Runs one call, timed and counted under `operation`; returns its result.
template <class Call>
int32_t Counted(Tallies& tallies, const std::string& operation, Call call) {
    const auto start = Clock::now();
    const int32_t result = call();
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    tallies.Add(operation, result, ms);
    return result;
}

// ---- what the retry rules predict -----------------------------------------

// The longest a call may take by the retry rules before it counts as hung:
// 30 ms plus a 1 s wait per attempt, waits for status that can last twice
// their time while other datagrams arrive, and a second of slack.
const std::map<std::string, std::int64_t> LONGEST_MS{
    {"discovery passes", 15000},
    {"OpenDevice", 2 * 3000 + 1000},
    {"CloseDevice", 1000},
    {"GetDeviceType", 1000},
    {"GetDeviceStatus", 2 * 2000 + 1000},
    {"SetChannel", ATTEMPTS * 1030 + 3 * 2 * 4000 + 1000},
    {"SetPidList", ATTEMPTS * 1030 + ATTEMPTS* ATTEMPTS * 1030 + 1000},
    {"GetPidList", ATTEMPTS * 1030 + 1000},
    {"ResetDevice", ATTEMPTS * 1030 + 1000},
};

struct Prediction {
    double rate;
    const char* rule;
};

// Success rates by the retry rules when each datagram the receiver sends is
// lost with probability LOSS: an echoed command fails only when all its
// attempts lose their echo; a wait for status fails only when every status
// sent during it is lost.
std::map<std::string, Prediction> Predictions(int localAddresses) {
    const double p = LOSS;
    const double perSecond = 1000.0 / static_cast<double>(STATUS_INTERVAL.count());
    auto statusWithin = [&](double seconds) { return 1 - std::pow(p, seconds * perSecond); };
    const double echoed = 1 - std::pow(p, ATTEMPTS);
    const double tableRead = 1 - std::pow(p, ATTEMPTS);
    return {
        {"DiscoverDevices", {statusWithin(1), "heard within its first 1 s wait"}},
        {"OpenDevice", {statusWithin(3), "a status within 3 s"}},
        {"CloseDevice", {1, "no network"}},
        {"GetDeviceType", {1, "no network"}},
        {"GetDeviceStatus", {statusWithin(2), "a status within 2 s"}},
        {"SetChannel", {echoed * std::pow(statusWithin(4), 3), "1-p^4 echo, 3 status waits"}},
        {"SetPidList",
         {echoed * (1 - std::pow(1 - tableRead, ATTEMPTS)), "1-p^4 echo, 4 reads of 4 tries"}},
        {"GetPidList", {tableRead, "1-p^4 reply"}},
        {"ResetDevice", {echoed, "1-p^4 echo"}},
        {"SetNetworkSettings, same address",
         {(1 - std::pow(p, ATTEMPTS * localAddresses)) * std::pow(statusWithin(4), 2),
          "1-p^(4 per local address) echo, status waits"}},
        // The receiver moves at the first command that reaches it, so after
        // a lost echo every retry goes to an address nobody holds any more.
        {"SetNetworkSettings, new address",
         {(1 - p) * std::pow(statusWithin(4), 2), "1-p: only the first echo can come"}},
    };
}

// ---- the process's own resources --------------------------------------------

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

long ResidentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

int LocalAddressCount() {
    std::vector<platform::iphelper::Adapter> adapters;
    if (!platform::iphelper::SystemIpHelper().ReadAdapters(adapters)) return 1;
    int n = 0;
    for (const auto& adapter : adapters) n += static_cast<int>(adapter.addresses.size());
    return std::max(n, 1);
}

// ---- the receivers and what drives them ------------------------------------

// A receiver and the two addresses its network settings move it between
// (its status port goes between 6516 and 8309).
struct Subject {
    std::unique_ptr<sim::EmulatedReceiver> rx;
    sim::Ipv4 home, away;
    bool vanishing = false;
};

std::unique_ptr<sim::EmulatedReceiver> StartLossy(sim::Model model, sim::Ipv4 address,
                                                  bool vanishing) {
    sim::ReceiverConfig config = sim::ReceiverConfig::For(model, address);
    config.statusInterval = STATUS_INTERVAL;
    config.resetPause = 150ms;
    config.commandRecordLimit = 32;  // a steady footprint for the memory check
    config.loss = sim::LossRates{LOSS, LOSS, LOSS};
    if (vanishing) config.vanish = sim::VanishCycle{7000ms, 3000ms};
    auto rx = std::make_unique<sim::EmulatedReceiver>(config);
    std::string error;
    EXPECT_TRUE(rx->Start(&error)) << error;
    return rx;
}

NetworkSettings SettingsFor(const sim::Ipv4& address, std::uint16_t port) {
    NetworkSettings s{};
    const std::uint8_t mask[4] = {255, 0, 0, 0};
    const std::uint8_t gateway[4] = {127, 0, 0, 254};
    const std::uint8_t unicast[4] = {255, 255, 255, 255};
    std::memcpy(s.subnetMask, mask, 4);
    std::memcpy(s.defaultGateway, gateway, 4);
    std::memcpy(s.unicastStatusAddress, unicast, 4);
    std::memcpy(s.deviceAddress, address.data(), 4);
    s.statusPort = s.listenPort = port;
    return s;
}

// One thread per handle, as the library asks: opens its receiver and runs
// every operation on it in turn until the deadline.
void Drive(Subject& subject, Tallies& tallies, Clock::time_point deadline) {
    sim::EmulatedReceiver& rx = *subject.rx;
    const std::string prefix = subject.vanishing ? "vanishing: " : "";
    const bool atsc = rx.model() == sim::Model::R40 || rx.model() == sim::Model::R40V;
    const bool forwarding = rx.model() == sim::Model::R40V;
    DeviceHandle handle = nullptr;
    for (int round = 0; Clock::now() < deadline; ++round) {
        if (handle == nullptr) {
            const DeviceInfo info = InfoFor(rx);
            int32_t result = 0;
            Counted(tallies, prefix + "OpenDevice", [&] {
                handle = OpenDevice(&info, 3000, &result);
                return handle != nullptr ? 0 : result;
            });
            if (handle == nullptr) {
                std::this_thread::sleep_for(200ms);
                continue;
            }
        }
        uint16_t type = 0;
        Counted(tallies, prefix + "GetDeviceType", [&] { return GetDeviceType(handle, &type); });
        for (int i = 0; i < 3; ++i) {
            std::array<std::uint8_t, 256> record{};
            Counted(tallies, prefix + "GetDeviceStatus",
                    [&] { return GetDeviceStatus(handle, record.data()); });
        }
        if (atsc) {
            uint16_t channel = static_cast<uint16_t>(20 + round % 40);
            Counted(tallies, prefix + "SetChannel", [&] { return SetChannel(handle, &channel); });
        } else {
            SatelliteTuning tuning{};
            tuning.symbolRate = round % 2 ? 27.5f : 20.0f;
            tuning.frequency = round % 2 ? 1234.5f : 1100.0f;
            tuning.tuneOption1 = 1;
            Counted(tallies, prefix + "SetChannel", [&] { return SetChannel(handle, &tuning); });
        }
        // A list of one to five PIDs, another each round, in the model's form.
        TrevanPidListRecord forwardingList{};
        PidListRecord standardList{};
        const int count = 1 + round % 5;
        for (int i = 0; i < count; ++i) {
            const auto pid = static_cast<uint16_t>(0x100 + (0x10 * round) % 0x800 + i);
            forwardingList.pid[i] = standardList.pid[i] = pid;
            forwardingList.control[i] = standardList.control[i] = 1;
        }
        forwardingList.count = standardList.count = count;
        void* list = forwarding ? static_cast<void*>(&forwardingList) : &standardList;
        Counted(tallies, prefix + "SetPidList", [&] { return SetPidList(handle, list); });
        TrevanPidListRecord back{};  // large enough for either form
        Counted(tallies, prefix + "GetPidList", [&] { return GetPidList(handle, &back); });
        Counted(tallies, prefix + "ResetDevice", [&] { return ResetDevice(handle); });
        // The next command waits until the receiver is back from its restart.
        while (rx.Restarting()) std::this_thread::sleep_for(10ms);

        // Every other round a network change: in turn another status port
        // at the same address, and another address.
        if (!subject.vanishing && round % 2 == 1) {
            const sim::ReceiverState now = rx.State();
            const bool move = round % 4 == 3;
            const sim::Ipv4 otherAddress =
                now.address == subject.home ? subject.away : subject.home;
            const std::uint16_t otherPort = now.statusDestinationPort == 8309 ? 6516 : 8309;
            const NetworkSettings settings =
                move ? SettingsFor(otherAddress, now.statusDestinationPort)
                     : SettingsFor(now.address, otherPort);
            const int32_t result = Counted(
                tallies,
                move ? "SetNetworkSettings, new address" : "SetNetworkSettings, same address",
                [&] { return SetNetworkSettings(handle, &settings); });
            // The command always arrives, so the receiver has changed even
            // when every echo was lost: the device is opened again as it is now.
            if (result != 0) {
                Counted(tallies, "CloseDevice", [&] { return CloseDevice(handle); });
                handle = nullptr;
                continue;
            }
        }
        if (round % 3 == 2) {
            Counted(tallies, prefix + "CloseDevice", [&] { return CloseDevice(handle); });
            handle = nullptr;
        }
    }
    if (handle != nullptr)
        Counted(tallies, prefix + "CloseDevice", [&] { return CloseDevice(handle); });
}

// Discovery passes until the deadline; counts each receiver listed or not.
void Discover(std::vector<Subject>& subjects, Tallies& tallies, Clock::time_point deadline) {
    while (Clock::now() < deadline) {
        DeviceList list{};
        Counted(tallies, "discovery passes", [&] {
            DiscoverDevices(&list);
            return 0;
        });
        for (const Subject& subject : subjects) {
            const sim::MacAddress mac = subject.rx->Mac();
            bool listed = false;
            for (int i = 0; i < list.count; ++i)
                listed |= std::memcmp(list.entries[i].mac, mac.data(), 6) == 0;
            tallies.Add(subject.vanishing ? "vanishing: DiscoverDevices" : "DiscoverDevices",
                        listed ? 0 : RC_FAILED, 0);
        }
    }
}

void RunPhase(std::vector<Subject>& subjects, Tallies& tallies, std::chrono::seconds length) {
    const Clock::time_point deadline = Clock::now() + length;
    std::vector<std::thread> threads;
    for (Subject& subject : subjects)
        threads.emplace_back([&] { Drive(subject, tallies, deadline); });
    threads.emplace_back([&] { Discover(subjects, tallies, deadline); });
    for (auto& t : threads) t.join();
}

std::string Percent(double rate) {
    char text[16];
    std::snprintf(text, sizeof text, "%6.2f %%", 100 * rate);
    return text;
}

TEST(FaultSoak, EveryOperationAtThirtyPercentLossWithAVanishingReceiver) {
    std::vector<Subject> subjects(4);
    subjects[0] = {
        StartLossy(sim::Model::R40, {127, 0, 0, 31}, false), {127, 0, 0, 31}, {127, 0, 0, 41}};
    subjects[1] = {
        StartLossy(sim::Model::R40V, {127, 0, 0, 32}, false), {127, 0, 0, 32}, {127, 0, 0, 42}};
    subjects[2] = {
        StartLossy(sim::Model::T22V3, {127, 0, 0, 33}, false), {127, 0, 0, 33}, {127, 0, 0, 43}};
    subjects[3] = {
        StartLossy(sim::Model::R40, {127, 0, 0, 34}, true), {127, 0, 0, 34}, {127, 0, 0, 34}};
    subjects[3].vanishing = true;
    for (const Subject& s : subjects) ASSERT_TRUE(s.rx->Running());

    // A short warm-up settles the allocator and the library's tables; the
    // resources are measured after it, with every handle closed.
    Tallies warmUp;
    RunPhase(subjects, warmUp, std::chrono::seconds(15));
    const int descriptorsBefore = OpenDescriptors();
    const long residentBefore = ResidentKilobytes();

    Tallies tallies;
    const int seconds = SoakSeconds();
    RunPhase(subjects, tallies, std::chrono::seconds(seconds));
    const int descriptorsAfter = OpenDescriptors();
    const long residentAfter = ResidentKilobytes();

    // The measured loss, over every receiver.
    sim::LossCounts loss;
    for (const Subject& s : subjects) {
        const sim::LossCounts c = s.rx->Losses();
        loss.echoesSent += c.echoesSent, loss.echoesLost += c.echoesLost;
        loss.tableRepliesSent += c.tableRepliesSent, loss.tableRepliesLost += c.tableRepliesLost;
        loss.statusesSent += c.statusesSent, loss.statusesLost += c.statusesLost;
    }
    auto rate = [](std::uint64_t lost, std::uint64_t sent) {
        return sent + lost == 0 ? 0.0
                                : static_cast<double>(lost) / static_cast<double>(sent + lost);
    };
    const double echoLoss = rate(loss.echoesLost, loss.echoesSent);
    const double tableLoss = rate(loss.tableRepliesLost, loss.tableRepliesSent);
    const double statusLoss = rate(loss.statusesLost, loss.statusesSent);

    const int localAddresses = LocalAddressCount();
    const auto predictions = Predictions(localAddresses);
    const auto snapshot = tallies.Snapshot();
    std::printf(
        "\nFault soak: %d s, loss %.0f %% of echoes, table replies and status "
        "datagrams (measured %.1f %%, %.1f %%, %.1f %%), %d local address(es)\n",
        seconds, 100 * LOSS, 100 * echoLoss, 100 * tableLoss, 100 * statusLoss, localAddresses);
    std::printf("%-32s %7s %9s %9s %10s  %s\n", "operation", "calls", "succeeded", "predicted",
                "longest ms", "rule; failures by code");
    for (const auto& [operation, t] : snapshot) {
        const double observed = static_cast<double>(t.succeeded) / static_cast<double>(t.calls);
        const auto predicted = predictions.find(operation);
        std::string failures;
        for (const auto& [code, n] : t.failures) {
            char text[40];
            std::snprintf(text, sizeof text, " %#x x%llu", static_cast<unsigned>(code),
                          static_cast<unsigned long long>(n));
            failures += text;
        }
        std::printf("%-32s %7llu %9s %9s %10lld  %s%s%s\n", operation.c_str(),
                    static_cast<unsigned long long>(t.calls), Percent(observed).c_str(),
                    predicted != predictions.end() ? Percent(predicted->second.rate).c_str() : "",
                    static_cast<long long>(t.longestMs),
                    predicted != predictions.end() ? predicted->second.rule : "",
                    failures.empty() ? "" : ";", failures.c_str());
    }
    std::printf("descriptors %d -> %d, resident %ld kB -> %ld kB\n\n", descriptorsBefore,
                descriptorsAfter, residentBefore, residentAfter);
    std::fflush(stdout);

    // The emulators really lost what they were told to.
    EXPECT_NEAR(echoLoss, LOSS, 0.06);
    EXPECT_NEAR(tableLoss, LOSS, 0.06);
    EXPECT_NEAR(statusLoss, LOSS, 0.03);

    // Each operation as good as its retries make it, within the noise of
    // the sample: five standard deviations, at least three points.
    for (const auto& [operation, prediction] : predictions) {
        const auto found = snapshot.find(operation);
        ASSERT_NE(found, snapshot.end()) << operation << " never ran";
        const Tally& t = found->second;
        ASSERT_GE(t.calls, 10u) << operation;
        const double observed = static_cast<double>(t.succeeded) / static_cast<double>(t.calls);
        const double p = prediction.rate;
        const double slack =
            std::max(0.03, 5 * std::sqrt(p * (1 - p) / static_cast<double>(t.calls)));
        EXPECT_GE(observed, p - slack) << operation;
    }

    // Nothing hung: every call ended within what its retries allow.
    for (const auto& [operation, t] : snapshot) {
        std::string plain = operation;
        if (plain.starts_with("vanishing: ")) plain = plain.substr(11);
        const auto bound = LONGEST_MS.find(plain);
        if (bound == LONGEST_MS.end()) continue;
        EXPECT_LE(t.longestMs, bound->second) << operation;
    }
    // The network change may take each local address in turn.
    for (const char* operation :
         {"SetNetworkSettings, same address", "SetNetworkSettings, new address"})
        EXPECT_LE(snapshot.at(operation).longestMs, static_cast<std::int64_t>(localAddresses) *
                                                        (ATTEMPTS * 1030 + 3 * 2 * 4000 + 1000))
            << operation;

    // The vanishing receiver was there and gone: found and missed, served
    // and not.
    for (const char* operation : {"vanishing: DiscoverDevices", "vanishing: GetDeviceStatus"}) {
        const Tally& t = snapshot.at(operation);
        EXPECT_GT(t.succeeded, 0u) << operation;
        EXPECT_LT(t.succeeded, t.calls) << operation;
    }

    // Nothing leaked: every socket closed, memory steady.
    EXPECT_EQ(descriptorsAfter, descriptorsBefore);
    EXPECT_LE(residentAfter - residentBefore, 4096) << "kB";

    // Once it stays, the vanishing receiver is served again.
    subjects[3].rx->SetVanishCycle(std::nullopt);
    subjects[3].rx->SetLoss(0.0);
    OpenedDevice device;
    Open(*subjects[3].rx, device);
    R40StatusRecord record{};
    EXPECT_TRUE(Succeeded(GetDeviceStatus(device.handle, &record)));
}

}  // namespace
}  // namespace devicelib_test
