// The size of the status record GetDeviceStatus fills for each device type.
// Header only, from the records of devicelib.h, so that the library and the
// programs on its C interface share one table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "devicelib/devicelib.h"

namespace devicelib {

// 0 for a type without a status record.
inline std::size_t StatusRecordSize(std::uint16_t type) {
    switch (type) {
        case TYPE_R40:
        case TYPE_R40_TREVAN:
            return sizeof(R40StatusRecord);
        case TYPE_T22_V3:
            return sizeof(T22V3StatusRecord);
        case TYPE_T22_V2:
            return sizeof(T22V2StatusRecord);
        case TYPE_T22CA:
            return sizeof(T22CAStatusRecord);
        case TYPE_TREVAN:
            return sizeof(TrevanStatusRecord);
        default:
            return 0;
    }
}

}  // namespace devicelib
