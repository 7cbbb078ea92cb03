// A receiver's status, read through the library and decoded from the
// model's record into one shape for every model. Fields a model does not
// report are empty.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "devicelib/devicelib.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

// Room for the status record of any model.
union AnyStatusRecord {
    R40StatusRecord r40;
    T22V3StatusRecord t22v3;
    T22V2StatusRecord t22v2;
    T22CAStatusRecord t22ca;
    TrevanStatusRecord trevan;
};

struct PidLine {
    std::uint16_t pid = NULL_PID;
    std::uint8_t control = 0;
    std::optional<PidDestination> destination;  // forwarding models only
};

struct SatelliteTuningShown {
    double frequencyMhz = 0;
    double symbolRateMsps = 0;
    unsigned options = 0;  // tuning option bits 0 to 4 (0 to 2 on the T22 2.x)
};

struct ReceiverStatus {
    std::uint16_t type = TYPE_UNRECOGNISED;
    unsigned firmwareMajor = 0, firmwareMinor = 0;
    bool locked = false;
    std::uint16_t dataActivity = 0;  // above 0 while data flows
    Ipv4 address{}, mask{}, gateway{}, statusCopy{};
    std::uint16_t statusPort = 0;  // as the receiver reports it
    Mac mac{};
    std::optional<std::uint16_t> channel;           // ATSC models
    std::optional<SatelliteTuningShown> satellite;  // satellite models
    std::optional<double> snrDb;                    // ATSC models
    std::optional<double> carrierOffsetHz;          // ATSC models
    std::optional<unsigned> signalPercent;          // satellite models, 0 to 100
    std::optional<bool> igmp;                       // models that report it
    std::vector<PidLine> pids;
};

// The decoded record of a device of `type` (any of the five layouts).
ReceiverStatus DecodeStatus(std::uint16_t type, const void* record);

// The PID list of a list record in the form `type` takes.
std::vector<PidLine> PidLines(std::uint16_t type, const void* list);

// The receiver's current status (GetDeviceStatus) and, for the forwarding
// models, its PID table with destinations (GetPidList). Nullopt with the
// library's result in `result` when either fails. Also fills `r40Record`
// with the raw record when the device is an R40 or R40V.
std::optional<ReceiverStatus> ReadStatus(DeviceHandle device, std::uint16_t type,
                                         std::int32_t* result,
                                         R40StatusRecord* r40Record = nullptr);

// ReadStatus for a record already in hand (a status heard): only the
// forwarding models' PID table is read from the device.
std::optional<ReceiverStatus> CompleteStatus(DeviceHandle device, std::uint16_t type,
                                             const AnyStatusRecord& record, std::int32_t* result,
                                             R40StatusRecord* r40Record = nullptr);

// The status as a JSON object (keys in r40ctl.1) and as aligned fields.
Json StatusJson(const ReceiverStatus& status);
Fields StatusFields(const ReceiverStatus& status);
Json PidsJson(const std::vector<PidLine>& pids);
std::vector<std::vector<std::string>> PidRows(const std::vector<PidLine>& pids);

}  // namespace r40ctl
