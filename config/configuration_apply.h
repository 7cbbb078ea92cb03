// A configuration file and a receiver, in both directions, on the device
// library's C interface:
//
// - LoadAndApply sends a file's network settings, channel and PID list to an
//   open receiver, stage by stage, as the load/save dialog does for "load a
//   configuration file and apply all settings";
// - CreateConfigurationFromStatus writes a file from an R40 or R40V status
//   and the receiver's PID table, as the console's "create a configuration
//   file from the current device status" does.
//
// Both block for as long as the library's exchanges take (up to about half a
// minute for a full apply): call them from a worker thread. The device
// handle is used by the calling thread only while they run. A caller that
// shares the handle with other threads gives a DeviceCaller instead, through
// which every library call on the device goes (the console holds its device
// session's lock for each call, never across the pauses between them).
//
// The PID list always reaches the library in the form the device type takes:
// the form with destinations (TrevanPidListRecord) for types 6, 7 and 8, the
// standard form (PidListRecord) for 3, 4 and 5, every entry with control 1.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/file_owner.h"
#include "devicelib/devicelib.h"

namespace config {

// The stages of an apply, numbered as the load/save dialog's worker posts them.
enum class ApplyStage : int {
    File = -1,    // loading the file
    Network = 0,  // network settings
    Channel = 1,  // RF channel
    PidList = 2,  // the PID list (the dialog's "content")
};

// Why a stage failed, numbered as the worker posts them.
inline constexpr int REASON_NOT_IN_FILE = -2;  // the setting is missing or invalid in the file
inline constexpr int REASON_SEND_FAILED = -1;  // the file could not be loaded, or the send failed
// The model takes no such setting: the satellite models tune by frequency
// and symbol rate, not by RF channel. Nothing is sent.
inline constexpr int REASON_NOT_FOR_MODEL = -3;
// The file was made from another receiver (its MAC bytes say so): its
// network settings are that receiver's identity and are not sent; the
// apply goes on with the channel and the PID list.
inline constexpr int REASON_OTHER_RECEIVER = -4;

// One library call on the device, given its handle; returns the result code.
using DeviceCall = std::function<std::int32_t(DeviceHandle device)>;
// Runs one call on the device and returns its result.
using DeviceCaller = std::function<std::int32_t(const DeviceCall& call)>;

struct StageOutcome {
    ApplyStage stage = ApplyStage::File;
    bool succeeded = false;
    int reason = 0;           // REASON_ when it failed, 0 when it succeeded
    std::int32_t result = 0;  // the library's result code of a failed send, else 0
    ReceiverKey fileKey{};    // for REASON_OTHER_RECEIVER: whose file it is
    // Skipped on purpose (another model's setting, another receiver's
    // network identity), not failed: the apply went on.
    bool Skipped() const {
        return reason == REASON_NOT_FOR_MODEL || reason == REASON_OTHER_RECEIVER;
    }
    // For a value in the file no receiver can take: the element and the
    // value, for a person (config/values_to_send.h); else empty.
    std::string detail;
};

struct ApplyOptions {
    // Both ports of the network settings: where the receiver is to send its
    // status and where the library listens for it afterwards.
    std::uint16_t statusPort = 0;
    // Waited before the channel and before the PID list go out, so that a
    // receiver that has just changed its address settles first.
    std::chrono::milliseconds pause{1000};
    // When not empty: after the network settings and the PID list have
    // applied, the loaded file is saved under this name, as the console
    // replaces its last-used file. Empty: no file is written.
    std::string lastUsedFile;
    // Called on the calling thread as each stage ends, in stage order.
    std::function<void(const StageOutcome&)> onStage;
    // The receiver applied to, by its key. A file whose MAC bytes name
    // another receiver has its network settings skipped (REASON_OTHER_RECEIVER)
    // unless networkOfOtherReceiver is set; unset: no such check, a file
    // applies whole.
    std::optional<ReceiverKey> receiver;
    bool networkOfOtherReceiver = false;
    // Asked before each stage sends and during the pauses: true ends the
    // apply there, so nothing more is sent (an exchange already on its way
    // ends first). Empty: the apply runs to its end.
    std::function<bool()> stopRequested;
};

struct ApplyResult {
    std::vector<StageOutcome> stages;  // every stage that ended, in order
    bool lastUsedReplaced = false;     // lastUsedFile was written (only after the
                                       // network settings and PID list applied)
    bool stopped = false;              // stopRequested ended it before a stage was sent
    bool AllApplied() const;           // network, channel and PID list all succeeded
};

// Loads `fileName` and applies it to `device`:
//  -1 the file: a file that cannot be loaded ends the apply; so does a value
//     that would be sent but no receiver can take (CheckValuesToSend), which
//     is reported at its stage as not in the file, with the detail, before
//     anything is sent;
//   0 network settings: five settings read (any missing ends the apply);
//     skipped for a file of another receiver; else SetNetworkSettings, a
//     failure ends the apply;
//   1 tuning: for the R40 and R40V the file's RF channel (missing or
//     outside 2 to 69: reported, skipped), for the satellite models its
//     SatelliteTuning (missing: reported as not for the model, skipped);
//     otherwise a pause, then SetChannel; a failure is reported and the
//     apply goes on;
//   2 PID list: read in the device type's form (missing: the apply ends),
//     a pause, then SetPidList.
ApplyResult LoadAndApply(DeviceHandle device, const std::string& fileName,
                         const ApplyOptions& options);
ApplyResult LoadAndApply(const DeviceCaller& device, const std::string& fileName,
                         const ApplyOptions& options);

enum class CreateFromStatusError {
    None,
    NotAnR40,           // the device is neither an R40 nor an R40V: its status has no channel
    PidListUnreadable,  // GetPidList failed (result in `result`); no file was touched
    FileNotCreated,     // the file cannot be read as a configuration, or is far too large
    FileNotWritten,     // the file cannot be saved; it is as it was
};

struct CreateFromStatusResult {
    CreateFromStatusError error = CreateFromStatusError::None;
    std::int32_t result = 0;  // the library's result code for PidListUnreadable
};

// Writes a configuration file from an R40 or R40V status record and the
// receiver's PID table (read first, so that a receiver that does not answer
// leaves the file alone): MAC bytes, gateway, address, mask, status copy
// address, IGMP, channel and the PID list, in this order, saved in one
// replacement of the file. An existing configuration file keeps its other
// elements.
CreateFromStatusResult CreateConfigurationFromStatus(DeviceHandle device,
                                                     const R40StatusRecord& status,
                                                     const std::string& fileName);
CreateFromStatusResult CreateConfigurationFromStatus(const DeviceCaller& device,
                                                     const R40StatusRecord& status,
                                                     const std::string& fileName);

}  // namespace config
