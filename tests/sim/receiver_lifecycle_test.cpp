// Starting, stopping, restarting after a reset, living in another network
// namespace, many receivers at once, and a signal that stays alive.
#include <filesystem>
#include <future>
#include <set>
#include <thread>

#include "receiver_fixture.h"
#include "sim/status_datagram.h"
#include "tests/support/private_network.h"

namespace {

using namespace simtest;
using sim::Model;
using Clock = std::chrono::steady_clock;
namespace off = sim::status_offset;

constexpr Ipv4 HERE{127, 0, 0, 20};

TEST(Reset, PausesStatusThenCarriesOnWithItsConfiguration) {
    StatusListener listener(6516);
    sim::ReceiverConfig config = FastConfig(Model::T22V3, HERE);
    config.resetPause = 1500ms;
    auto rx = StartReceiver(config);
    ASSERT_TRUE(Exchange(HERE, sim::TUNE_PORT, SatelliteTune(30000, 11000, 3)).has_value());
    ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));

    ASSERT_TRUE(Exchange(HERE, sim::RESET_PORT, RESET_BYTES).has_value());
    EXPECT_TRUE(rx->Restarting());
    EXPECT_EQ(rx->ResetCount(), 1u);
    listener.Drain();
    const std::uint64_t before = rx->StatusesSent();
    EXPECT_TRUE(listener.Collect(300ms).empty()) << "silent while restarting";
    EXPECT_EQ(rx->StatusesSent(), before);
    // Commands meanwhile are heard but not answered.
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, SatelliteTune(1, 2, 0), 50ms).has_value());
    EXPECT_EQ(rx->CommandsOnPort(sim::TUNE_PORT).size(), 2u);

    auto d = listener.NextFrom(HERE, 3s);
    ASSERT_TRUE(d.has_value()) << "status resumes";
    EXPECT_FALSE(rx->Restarting());
    EXPECT_EQ(Word(d->bytes, off::SYMBOL_RATE), 30000) << "configuration kept";
    EXPECT_EQ(Word(d->bytes, off::FREQUENCY), 11000);
}

TEST(Reset, TheT22CaRestartsWithoutAnswering) {
    StatusListener listener(6516);
    sim::ReceiverConfig config = FastConfig(Model::T22CA, HERE);
    config.resetPause = 1500ms;
    auto rx = StartReceiver(config);
    EXPECT_FALSE(Exchange(HERE, sim::RESET_PORT, RESET_BYTES, 100ms).has_value());
    // Nothing answers, so look until the receiver has taken the reset.
    const auto deadline = Clock::now() + 2s;
    while (rx->ResetCount() == 0 && Clock::now() < deadline) std::this_thread::sleep_for(5ms);
    EXPECT_EQ(rx->ResetCount(), 1u);
    EXPECT_TRUE(rx->Restarting());
    listener.Drain();
    EXPECT_TRUE(listener.Collect(200ms).empty());
    EXPECT_TRUE(listener.NextFrom(HERE, 3s).has_value());
}

TEST(Lifecycle, StopIsPromptAndFreesTheAddress) {
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.statusInterval = 10s;  // it must not sleep through an interval
    auto rx = StartReceiver(config);
    ASSERT_TRUE(rx->WaitUntilStatusesSent(1, 1s));
    const auto start = Clock::now();
    rx->Stop();
    EXPECT_LT(Clock::now() - start, 1s);
    EXPECT_FALSE(rx->Running());
    rx->Stop();  // twice is harmless

    platform::net::UdpSocket probe;
    ASSERT_TRUE(probe.Open());
    EXPECT_TRUE(probe.Bind(HERE, sim::TABLE_PORT)) << "the sockets are closed";
    probe.Close();

    // A stopped receiver starts again where it was.
    std::string error;
    ASSERT_TRUE(rx->Start(&error)) << error;
    EXPECT_TRUE(Exchange(HERE, sim::TUNE_PORT, AtscTune(22)).has_value());
}

TEST(Lifecycle, DestructionStopsTheReceiver) {
    { auto rx = StartReceiver(FastConfig(Model::R40, HERE)); }
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, AtscTune(22), 100ms).has_value());
    auto again = StartReceiver(FastConfig(Model::R40, HERE));
    EXPECT_TRUE(again->Running());
}

