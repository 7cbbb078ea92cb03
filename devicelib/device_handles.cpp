#include "devicelib/device_handles.h"

namespace devicelib {
namespace {

// Handle value: the generation shifted left, with a tag in the low bits.
// Objects are at least 8-byte aligned, so no pointer to one carries the tag.
constexpr int TAG_BITS = 3;
constexpr std::uintptr_t TAG = 0x5;
constexpr std::uintptr_t LARGEST_GENERATION = ~std::uintptr_t{0} >> TAG_BITS;

std::uintptr_t ValueOf(DeviceHandle handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace

void LiveDevice::Close() {
    std::lock_guard lock(m_mutex);
    if (!m_device) return;
    m_device->CloseListener();
    m_device.reset();
}

DeviceHandles& DeviceHandles::Instance() {
    static DeviceHandles* const TABLE = new DeviceHandles;
    return *TABLE;
}

DeviceHandle DeviceHandles::Add(std::unique_ptr<COrvelDevice> device) {
    auto live = std::make_shared<LiveDevice>(std::move(device));
    std::lock_guard lock(m_mutex);
    std::uintptr_t value = 0;
    // Generations wrap only after 2^61 openings (2^29 with 32-bit
    // pointers); one still live is skipped then.
    do {
        m_lastGeneration = m_lastGeneration == LARGEST_GENERATION ? 1 : m_lastGeneration + 1;
        value = (m_lastGeneration << TAG_BITS) | TAG;
    } while (m_live.contains(value));
    m_live.emplace(value, std::move(live));
    return reinterpret_cast<DeviceHandle>(value);
}

std::shared_ptr<LiveDevice> DeviceHandles::Find(DeviceHandle handle) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_live.find(ValueOf(handle));
    return found == m_live.end() ? nullptr : found->second;
}

std::shared_ptr<LiveDevice> DeviceHandles::Remove(DeviceHandle handle) {
    std::lock_guard lock(m_mutex);
    const auto found = m_live.find(ValueOf(handle));
    if (found == m_live.end()) return nullptr;
    std::shared_ptr<LiveDevice> live = std::move(found->second);
    m_live.erase(found);
    return live;
}

COrvelDevice* DeviceBehindHandle(DeviceHandle handle) {
    const std::shared_ptr<LiveDevice> live = DeviceHandles::Instance().Find(handle);
    return live ? live->UnguardedDevice() : nullptr;
}

}  // namespace devicelib
