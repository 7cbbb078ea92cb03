#pragma once

#include "devicelib/devicelib.h"

namespace devicelib {

// One discovery pass into the caller's list (about two seconds or more).
void Discover(DeviceList& list);

}  // namespace devicelib
