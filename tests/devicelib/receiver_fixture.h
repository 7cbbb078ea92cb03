// Emulated receivers on loopback for device-library tests, and the glue
// between the emulator's view of a receiver and the library's records.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "devicelib/device_handles.h"
#include "devicelib/devicelib.h"
#include "sim/emulated_receiver.h"
#include "tests/support/wine_loopback.h"

namespace devicelib_test {

using namespace std::chrono_literals;

inline std::uint16_t TypeCodeOf(sim::Model model) {
    switch (model) {
        case sim::Model::R40:
            return TYPE_R40;
        case sim::Model::R40V:
            return TYPE_R40_TREVAN;
        case sim::Model::T22V2:
            return TYPE_T22_V2;
        case sim::Model::T22V3:
            return TYPE_T22_V3;
        case sim::Model::T22CA:
            return TYPE_T22CA;
        case sim::Model::Trevan:
            return TYPE_TREVAN;
    }
    return TYPE_UNRECOGNISED;
}

// The entry discovery would list for a receiver.
inline DeviceInfo InfoFor(const sim::EmulatedReceiver& rx) {
    DeviceInfo info{};
    const sim::Ipv4 address = rx.Address();
    std::memcpy(info.address, address.data(), 4);
    const sim::MacAddress mac = rx.Mac();
    std::memcpy(info.mac, mac.data(), 6);
    info.statusPort = rx.StatusDestinationPort();
    info.deviceType = TypeCodeOf(rx.model());
    return info;
}

// Receivers under Wine stand at 127.0.0.1, told apart by MAC address and
// command ports (see tests/support/wine_loopback.h).
using test_support::ConfigFor;
using test_support::StartOnFreePorts;
using test_support::TestAddress;

// A started receiver that sends status every 20 ms and restarts quickly.
inline std::unique_ptr<sim::EmulatedReceiver> StartReceiver(sim::Model model, sim::Ipv4 address,
                                                            std::uint16_t statusPort = 6516) {
    sim::ReceiverConfig config = ConfigFor(model, address, statusPort);
    config.statusInterval = 20ms;
    config.resetPause = 200ms;
    std::string error;
    auto rx = StartOnFreePorts(config, &error);
    // A receiver that did not start stays in the test, stopped, so the
    // failure is this one expectation rather than a crash.
    if (!rx) {
        ADD_FAILURE() << error;
        return std::make_unique<sim::EmulatedReceiver>(config);
    }
    EXPECT_TRUE(rx->WaitForNewStatuses(1, 2s));
    return rx;
}

// A result of 0, or a failure that names the code and what it means:
//   EXPECT_TRUE(Succeeded(SetChannel(handle, &channel)));
inline ::testing::AssertionResult Succeeded(std::int32_t result) {
    if (result == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "result " << result << " (0x" << std::hex << result
                                         << "): " << DeviceResultText(result);
}

// Opens the device for a receiver through the entry point; fails the test
// when it cannot.
struct OpenedDevice {
    DeviceHandle handle = nullptr;
    ~OpenedDevice() { CloseDevice(handle); }
};

inline void Open(const sim::EmulatedReceiver& rx, OpenedDevice& device) {
    const DeviceInfo info = InfoFor(rx);
    int32_t result = -99;
    device.handle = OpenDevice(&info, 2000, &result);
    ASSERT_NE(device.handle, nullptr) << "OpenDevice: " << Succeeded(result).message();
    ASSERT_TRUE(Succeeded(result));
}

inline std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> bytes;
    for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

}  // namespace devicelib_test