TEST(Lifecycle, StartFailsOnATakenOrUnusableAddress) {
    auto first = StartReceiver(FastConfig(Model::R40, HERE));
    sim::EmulatedReceiver twin(FastConfig(Model::R40V, HERE));
    std::string error;
    EXPECT_FALSE(twin.Start(&error));
    EXPECT_NE(error.find("127.0.0.20"), std::string::npos) << error;
    EXPECT_FALSE(twin.Running());
    EXPECT_EQ(Exchange(HERE, sim::TABLE_PORT, TABLE_READ)->bytes.size(), 130u)
        << "the first receiver keeps its ports";

    for (const Ipv4 bad : {Ipv4{0, 0, 0, 0}, Ipv4{192, 0, 2, 9}, Ipv4{224, 0, 0, 1}}) {
        sim::EmulatedReceiver rx(FastConfig(Model::R40, bad));
        error.clear();
        EXPECT_FALSE(rx.Start(&error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_FALSE(first->Start(&error)) << "already running";
}

TEST(Lifecycle, IntervalCanChangeWhileRunning) {
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.statusInterval = 10s;
    auto rx = StartReceiver(config);
    ASSERT_TRUE(rx->WaitUntilStatusesSent(1, 1s));
    rx->SetStatusInterval(10ms);
    EXPECT_TRUE(rx->WaitUntilStatusesSent(5, 2s));
}

// A thread that moves into a namespace of its own and stays there until
// released; its namespace is reachable by path meanwhile.
class NamespaceHolder {
  public:
    NamespaceHolder() {
        std::promise<std::string> ready;
        auto readyFuture = ready.get_future();
        m_thread = std::thread([this, &ready] {
            std::string why;
            if (!test_support::EnterPrivateNetwork(&why)) {
                ready.set_value("");
                return;
            }
            const auto self = std::filesystem::read_symlink("/proc/thread-self");
            ready.set_value("/proc/" + self.string() + "/ns/net");
            // Listen for status here, in the other namespace.
            StatusListener listener(6516);
            while (!m_release.load()) {
                if (auto d = listener.Next(20ms)) {
                    std::lock_guard lock(m_mutex);
                    m_heard.push_back(d->source);
                }
            }
        });
        m_path = readyFuture.get();
    }
    ~NamespaceHolder() {
        m_release.store(true);
        m_thread.join();
    }
    const std::string& path() const { return m_path; }
    std::vector<Ipv4> Heard() {
        std::lock_guard lock(m_mutex);
        return m_heard;
    }

  private:
    std::thread m_thread;
    std::string m_path;
    std::atomic<bool> m_release{false};
    std::mutex m_mutex;
    std::vector<Ipv4> m_heard;
};

TEST(Lifecycle, RunsInAnotherNetworkNamespace) {
    NamespaceHolder other;
    ASSERT_FALSE(other.path().empty());
    StatusListener here(6516);
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.networkNamespace = other.path();
    auto rx = StartReceiver(config);
    ASSERT_TRUE(rx->WaitForNewStatuses(5, 2s));
    EXPECT_FALSE(here.Next(100ms).has_value()) << "nothing reaches this namespace";
    EXPECT_FALSE(Exchange(HERE, sim::TUNE_PORT, AtscTune(3), 100ms).has_value());
    const auto heard = other.Heard();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), HERE);
    // The address is free on this side.
    auto local = StartReceiver(FastConfig(Model::R40V, HERE));
    EXPECT_TRUE(local->Running());
}

TEST(Lifecycle, ANamespaceThatCannotBeJoinedFailsTheStart) {
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.networkNamespace = "/nonexistent/netns/B";
    sim::EmulatedReceiver rx(config);
    std::string error;
    EXPECT_FALSE(rx.Start(&error));
    EXPECT_NE(error.find("/nonexistent/netns/B"), std::string::npos) << error;
}

TEST(Lifecycle, EightyReceiversAtOnce) {
    StatusListener listener(6516);
    std::vector<std::unique_ptr<sim::EmulatedReceiver>> receivers;
    for (std::uint8_t i = 0; i < 80; ++i) {
        const Model model = sim::ALL_MODELS[i % sim::ALL_MODELS.size()];
        sim::ReceiverConfig config =
            FastConfig(model, {127, 0, 1, static_cast<std::uint8_t>(10 + i)});
        config.statusInterval = 100ms;
        receivers.push_back(StartReceiver(config));
        ASSERT_TRUE(receivers.back()->Running()) << int(i);
    }
    std::set<Ipv4> sources;
    std::set<sim::MacAddress> macs;
    const auto deadline = Clock::now() + 5s;
    while (sources.size() < 80 && Clock::now() < deadline) {
        if (auto d = listener.Next(100ms)) {
            sources.insert(d->source);
            macs.insert({d->bytes[0x30], d->bytes[0x31], d->bytes[0x32], d->bytes[0x33],
                         d->bytes[0x34], d->bytes[0x35]});
        }
    }
    EXPECT_EQ(sources.size(), 80u);
    EXPECT_EQ(macs.size(), 80u);
    for (const auto& rx : receivers) {
        auto echo = Exchange(rx->Address(), sim::TUNE_PORT, TuneFor(rx->model()));
        EXPECT_TRUE(echo.has_value());
    }
    const auto start = Clock::now();
    receivers.clear();
    EXPECT_LT(Clock::now() - start, 5s);
}

TEST(Signal, DataCounterGrowsWhileLockedAndDataFlows) {
    StatusListener listener(6516);
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.initial.dataFlowing = true;
    auto rx = StartReceiver(config);
    auto a = listener.NextFrom(HERE, 1s);
    auto b = listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(a && b);
    EXPECT_GT(Word(a->bytes, off::DATA_COUNTER), 0);
    EXPECT_NE(Word(a->bytes, off::DATA_COUNTER), Word(b->bytes, off::DATA_COUNTER));

    rx->SetLocked(false);
    ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));
    listener.Drain();
    auto c = listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(Word(c->bytes, off::DATA_COUNTER), 0) << "no lock, no data";
    EXPECT_EQ(c->bytes[off::RECEIVER_FLAGS] & sim::ATSC_LOCK_BIT, 0);

    rx->SetLocked(true);
    rx->SetDataFlowing(false);
    ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));
    listener.Drain();
    auto e = listener.NextFrom(HERE, 1s);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(Word(e->bytes, off::DATA_COUNTER), 0);
    EXPECT_EQ(e->bytes[off::RECEIVER_FLAGS] & sim::ATSC_LOCK_BIT, sim::ATSC_LOCK_BIT);
}

