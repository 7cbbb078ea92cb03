// Steps every receiver command takes: read RECEIVER, find and open it,
// check a status port, stop when asked to.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/r40ctl/commands.h"
#include "tools/r40ctl/output.h"
#include "tools/r40ctl/receiver_lookup.h"
#include "tools/r40ctl/receiver_status.h"

namespace r40ctl {

// RECEIVER as a query; Failure(EXIT_USAGE) when it is none of the forms.
ReceiverQuery RequireQuery(const std::string& text);

// One of the ten status ports; Failure(EXIT_USAGE) otherwise.
std::uint16_t RequireStatusPort(const std::string& text, const char* option);

// How long to wait for the receiver: --timeout, or DEFAULT_RECEIVER_WAIT.
std::chrono::milliseconds ReceiverWait(const Context& context);

// The receiver named (recorded in the context), then open.
FoundReceiver Find(Context& context, const ReceiverQuery& query);
OpenReceiver Open(const Context& context, const FoundReceiver& found);
OpenReceiver FindAndOpen(Context& context, const ReceiverQuery& query);

// The receiver's current status: the one it was found by while that is
// fresh, else the next one it sends (ReadStatus).
std::optional<ReceiverStatus> CurrentStatus(const FoundReceiver& found,
                                            const OpenReceiver& receiver, std::int32_t* result,
                                            R40StatusRecord* r40Record = nullptr);
// The same as the model's record: 0, or the library's result.
std::int32_t CurrentRecord(const FoundReceiver& found, const OpenReceiver& receiver,
                           AnyStatusRecord* record);

// Failure with the interrupted exit code when a stop has been requested.
void StopIfRequested();

// "R40 02-5C-C1-00-00-14 at 127.0.0.20, status port 6516"
std::string DescribeReceiver(const DeviceInfo& entry);

// {"ok": true, "receiver": {...}} to which a command adds its own keys.
Json SuccessJson(const DeviceInfo& entry);

}  // namespace r40ctl
