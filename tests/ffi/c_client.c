/* A plain C program driving an emulated receiver through libdevicelib:
 * proof that the header is C and the entry points have C linkage.
 * Usage: c_client ADDRESS (an R40 sending to 6516) */
#include <stdio.h>
#include <string.h>

#include "devicelib/devicelib.h"

static int fail(const char* what, int code) {
    fprintf(stderr, "c_client: %s (%d)\n", what, code);
    return 1;
}

int main(void) {
    if (strcmp(DeviceResultText(0x7777), "unknown result code") != 0 ||
        strstr(DeviceResultText(ERR_ECHO_TIMEOUT), "echo") == NULL)
        return fail("DeviceResultText", 0);

    /* The library loaded is at least the header's version, and names models
     * by the table every program shares. */
    if (DeviceLibraryVersion() < DEVICELIB_VERSION || DEVICELIB_VERSION != 0x010200)
        return fail("DeviceLibraryVersion", DeviceLibraryVersion());
    if (strcmp(DeviceTypeName(TYPE_R40_TREVAN), "R40V") != 0 ||
        strcmp(DeviceTypeName(TYPE_T22_V3), "T22 (3.x)") != 0 ||
        strcmp(DeviceTypeName(2), "unknown") != 0)
        return fail("DeviceTypeName", 0);

    uint16_t port = 0;
    int32_t rc = FindFreeStatusPort(&port);
    if (rc != 0 || port != STATUS_PORTS[0]) return fail("FindFreeStatusPort", rc);

    DeviceList list;
    memset(&list, 0, sizeof list);
    if (DiscoverDevices(&list) != 1) return fail("DiscoverDevices", -1);
    int r40 = -1;
    for (int i = 0; i < list.count; ++i)
        if (list.entries[i].deviceType == TYPE_R40) r40 = i;
    if (r40 < 0) return fail("no R40 discovered", list.count);

    int32_t result = -99;
    DeviceHandle device = OpenDevice(&list.entries[r40], 3000, &result);
    if (device == NULL) return fail("OpenDevice", result);

    /* A status that is not the receiver's own (its MAC address changed) is
     * no first status for OpenDeviceWithStatus. */
    DeviceInfo entry = list.entries[r40];
    uint8_t forged[138];
    memset(forged, 0, sizeof forged);
    forged[0x20] = 0x43; /* the R40's model code */
    memcpy(forged + 0x30, entry.mac, 6);
    forged[0x35] ^= 1;
    result = -99;
    if (OpenDeviceWithStatus(&entry, forged, sizeof forged, &result) != NULL || result != RC_FAILED)
        return fail("OpenDeviceWithStatus took a forged status", result);

    uint16_t type = 0;
    rc = GetDeviceType(device, &type);
    if (rc != 0 || type != TYPE_R40) return fail("GetDeviceType", type);

    R40StatusRecord status;
    rc = GetDeviceStatus(device, &status);
    if (rc != 0) return fail("GetDeviceStatus", rc);

    uint16_t channel = 33;
    rc = SetChannel(device, &channel);
    if (rc != 0) return fail("SetChannel", rc);

    printf("c_client: R40 at %u.%u.%u.%u type %u channel %u snr %.2f dB\n",
           list.entries[r40].address[0], list.entries[r40].address[1], list.entries[r40].address[2],
           list.entries[r40].address[3], type, status.channel, status.snr);
    CloseDevice(device);
    return 0;
}
