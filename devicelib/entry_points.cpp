// The C interface. Nothing is thrown across it: every failure is a result
// code or a null handle. Handles are looked up in the table of live ones
// (device_handles.h), so a bad handle is a failure, never a dereference.
#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "devicelib/device_handles.h"
#include "devicelib/device_models.h"
#include "devicelib/devicelib.h"
#include "devicelib/discovery.h"
#include "devicelib/heard_status.h"
#include "devicelib/route_to_device.h"
#include "devicelib/value_checks.h"
#include "platform/net/udp_socket.h"

using devicelib::COrvelDevice;
using devicelib::DeviceHandles;

namespace {

// Runs operation(device) on the handle's live device, one call at a time;
// RC_FAILED for a handle that is not live and for any exception.
template <class Operation>
int32_t WithDevice(DeviceHandle handle, Operation operation) noexcept {
    try {
        const std::shared_ptr<devicelib::LiveDevice> live = DeviceHandles::Instance().Find(handle);
        if (!live) return RC_FAILED;
        return live->Use(operation);
    } catch (...) {
        return RC_FAILED;
    }
}

bool IsPesType(uint16_t type) {
    return type == TYPE_TREVAN || type == TYPE_T22CA || type == TYPE_R40_TREVAN;
}

// Makes, attaches and opens the device of `entry`; `firstStatus` then
// gives it its first status (0) or refuses (its code). Never throws.
template <class FirstStatus>
DeviceHandle OpenWith(const DeviceInfo* entry, int32_t* result, FirstStatus firstStatus) noexcept {
    int32_t scratch = 0;
    int32_t& rc = result != nullptr ? *result : scratch;
    if (entry == nullptr) {
        rc = RC_FAILED;
        return nullptr;
    }
    try {
        const uint16_t type = entry->deviceType;
        if (type < TYPE_T22_V2 || type > TYPE_R40_TREVAN) {
            rc = ERR_BAD_TYPE;
            return nullptr;
        }
        std::unique_ptr<COrvelDevice> device = devicelib::MakeDevice(type);
        if (!device) return nullptr;
        rc = device->Attach(*entry);
        if (rc != RC_ATTACHED) return nullptr;
        rc = device->OpenListener();
        if (rc != 0) return nullptr;
        device->SetSourceFilter(true);
        rc = firstStatus(*device);
        if (rc != 0) {
            device->CloseListener();
            return nullptr;
        }
        try {
            return DeviceHandles::Instance().Add(std::move(device));
        } catch (...) {
            rc = RC_FAILED;  // the device, opened, is closed again
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        // An object that cannot be allocated leaves the result as it was.
        return nullptr;
    } catch (...) {
        rc = RC_FAILED;
        return nullptr;
    }
}

}  // namespace

extern "C" {

DEVICELIB_API int32_t DiscoverDevices(DeviceList* list) {
    if (list == nullptr) return 1;
    try {
        devicelib::Discover(*list);
    } catch (...) {
        // The list keeps what was found before the failure.
    }
    return 1;
}

DEVICELIB_API int32_t DiscoverDevicesKeeping(DeviceList* list, const DeviceList* known,
                                             DiscoveryCounts* counts) {
    if (counts != nullptr) *counts = DiscoveryCounts{};
    if (list == nullptr) return 1;
    try {
        // The caller's record is read while the list is written: a copy.
        DeviceList knownCopy{};
        if (known != nullptr) {
            knownCopy = *known;
            knownCopy.count = std::min<uint16_t>(knownCopy.count, MAX_DEVICES);
        }
        devicelib::DiscoveryRules rules;
        rules.known = known != nullptr ? &knownCopy : nullptr;
        rules.readOnWhenFull = true;
        rules.counts = counts;
        devicelib::Discover(*list, rules);
    } catch (...) {
        // The list keeps what was found before the failure.
    }
    return 1;
}

DEVICELIB_API DeviceHandle OpenDevice(const DeviceInfo* entry, int timeoutMs, int32_t* result) {
    return OpenWith(entry, result,
                    [timeoutMs](COrvelDevice& device) { return device.WaitStatus(timeoutMs); });
}

DEVICELIB_API DeviceHandle OpenDeviceWithStatus(const DeviceInfo* entry, const uint8_t* datagram,
                                                size_t length, int32_t* result) {
    if (datagram == nullptr) {
        if (result != nullptr) *result = RC_FAILED;
        return nullptr;
    }
    return OpenWith(entry, result, [&](COrvelDevice& device) -> int32_t {
        devicelib::Ipv4 source;
        std::memcpy(source.data(), entry->address, source.size());
        const auto intake = device.TakeStatusDatagram({datagram, length}, source);
        return intake == devicelib::StatusIntake::Accepted ? 0 : RC_FAILED;
    });
}

DEVICELIB_API int32_t CloseDevice(DeviceHandle handle) {
    if (handle == nullptr) return 0;
    try {
        // Out of the table first, so no new call can find it; the close then
        // waits for a call still in progress on another thread.
        const std::shared_ptr<devicelib::LiveDevice> live =
            DeviceHandles::Instance().Remove(handle);
        if (!live) return RC_FAILED;
        live->Close();
        return 0;
    } catch (...) {
        return RC_FAILED;
    }
}

DEVICELIB_API int32_t SetNetworkSettings(DeviceHandle handle, const NetworkSettings* settings) {
    if (settings == nullptr) return RC_FAILED;
    return WithDevice(handle, [&](COrvelDevice& device) {
        if (const int32_t refused = devicelib::CheckNetworkValues(*settings); refused != 0)
            return refused;
        return devicelib::ApplyNetworkSettingsThroughAdapters(device, *settings);
    });
}

DEVICELIB_API int32_t SetChannel(DeviceHandle handle, const void* tuning) {
    if (tuning == nullptr) return RC_FAILED;
    return WithDevice(handle, [&](COrvelDevice& device) { return device.Tune(tuning); });
}

DEVICELIB_API int32_t SetPidList(DeviceHandle handle, void* list) {
    if (list == nullptr) return RC_FAILED;
    return WithDevice(handle, [&](COrvelDevice& device) -> int32_t {
        const uint16_t type = device.TypeCode();
        const bool pes = IsPesType(type);
        const int32_t refused = devicelib::CheckPidListValues(type, list, nullptr);
        // Unused entries are cleared in the caller's record even when the
        // list is then refused.
        const int32_t count = pes ? static_cast<TrevanPidListRecord*>(list)->count
                                  : static_cast<PidListRecord*>(list)->count;
        if (count >= 0 && count < MAX_PIDS) {
            for (int i = count; i < MAX_PIDS; ++i) {
                if (pes)
                    static_cast<TrevanPidListRecord*>(list)->pid[i] = NULL_PID;
                else
                    static_cast<PidListRecord*>(list)->pid[i] = NULL_PID;
            }
        }
        if (refused != 0) return refused;
        return device.WritePidTable(list);
    });
}

DEVICELIB_API int32_t GetPidList(DeviceHandle handle, void* list) {
    if (list == nullptr) return RC_FAILED;
    return WithDevice(handle, [&](COrvelDevice& device) { return device.ReadPidTable(list); });
}

DEVICELIB_API int32_t GetDeviceStatus(DeviceHandle handle, void* record) {
    if (record == nullptr) return RC_FAILED;
    return WithDevice(handle, [&](COrvelDevice& device) -> int32_t {
        if (device.WaitFreshStatus(2000) != 0) return RC_FAILED;
        if (device.GetStatusRecord(record) != 0) return RC_FAILED;
        return 0;
    });
}

DEVICELIB_API int32_t DecodeStatusDatagram(const uint8_t* datagram, size_t length,
                                           DeviceInfo* sender, void* record, size_t recordSize) {
    if (datagram == nullptr || sender == nullptr) return RC_FAILED;
    try {
        return devicelib::DecodeHeardStatus({datagram, length}, *sender, record, recordSize);
    } catch (...) {
        return RC_FAILED;
    }
}

DEVICELIB_API int32_t ResetDevice(DeviceHandle handle) {
    return WithDevice(handle, [](COrvelDevice& device) { return device.Reset(); });
}

DEVICELIB_API int32_t FindFreeStatusPort(uint16_t* port) {
    if (port == nullptr) return RC_FAILED;
    try {
        platform::net::UdpSocket socket;
        if (!socket.Open()) return ERR_STATUS_SOCKET;
        // Probed the way the status listener binds: a port that other
        // listeners share with address reuse (another discovery pass, a
        // monitoring program hearing the broadcasts) serves this console's
        // listener as well; only a port held exclusively is passed over.
        socket.SetReuseAddress(true);
        for (uint16_t candidate : STATUS_PORTS) {
            if (socket.Bind(platform::net::ANY_ADDRESS, candidate)) {
                *port = candidate;
                return 0;
            }
        }
        return RC_FAILED;
    } catch (...) {
        return RC_FAILED;
    }
}

DEVICELIB_API int32_t CheckNetworkSettings(const NetworkSettings* settings) {
    if (settings == nullptr) return RC_FAILED;
    return devicelib::CheckNetworkValues(*settings);
}

DEVICELIB_API int32_t CheckPidList(uint16_t deviceType, const void* list, int32_t* badEntry) {
    if (badEntry != nullptr) *badEntry = -1;
    if (list == nullptr) return RC_FAILED;
    return devicelib::CheckPidListValues(deviceType, list, badEntry);
}

DEVICELIB_API int32_t GetDeviceType(DeviceHandle handle, uint16_t* type) {
    if (type == nullptr) return RC_FAILED;
    // A handle that is not live has no device: it reads as unrecognised.
    *type = TYPE_UNRECOGNISED;
    return WithDevice(handle, [&](COrvelDevice& device) {
        *type = device.TypeCode();
        return *type == TYPE_UNRECOGNISED ? RC_FAILED : 0;
    });
}

}  // extern "C"
