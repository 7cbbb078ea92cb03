// Prints how long the device library's main operations take against
// emulated receivers on loopback, in a network namespace of its own.
// Figures only: nothing here passes or fails.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "devicelib/devicelib.h"
#include "platform/clock/clock.h"
#include "sim/emulated_receiver.h"
#include "tests/support/private_network.h"

namespace {

using namespace std::chrono_literals;

constexpr auto INTERVAL = 100ms;

std::vector<std::unique_ptr<sim::EmulatedReceiver>> StartReceivers(int count) {
    std::vector<std::unique_ptr<sim::EmulatedReceiver>> receivers;
    for (int i = 0; i < count; ++i) {
        const sim::Ipv4 address{127, 0, 1, static_cast<std::uint8_t>(1 + i)};
        auto config = sim::ReceiverConfig::For(sim::Model::R40, address, 6516);
        config.statusInterval = INTERVAL;
        receivers.push_back(std::make_unique<sim::EmulatedReceiver>(config));
        std::string error;
        if (!receivers.back()->Start(&error)) std::fprintf(stderr, "receiver: %s\n", error.c_str());
    }
    platform::clock::SleepMilliseconds(300);
    return receivers;
}

void DiscoveryPass(int receivers) {
    auto running = StartReceivers(receivers);
    DeviceList list{};
    const auto start = platform::clock::NowMilliseconds();
    DiscoverDevices(&list);
    const auto ms = platform::clock::NowMilliseconds() - start;
    std::printf("discovery pass, %2d receivers: %5lld ms, %d listed\n", receivers,
                static_cast<long long>(ms), list.count);
}

}  // namespace

int main() {
    std::string why;
    if (!test_support::EnterPrivateNetwork(&why)) {
        std::fprintf(stderr, "devicelib_bench needs a network namespace (root): %s\n", why.c_str());
        return 1;
    }
    std::printf("emulated receivers send status every %lld ms\n",
                static_cast<long long>(INTERVAL.count()));
    for (int n : {0, 8, 64}) DiscoveryPass(n);

    auto receivers = StartReceivers(1);
    DeviceInfo info{};
    const sim::Ipv4 address = receivers[0]->Address();
    const sim::MacAddress mac = receivers[0]->Mac();
    std::memcpy(info.address, address.data(), 4);
    std::memcpy(info.mac, mac.data(), 6);
    info.statusPort = 6516;
    info.deviceType = TYPE_R40;
    int32_t result = 0;
    DeviceHandle device = OpenDevice(&info, 3000, &result);
    if (device == nullptr) {
        std::fprintf(stderr, "OpenDevice failed: %d\n", result);
        return 1;
    }
    constexpr int ROUNDS = 5;
    long long tuneTotal = 0;
    for (int i = 0; i < ROUNDS; ++i) {
        const std::uint16_t channel = static_cast<std::uint16_t>(20 + i);
        const auto start = platform::clock::NowMilliseconds();
        const int32_t rc = SetChannel(device, &channel);
        tuneTotal += platform::clock::NowMilliseconds() - start;
        if (rc != 0) std::fprintf(stderr, "SetChannel: %d\n", rc);
    }
    std::printf("SetChannel to confirmed return: %lld ms on average of %d\n", tuneTotal / ROUNDS,
                ROUNDS);
    long long statusTotal = 0;
    R40StatusRecord record{};
    for (int i = 0; i < 20; ++i) {
        const auto start = platform::clock::NowMilliseconds();
        GetDeviceStatus(device, &record);
        statusTotal += platform::clock::NowMilliseconds() - start;
    }
    std::printf("GetDeviceStatus: %lld ms on average of 20\n", statusTotal / 20);
    CloseDevice(device);
    return 0;
}
