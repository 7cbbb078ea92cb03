#include "console/start_values_read.h"

#include <array>

#include "console/console_messages.h"

namespace console {

namespace window = platform::window;

namespace {

std::int32_t ReadInto(StartValuesRead& read, DeviceSession& device) {
    const std::uint16_t type = device.Type();
    if (read.wantStatus) {
        std::array<std::uint8_t, 256> record{};
        if (devicelib::StatusRecordSize(type) == 0) return RC_FAILED;
        const std::int32_t rc =
            device.Use([&](DeviceHandle h) { return GetDeviceStatus(h, record.data()); });
        if (rc != 0) return rc;
        read.state = ReceiverStateFrom(type, record);
        if (!read.state) return RC_FAILED;
    }
    if (read.wantPidList) {
        read.pidList = config::EmptyPidListFor(type);
        const std::int32_t rc = device.Use([&](DeviceHandle h) {
            return std::visit([h](auto& list) { return GetPidList(h, &list); }, read.pidList);
        });
        if (rc != 0) return rc;
    }
    return 0;
}

}  // namespace

void StartValuesWorker(std::shared_ptr<StartValuesRead> read, SharedDevice device,
                       std::shared_ptr<std::atomic<bool>> running, window::WindowHandle menu) {
    auto done = std::make_unique<StartValuesRead>(*read);
    done->result = device ? ReadInto(*done, *device) : RC_FAILED;
    device.reset();  // the session goes with the worker, not with the menu
    const auto kind = static_cast<std::uintptr_t>(done->kind);
    window::PostMessage(menu, WM_START_VALUES_READ, kind, 0, std::move(done));
    *running = false;
}

}  // namespace console