TEST(Signal, AnimatedValuesWanderAroundWhatWasSet) {
    sim::ReceiverConfig config = FastConfig(Model::R40, HERE);
    config.animateSignal = true;
    config.statusInterval = 5ms;
    auto rx = StartReceiver(config);
    std::set<std::uint16_t> levels;
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));
        const auto d = rx->LastStatusDatagram();
        const std::uint16_t level = Word(d, off::ERROR_LEVEL_A);
        levels.insert(level);
        EXPECT_GE(level, 3000 - 150);
        EXPECT_LE(level, 3000 + 150);
    }
    EXPECT_GT(levels.size(), 1u) << "the signal is alive";

    // A value set from outside becomes the new centre.
    rx->Modify([](sim::ReceiverState& s) { s.atsc.errorLevelA = 10000; });
    ASSERT_TRUE(rx->WaitForNewStatuses(2, 1s));
    const std::uint16_t level = Word(rx->LastStatusDatagram(), off::ERROR_LEVEL_A);
    EXPECT_GE(level, 10000 - 500);
    EXPECT_LE(level, 10000 + 500);
}

TEST(Signal, SatelliteLevelWanderButNoSignalStaysNoSignal) {
    sim::ReceiverConfig config = FastConfig(Model::Trevan, HERE);
    config.animateSignal = true;
    config.statusInterval = 5ms;
    config.initial.satellite.level = 0xFF;
    auto rx = StartReceiver(config);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(rx->WaitForNewStatuses(1, 1s));
        EXPECT_EQ(rx->LastStatusDatagram().at(off::LEVEL), 0xFF);
    }
}

}  // namespace
