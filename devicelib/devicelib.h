/*
 * libdevicelib: the console's road to the R40 and T22 receivers.
 *
 * Plain C interface: packed records owned by the caller, an opaque device
 * handle, signed 32-bit result codes (0 is success). Every entry point blocks
 * until its network exchange is over; call them from a worker thread. One
 * handle is used by one thread at a time.
 */
#ifndef DEVICELIB_DEVICELIB_H
#define DEVICELIB_DEVICELIB_H

#include <stdint.h>

#if defined(_WIN32) && defined(DEVICELIB_BUILDING)
#define DEVICELIB_API __declspec(dllexport)
#elif defined(_WIN32)
#define DEVICELIB_API __declspec(dllimport)
#else
#define DEVICELIB_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- device type codes ------------------------------------------------- */
#define TYPE_NONE 0         /* discovery listener that has identified nothing */
#define TYPE_UNRECOGNISED 1 /* unrecognised datagram, or object not attached */
#define TYPE_T22_V2 3
#define TYPE_T22_V3 4
#define TYPE_R40 5
#define TYPE_TREVAN 6
#define TYPE_T22CA 7
#define TYPE_R40_TREVAN 8

/* ---- result codes ------------------------------------------------------ */
#define RC_OK 0
#define RC_FAILED (-1)
#define RC_NOT_LISTENING (-10)
#define ERR_TABLE_SOCKET 0x1001
#define ERR_TABLE_CONNECT 0x1002
#define ERR_TABLE_SEND 0x1003
#define ERR_TABLE_RECEIVE 0x1005
#define ERR_TABLE_REPLY_LENGTH 0x1007
#define ERR_CA_SOCKET 0x1011
#define ERR_CA_CONNECT 0x1012
#define ERR_CA_SEND 0x1013
#define ERR_CA_RECEIVE 0x1015
#define ERR_ECHO_SOCKET 0x2001
#define ERR_ECHO_CONNECT 0x2002
#define ERR_ECHO_SEND 0x2003
#define ERR_ECHO_RECEIVE 0x2005
#define ERR_ECHO_TIMEOUT 0x2006
#define ERR_ECHO_MISMATCH 0x2007
#define ERR_NET_HOST_PART_ZERO 0x2030
#define ERR_STATUS_SOCKET 0x3001
#define ERR_STATUS_TIMEOUT 0x3006
#define ERR_STATUS_PORT_INVALID 0x4001
#define ERR_LISTENER_CLOSED 0x4002
#define ERR_NO_STATUS_BUFFER 0x4005
#define ERR_NET_NOT_ATTACHED 0x4006
#define ERR_NET_NOT_CONFIRMED 0x4007
#define ERR_PID_LIST 0x400C
#define ERR_TUNE_NOT_ATTACHED 0x400D
#define ERR_TUNE_NOT_CONFIRMED 0x400F
#define ERR_ROUTE_NO_ADDRESS 0x4010
#define ERR_RESET_NOT_ATTACHED 0x4012
#define ERR_CA_NOT_CONFIRMED 0x4020
#define ERR_PORT_NOT_IN_TABLE 0x402F
#define ERR_ALREADY_ATTACHED 0x5000
#define ERR_FOREIGN_MAC 0x5001
#define RC_ATTACHED 0x5004 /* success code, never leaves the library */
#define ERR_ADAPTER_NOT_FOUND 0x5005
#define RC_ROUTE_CREATED 0x5006 /* success code, never leaves the library */
#define ERR_TYPE_MISMATCH 0x5007
#define ERR_STATUS_TYPE_MISMATCH 0x5008
#define ERR_BAD_TYPE 0x5009
#define ERR_PID_LIST_TOO_LONG 0x500B
#define ERR_CA_LIST_TOO_LONG 0x500D
#define ERR_LISTENER_NO_BUFFER 0x6000
#define RC_LISTENER_OPEN 0x6001 /* success code, never leaves the library */
#define ERR_LISTENER_NOT_OPEN 0x6002
#define ERR_ROUTE_NO_LOCAL_ADDRESS 0x6006

/* ---- status ports ------------------------------------------------------ */
#define STATUS_PORT_COUNT 10
/* The ten UDP ports on which receivers send status, in table order:
 * 6516, 8309, 8565, 8821, 9077, 9333, 13429, 17525, 17781, 18037. */
DEVICELIB_API extern const uint16_t STATUS_PORTS[STATUS_PORT_COUNT];

#define MAX_DEVICES 64
#define MAX_PIDS 32
#define NULL_PID 0x1FFF

#pragma pack(push, 1)

/* One discovered device. Address first octet first; integers in host order. */
typedef struct DeviceInfo {
    uint8_t address[4];
    uint8_t mac[6];
    uint16_t statusPort;
    uint16_t deviceType;
} DeviceInfo;

typedef struct DeviceList {
    uint16_t count;
    DeviceInfo entries[MAX_DEVICES];
} DeviceList;

