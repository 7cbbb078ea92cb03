// What a receiver can be given: the one judgement of network settings and
// PID lists that every caller shares. The entry points refuse what fails it
// before anything is sent; the C interface offers it to the dialogs, the
// configuration file's apply and r40ctl as CheckNetworkSettings and
// CheckPidList, so that each refuses the same values with the same code.
#pragma once

#include <cstdint>

#include "devicelib/devicelib.h"

namespace devicelib {

// The lowest PID a caller may pass: 0 to 31 are the transport stream's own
// tables (PAT, CAT, NIT, SDT ...), never a programme's.
inline constexpr std::uint16_t LOWEST_PID = 32;
inline constexpr std::uint16_t HIGHEST_PID = NULL_PID - 1;

// 0, or the ERR_ code of the first value of `settings` a receiver cannot
// use: its address, then the mask, the gateway, the status copy address
// and the two ports.
std::int32_t CheckNetworkValues(const NetworkSettings& settings);

// 0, or the code for the first fault of the list of the form `deviceType`
// takes: its count, then its entries in order (`badEntry` gets the entry's
// index, -1 for the count).
std::int32_t CheckPidListValues(std::uint16_t deviceType, const void* list, std::int32_t* badEntry);

}  // namespace devicelib
