#pragma once

#include "devicelib/orvel_device.h"

namespace devicelib {

// Tries the settings through each local IPv4 address, adapters in order,
// with a temporary route to the device for each attempt; stops at the first
// success. 0, the last attempt's failure, or ERR_ADAPTER_NOT_FOUND when no
// attempt could be made.
std::int32_t ApplyNetworkSettingsThroughAdapters(COrvelDevice& device,
                                                 const NetworkSettings& settings);

}  // namespace devicelib