/* What SetNetworkSettings sends. Addresses first octet first, ports in host order. */
typedef struct NetworkSettings {
    uint8_t unicastStatusAddress[4]; /* 255.255.255.255 disables the unicast copy */
    uint8_t subnetMask[4];
    uint8_t defaultGateway[4];
    uint16_t statusPort; /* reported back in the device's status; one of STATUS_PORTS */
    uint8_t deviceAddress[4];
    uint16_t listenPort; /* where the library listens after the change; one of STATUS_PORTS */
    uint8_t useIgmp;     /* 1 or 0 */
    uint8_t reserved;
} NetworkSettings;

/* A PID list, standard form. 0x1FFF marks an empty entry. */
typedef struct PidListRecord {
    uint16_t pid[MAX_PIDS];
    uint8_t control[MAX_PIDS];
    int32_t count;
} PidListRecord;

/* A UDP destination: address first octet first, port in host order. */
typedef struct PidDestination {
    uint8_t address[4];
    uint16_t port;
} PidDestination;

/* A PID list, forwarding form: a UDP destination per PID. */
typedef struct TrevanPidListRecord {
    uint16_t pid[MAX_PIDS];
    PidDestination destination[MAX_PIDS];
    uint8_t control[MAX_PIDS];
    int32_t count;
} TrevanPidListRecord;

/* Tuning argument of the satellite models, host order. */
typedef struct SatelliteTuning {
    float frequency;   /* sent in tenths */
    float symbolRate;  /* sent in thousandths */
    int32_t tuneOption0; /* option bit 0 when not 0 */
    int32_t tuneOption2; /* option bit 2 when equal to 1 */
    int32_t tuneOption1; /* option bit 1 when equal to 1 */
    uint8_t tuneOption3; /* option bit 3 when not 0 (not sent by the T22 2.x) */
    uint8_t tuneOption4; /* option bit 4 when not 0 (not sent by the T22 2.x) */
} SatelliteTuning;

/* Conditional-access table of the T22CA, host order. */
typedef struct CaTableRecord {
    uint16_t caValue[MAX_PIDS];
    PidDestination destination[MAX_PIDS];
    uint32_t caCount; /* at most 16 */
} CaTableRecord;

#pragma pack(pop)

/* Opaque device handle; NULL means no device. */
typedef struct DeviceHandleTag* DeviceHandle;

/* ---- entry points ------------------------------------------------------ */

/* Opens the device of a discovered entry and waits up to timeoutMs for its
 * first status. Returns the handle, or NULL with the reason in *result. */
DEVICELIB_API DeviceHandle OpenDevice(const DeviceInfo* entry, int timeoutMs, int32_t* result);

/* Closes the listener and frees the device. Accepts NULL. Returns 0. */
DEVICELIB_API int32_t CloseDevice(DeviceHandle device);

/* Stores the device's type code (1 when not attached); -1 when that is 1. */
DEVICELIB_API int32_t GetDeviceType(DeviceHandle device, uint16_t* type);

/* Stores the first of STATUS_PORTS this workstation can bind. */
DEVICELIB_API int32_t FindFreeStatusPort(uint16_t* port);

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(DeviceInfo) == 14);
static_assert(offsetof(DeviceInfo, mac) == 4);
static_assert(offsetof(DeviceInfo, statusPort) == 10);
static_assert(offsetof(DeviceInfo, deviceType) == 12);
static_assert(sizeof(DeviceList) == 898);
static_assert(offsetof(DeviceList, entries) == 2);
static_assert(sizeof(NetworkSettings) == 22);
static_assert(offsetof(NetworkSettings, subnetMask) == 4);
static_assert(offsetof(NetworkSettings, defaultGateway) == 8);
static_assert(offsetof(NetworkSettings, statusPort) == 12);
static_assert(offsetof(NetworkSettings, deviceAddress) == 14);
static_assert(offsetof(NetworkSettings, listenPort) == 18);
static_assert(offsetof(NetworkSettings, useIgmp) == 20);
static_assert(offsetof(NetworkSettings, reserved) == 21);
static_assert(sizeof(PidListRecord) == 100);
static_assert(offsetof(PidListRecord, control) == 0x40);
static_assert(offsetof(PidListRecord, count) == 0x60);
static_assert(sizeof(PidDestination) == 6);
static_assert(sizeof(TrevanPidListRecord) == 292);
static_assert(offsetof(TrevanPidListRecord, destination) == 0x40);
static_assert(offsetof(TrevanPidListRecord, control) == 0x100);
static_assert(offsetof(TrevanPidListRecord, count) == 0x120);
static_assert(sizeof(SatelliteTuning) == 22);
static_assert(offsetof(SatelliteTuning, symbolRate) == 4);
static_assert(offsetof(SatelliteTuning, tuneOption0) == 8);
static_assert(offsetof(SatelliteTuning, tuneOption2) == 12);
static_assert(offsetof(SatelliteTuning, tuneOption1) == 16);
static_assert(offsetof(SatelliteTuning, tuneOption3) == 20);
static_assert(offsetof(SatelliteTuning, tuneOption4) == 21);
static_assert(sizeof(CaTableRecord) == 0x104);
static_assert(offsetof(CaTableRecord, destination) == 0x40);
static_assert(offsetof(CaTableRecord, caCount) == 0x100);
#endif

#endif /* DEVICELIB_DEVICELIB_H */
