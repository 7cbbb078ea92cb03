#include "console/device_session.h"

namespace console {

DeviceSession::DeviceSession(DeviceHandle handle, std::uint64_t generation, std::uint16_t type)
    : m_handle(handle), m_generation(generation), m_type(type) {}

DeviceSession::~DeviceSession() {
    std::lock_guard lock(m_mutex);
    CloseDevice(m_handle);
}

}  // namespace console
