// What a receiver can be given: the one judgement of network settings and
// PID lists that every caller shares. The entry points refuse what fails it
// before anything is sent; the C interface offers it to the dialogs, the
// configuration file's apply and r40ctl as CheckNetworkSettings and
// CheckPidList, so that each refuses the same values with the same code.
#pragma once

#include <cstdint>

#include "devicelib/devicelib.h"

namespace devicelib {

// The highest PID an entry may hold; 0x1FFF (NULL_PID) marks an empty one.
// The tables of the transport stream itself (PAT, CAT, SDT ...) are PIDs
// too: receivers pass them, and their tables and saved files hold them.
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
