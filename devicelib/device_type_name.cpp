// The models' names, one table for every program that shows a type code.
#include "devicelib/devicelib.h"

extern "C" DEVICELIB_API const char* DeviceTypeName(uint16_t type) {
    switch (type) {
        case TYPE_T22_V2:
            return "T22 (2.x)";
        case TYPE_T22_V3:
            return "T22 (3.x)";
        case TYPE_R40:
            return "R40";
        case TYPE_TREVAN:
            return "Trevan";
        case TYPE_T22CA:
            return "T22CA";
        case TYPE_R40_TREVAN:
            return "R40V";
        default:
            return "unknown";
    }
}
