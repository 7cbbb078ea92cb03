/* The header as a strict C11 compiler takes it: built with -std=c11
 * -pedantic -Werror, its layout checks (_Static_assert) included, so a
 * record that lays out differently in C fails the build. */
#include "devicelib/devicelib.h"

#if !defined(__STDC_VERSION__) || __STDC_VERSION__ < 201112L
#error "compile this file as C11"
#endif

/* The entry points are declared, with C linkage and C types. */
int devicelib_c11_header_check(void);
int devicelib_c11_header_check(void) {
    return DeviceLibraryVersion() >= DEVICELIB_VERSION && DeviceTypeName(TYPE_R40) != NULL;
}
