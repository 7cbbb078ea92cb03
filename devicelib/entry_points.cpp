// The C interface. Nothing is thrown across it: every failure is a result
// code or a null handle.
#include <cstring>
#include <exception>
#include <memory>
#include <new>

#include "devicelib/device_models.h"
#include "devicelib/devicelib.h"
#include "devicelib/discovery.h"
#include "devicelib/route_to_device.h"
#include "platform/net/udp_socket.h"

using devicelib::COrvelDevice;

namespace {

COrvelDevice* FromHandle(DeviceHandle handle) {
    return reinterpret_cast<COrvelDevice*>(handle);
}

DeviceHandle ToHandle(COrvelDevice* device) {
    return reinterpret_cast<DeviceHandle>(device);
}

// Runs an operation, turning any exception into a failure code.
template <class Operation>
int32_t Guarded(Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return RC_FAILED;
    }
}

bool IsPesType(uint16_t type) {
    return type == TYPE_TREVAN || type == TYPE_T22CA || type == TYPE_R40_TREVAN;
}

// Checks the first count PIDs: no PID above 0x1FFF, none but the null PID
// twice. At most 32 entries are examined.
bool PidListIsValid(const uint16_t* pids, int count) {
    const int n = count < MAX_PIDS ? count : MAX_PIDS;
    for (int i = 0; i < n; ++i) {
        if (pids[i] == NULL_PID) continue;
        if (pids[i] > NULL_PID) return false;
        for (int k = 0; k < n; ++k)
            if (k != i && pids[k] == pids[i]) return false;
    }
    return true;
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

DEVICELIB_API DeviceHandle OpenDevice(const DeviceInfo* entry, int timeoutMs, int32_t* result) {
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
        rc = device->WaitStatus(timeoutMs);
        if (rc != 0) {
            device->CloseListener();
            return nullptr;
        }
        return ToHandle(device.release());
    } catch (const std::bad_alloc&) {
        // An object that cannot be allocated leaves the result as it was.
        return nullptr;
    } catch (...) {
        rc = RC_FAILED;
        return nullptr;
    }
}

DEVICELIB_API int32_t CloseDevice(DeviceHandle handle) {
    if (COrvelDevice* device = FromHandle(handle)) {
        device->CloseListener();
        delete device;
    }
    return 0;
}

DEVICELIB_API int32_t SetNetworkSettings(DeviceHandle handle, const NetworkSettings* settings) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || settings == nullptr) return RC_FAILED;
    return Guarded(
        [&] { return devicelib::ApplyNetworkSettingsThroughAdapters(*device, *settings); });
}

DEVICELIB_API int32_t SetChannel(DeviceHandle handle, const void* tuning) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || tuning == nullptr) return RC_FAILED;
    return Guarded([&] { return device->Tune(tuning); });
}

DEVICELIB_API int32_t SetPidList(DeviceHandle handle, void* list) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || list == nullptr) return RC_FAILED;
    return Guarded([&]() -> int32_t {
        const bool pes = IsPesType(device->TypeCode());
        uint16_t pids[MAX_PIDS];
        int32_t count;
        if (pes) {
            auto* record = static_cast<TrevanPidListRecord*>(list);
            count = record->count;
            std::memcpy(pids, record->pid, sizeof pids);
        } else {
            auto* record = static_cast<PidListRecord*>(list);
            count = record->count;
            std::memcpy(pids, record->pid, sizeof pids);
        }
        const bool valid = PidListIsValid(pids, count);
        // Unused entries are cleared in the caller's record even when the
        // list is then refused.
        if (count >= 0 && count < MAX_PIDS) {
            for (int i = count; i < MAX_PIDS; ++i) {
                if (pes)
                    static_cast<TrevanPidListRecord*>(list)->pid[i] = NULL_PID;
                else
                    static_cast<PidListRecord*>(list)->pid[i] = NULL_PID;
            }
        }
        // A count outside 0 to 32 would otherwise go out as an empty table.
        if (!valid || count < 0 || count > MAX_PIDS) return ERR_PID_LIST;
        return device->WritePidTable(list);
    });
}

DEVICELIB_API int32_t GetPidList(DeviceHandle handle, void* list) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || list == nullptr) return RC_FAILED;
    return Guarded([&] { return device->ReadPidTable(list); });
}

DEVICELIB_API int32_t GetDeviceStatus(DeviceHandle handle, void* record) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || record == nullptr) return RC_FAILED;
    return Guarded([&]() -> int32_t {
        if (device->WaitFreshStatus(2000) != 0) return RC_FAILED;
        if (device->GetStatusRecord(record) != 0) return RC_FAILED;
        return 0;
    });
}

DEVICELIB_API int32_t ResetDevice(DeviceHandle handle) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr) return RC_FAILED;
    return Guarded([&] { return device->Reset(); });
}

DEVICELIB_API int32_t FindFreeStatusPort(uint16_t* port) {
    if (port == nullptr) return RC_FAILED;
    return Guarded([&]() -> int32_t {
        platform::net::UdpSocket socket;
        if (!socket.Open()) return ERR_STATUS_SOCKET;
        for (uint16_t candidate : STATUS_PORTS) {
            if (socket.Bind(platform::net::ANY_ADDRESS, candidate)) {
                *port = candidate;
                return 0;
            }
        }
        return RC_FAILED;
    });
}

DEVICELIB_API int32_t GetDeviceType(DeviceHandle handle, uint16_t* type) {
    COrvelDevice* device = FromHandle(handle);
    if (device == nullptr || type == nullptr) return RC_FAILED;
    *type = device->TypeCode();
    return *type == TYPE_UNRECOGNISED ? RC_FAILED : 0;
}

}  // extern "C"
