// Misuse of the C interface: handles shared between threads, closed twice,
// used after closing, or never made by the library. None may crash or
// touch freed memory (the sanitizer build runs these too); each gives
// RC_FAILED where there is no device to act on.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

// Every entry point that takes a handle, on `handle`; the results in order.
std::vector<int32_t> CallEveryEntryPoint(DeviceHandle handle) {
    R40StatusRecord status{};
    TrevanPidListRecord pids{};
    pids.count = 0;
    uint16_t channel = 30;
    NetworkSettings settings{};
    uint16_t type = 99;
    std::vector<int32_t> results;
    results.push_back(GetDeviceStatus(handle, &status));
    results.push_back(GetPidList(handle, &pids));
    results.push_back(SetPidList(handle, &pids));
    results.push_back(SetChannel(handle, &channel));
    results.push_back(SetNetworkSettings(handle, &settings));
    results.push_back(ResetDevice(handle));
    results.push_back(GetDeviceType(handle, &type));
    EXPECT_EQ(type, TYPE_UNRECOGNISED);
    return results;
}

const std::vector<int32_t> ALL_FAILED(7, RC_FAILED);

// A PID list of its own for each thread, so that a table written by one
// and verified against the other's would show.
TrevanPidListRecord PidsOf(int thread) {
    TrevanPidListRecord pids{};
    pids.count = 3;
    for (int i = 0; i < 3; ++i) {
        pids.pid[i] = static_cast<uint16_t>(0x100 * (thread + 1) + i);
        pids.control[i] = 1;
    }
    return pids;
}

TEST(HandleMisuse, TwoThreadsOnOneHandleAreServedOneAfterTheOther) {
    auto rx = StartReceiver(sim::Model::R40V, {127, 0, 0, 90});
    OpenedDevice device;
    Open(*rx, device);
    std::atomic<int> failures{0};
    auto work = [&](int thread) {
        for (int i = 0; i < 6; ++i) {
            TrevanPidListRecord pids = PidsOf(thread);
            if (SetPidList(device.handle, &pids) != 0) ++failures;
            R40StatusRecord record{};
            if (GetDeviceStatus(device.handle, &record) != 0) ++failures;
            uint16_t channel = static_cast<uint16_t>(20 + thread);
            if (SetChannel(device.handle, &channel) != 0) ++failures;
            TrevanPidListRecord back{};
            if (GetPidList(device.handle, &back) != 0) ++failures;
            uint16_t type = 0;
            if (GetDeviceType(device.handle, &type) != 0 || type != TYPE_R40_TREVAN) ++failures;
        }
    };
    std::thread first(work, 0), second(work, 1);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
}

TEST(HandleMisuse, ClosingTwiceAndCallingAfterCloseFail) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 91});
    OpenedDevice device;
    Open(*rx, device);
    const DeviceHandle closed = device.handle;
    EXPECT_EQ(CloseDevice(closed), 0);
    device.handle = nullptr;
    EXPECT_EQ(CloseDevice(closed), RC_FAILED);
    EXPECT_EQ(CallEveryEntryPoint(closed), ALL_FAILED);
    EXPECT_EQ(CloseDevice(nullptr), 0);

    // A handle of an earlier opening stays dead when the device is opened again.
    Open(*rx, device);
    EXPECT_NE(device.handle, closed);
    EXPECT_EQ(CallEveryEntryPoint(closed), ALL_FAILED);
    uint16_t type = 0;
    EXPECT_EQ(GetDeviceType(device.handle, &type), 0);
    EXPECT_EQ(type, TYPE_R40);
}

TEST(HandleMisuse, HandlesTheLibraryNeverMadeFail) {
    int local = 0;
    auto heap = std::make_unique<std::uint64_t[]>(64);
    for (DeviceHandle foreign :
         {reinterpret_cast<DeviceHandle>(&local), reinterpret_cast<DeviceHandle>(heap.get()),
          reinterpret_cast<DeviceHandle>(std::uintptr_t{1}),
          reinterpret_cast<DeviceHandle>(~std::uintptr_t{0})}) {
        EXPECT_EQ(CallEveryEntryPoint(foreign), ALL_FAILED);
        EXPECT_EQ(CloseDevice(foreign), RC_FAILED);
    }
}

TEST(HandleMisuse, CloseWaitsForACallInFlightAndLaterCallsFail) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 92});
    OpenedDevice device;
    Open(*rx, device);
    rx->SetFault(sim::Fault::Silence, true);
    ASSERT_TRUE(rx->Settle());
    int32_t callResult = 0;
    std::thread caller([&] {
        R40StatusRecord record{};
        callResult = GetDeviceStatus(device.handle, &record);  // waits its 2000 ms out
    });
    std::this_thread::sleep_for(300ms);
    // Closed from another thread while the call waits: the close waits for
    // it, then every later call fails.
    EXPECT_EQ(CloseDevice(device.handle), 0);
    caller.join();
    EXPECT_EQ(callResult, RC_FAILED);
    EXPECT_EQ(CallEveryEntryPoint(device.handle), ALL_FAILED);
    EXPECT_EQ(CloseDevice(device.handle), RC_FAILED);
    device.handle = nullptr;
}

TEST(HandleMisuse, ManyThreadsClosingOneHandleCloseItOnce) {
    auto rx = StartReceiver(sim::Model::T22V3, {127, 0, 0, 93});
    OpenedDevice device;
    Open(*rx, device);
    std::atomic<int> closedOk{0}, refused{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            uint16_t type = 0;
            GetDeviceType(device.handle, &type);
            (CloseDevice(device.handle) == 0 ? closedOk : refused)++;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(closedOk, 1);
    EXPECT_EQ(refused, 7);
    device.handle = nullptr;
}

}  // namespace
}  // namespace devicelib_test
