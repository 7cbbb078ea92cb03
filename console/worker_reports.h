// What the console's workers hand to the main window inside posted
// messages. Each report owns its data; the window takes it or it is freed
// with the message.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "config/configuration_apply.h"
#include "console/device_session.h"
#include "devicelib/devicelib.h"

namespace console {

// One discovery pass.
struct DiscoveryReport {
    DeviceList list{};
    DiscoveryCounts refused{};  // heard and not listed
};

// One status read of the open device. The record is read by the type the
// device was opened as; the generation tells whether that device is still
// the open one.
struct StatusReport {
    std::uint64_t generation = 0;
    std::uint16_t type = TYPE_UNRECOGNISED;
    std::array<std::uint8_t, 256> record{};

    template <class Record>
    Record As() const {
        static_assert(sizeof(Record) <= sizeof record);
        Record typed;
        std::memcpy(&typed, record.data(), sizeof typed);
        return typed;
    }
};

// A device opened for the operator's selection; null when it could not be.
struct OpenReport {
    std::uint64_t generation = 0;
    DeviceInfo entry{};
    SharedDevice device;
};

// A configuration file created from a status record and the PID table.
struct StatusFileReport {
    std::string path;
    config::CreateFromStatusResult result;
};

// The size of the status record polled for a device type; 0 for the types
// that are not polled.
std::size_t PolledRecordSize(std::uint16_t type);

}  // namespace console
