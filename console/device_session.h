// The open device, shared between the window and the workers that use it.
// Calls on one device handle never overlap: every user goes through Use,
// which holds the session's lock for the call. The device is closed when the
// last user lets go, so a worker still reading it when the operator picks
// another device finishes safely, and only then is it closed.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "devicelib/devicelib.h"

namespace console {

class DeviceSession {
  public:
    // Takes ownership of an open handle. `generation` tells this opening
    // apart from every other, so results of an earlier device can be spotted.
    DeviceSession(DeviceHandle handle, std::uint64_t generation, std::uint16_t type);
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Runs `call(handle)` under the session's lock and returns its result.
    template <class Call>
    auto Use(Call&& call) {
        std::lock_guard lock(m_mutex);
        return call(m_handle);
    }

    std::uint64_t Generation() const { return m_generation; }
    // The type the device was opened as (its type never changes while open).
    std::uint16_t Type() const { return m_type; }

  private:
    std::mutex m_mutex;
    DeviceHandle m_handle;
    const std::uint64_t m_generation;
    const std::uint16_t m_type;
};

using SharedDevice = std::shared_ptr<DeviceSession>;

}  // namespace console
