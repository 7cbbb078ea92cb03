// The version compiled into the library, which a program compares with
// the header it was compiled against.
#include "devicelib/devicelib.h"

extern "C" DEVICELIB_API int32_t DeviceLibraryVersion(void) {
    return DEVICELIB_VERSION;
}
