// The handles the C interface gives out. A handle is a token, never a
// pointer: each OpenDevice takes a new generation number, never reused, and
// the table maps the live ones to their devices. A closed, stale or foreign
// handle is simply not found, so it is never dereferenced.
//
// Callers are to use one handle from one thread at a time; calls that
// overlap anyway are run one after another under the device's lock, and a
// close waits for the call in progress.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "devicelib/devicelib.h"
#include "devicelib/orvel_device.h"

namespace devicelib {

// One open device and the lock that keeps calls on it from overlapping.
class LiveDevice {
  public:
    explicit LiveDevice(std::unique_ptr<COrvelDevice> device) : m_device(std::move(device)) {}

    // Runs call(device) under the lock: its result, or RC_FAILED once closed.
    template <class Call>
    std::int32_t Use(Call&& call) {
        std::lock_guard lock(m_mutex);
        if (!m_device) return RC_FAILED;
        return call(*m_device);
    }

    // Waits for a call in progress, then closes the listener and destroys the device.
    void Close();

    // The device without taking the lock (null once closed). Only for tests
    // that drive the object behind a handle from one thread.
    COrvelDevice* UnguardedDevice() { return m_device.get(); }

  private:
    std::mutex m_mutex;
    std::unique_ptr<COrvelDevice> m_device;
};

class DeviceHandles {
  public:
    // The process's table. Never destroyed: a worker may still call in while
    // the process exits.
    static DeviceHandles& Instance();

    // A new handle for the device; throws std::bad_alloc when it cannot.
    DeviceHandle Add(std::unique_ptr<COrvelDevice> device);
    // The live device of a handle, or null.
    std::shared_ptr<LiveDevice> Find(DeviceHandle handle) const;
    // Takes a handle out of the table: its device, or null when it was not live.
    std::shared_ptr<LiveDevice> Remove(DeviceHandle handle);

  private:
    DeviceHandles() = default;

    mutable std::mutex m_mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<LiveDevice>> m_live;
    std::uintptr_t m_lastGeneration = 0;
};

// The device object behind a live handle, or null. For tests that drive
// the object directly, from the one thread that uses the handle.
COrvelDevice* DeviceBehindHandle(DeviceHandle handle);

}  // namespace devicelib
