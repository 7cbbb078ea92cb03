/*
 * libdevicelib: the console's road to the R40 and T22 receivers.
 *
 * Plain C interface: packed records owned by the caller, an opaque device
 * handle, signed 32-bit result codes (0 is success). Every entry point blocks
 * until its network exchange is over; call them from a worker thread.
 *
 * Use one handle from one thread at a time. Calls on one handle that overlap
 * anyway are not fatal: the library runs them one after another, and
 * CloseDevice waits for a call in progress. A handle that is closed, stale
 * or was never made by OpenDevice is never dereferenced: every entry point
 * gives RC_FAILED for it.
 */
#ifndef DEVICELIB_DEVICELIB_H
#define DEVICELIB_DEVICELIB_H

#include <stddef.h>
#include <stdint.h>

/* The version of this header: the interface a program was compiled against.
 * DeviceLibraryVersion() gives the library's own at run time; a program
 * that needs an entry point added in a minor version checks both. The
 * minor version goes up with every entry point added, the major version
 * (and the SONAME) only with a change that breaks existing callers. */
#define DEVICELIB_VERSION_MAJOR 1
#define DEVICELIB_VERSION_MINOR 2
#define DEVICELIB_VERSION_PATCH 0
/* 0xMMmmpp: one number that compares in order, 0x010200 for 1.2.0. */
#define DEVICELIB_VERSION \
    ((DEVICELIB_VERSION_MAJOR << 16) | (DEVICELIB_VERSION_MINOR << 8) | DEVICELIB_VERSION_PATCH)

/* On Windows: exported by devicelib.dll, imported by its callers; a program
 * linked with the static library (tests) defines DEVICELIB_STATIC. */
#if defined(_WIN32) && defined(DEVICELIB_BUILDING)
#define DEVICELIB_API __declspec(dllexport)
#elif defined(_WIN32) && defined(DEVICELIB_STATIC)
#define DEVICELIB_API
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

/* ---- result codes ------------------------------------------------------ *
 * Signed 32-bit; 0 is success. The failures are grouped by their high
 * hexadecimal digit, after the step that failed. DeviceResultText gives a
 * sentence for each. */
#define RC_OK 0
#define RC_FAILED (-1) /* no fresh or valid status, no free port, or a bad handle */

/* 0x1000: the PID table exchange (port 6519). */
#define ERR_TABLE_SOCKET 0x1001
#define ERR_TABLE_CONNECT 0x1002
#define ERR_TABLE_SEND 0x1003
#define ERR_TABLE_RECEIVE 0x1005      /* receive error, or no reply within 1 second */
#define ERR_TABLE_REPLY_LENGTH 0x1007 /* a reply of the wrong length */

/* 0x2000: echoed commands (tuning, network settings, reset) and the new
 * network settings themselves. */
#define ERR_ECHO_SOCKET 0x2001
#define ERR_ECHO_CONNECT 0x2002
#define ERR_ECHO_SEND 0x2003
#define ERR_ECHO_RECEIVE 0x2005
#define ERR_ECHO_TIMEOUT 0x2006       /* no echo within 1 second, or one of the wrong length */
#define ERR_ECHO_MISMATCH 0x2007      /* the echo differs from the command */
#define ERR_NET_HOST_PART_ZERO 0x2030 /* the new address has no bit outside the mask */
/* Network settings no receiver can use (CheckNetworkSettings). */
#define ERR_NET_ADDRESS_INVALID 0x2031 /* not a host address, or its subnet's broadcast */
#define ERR_NET_MASK_INVALID 0x2032 /* ones not contiguous from the top, or under two host bits */
#define ERR_NET_GATEWAY_INVALID 0x2033     /* neither 0.0.0.0 (none) nor a host address */
#define ERR_NET_STATUS_COPY_INVALID 0x2034 /* neither 255.255.255.255 (none) nor a host address */

/* 0x3000: the status socket. */
#define ERR_STATUS_SOCKET 0x3001  /* cannot be created or bound */
#define ERR_STATUS_TIMEOUT 0x3006 /* no acceptable status in time */

/* 0x4000: an operation refused, or not confirmed by the receiver's status. */
#define ERR_STATUS_PORT_INVALID 0x4001 /* status port 0 */
#define ERR_LISTENER_CLOSED 0x4002     /* fresh status wanted while not listening */
#define ERR_NO_STATUS_BUFFER 0x4005
#define ERR_NET_NOT_ATTACHED 0x4006
#define ERR_NET_NOT_CONFIRMED 0x4007
/* A PID above 0x1FFF or twice, a negative count, or the read-back differs. */
#define ERR_PID_LIST 0x400C
/* A forwarding entry with a control value above 7, or a destination that is
 * neither 0.0.0.0 port 0 (none) nor a host or multicast address with a port. */
#define ERR_PID_FORWARDING 0x400E
#define ERR_TUNE_NOT_ATTACHED 0x400D
#define ERR_TUNE_NOT_CONFIRMED 0x400F
#define ERR_ROUTE_NO_ADDRESS 0x4010 /* neither address nor MAC address known */
/* A satellite frequency or symbol rate that does not round to 1 to 65535
 * tenths of a MHz or thousandths of a Msym/s (0.1 to 6553.5 MHz, 0.001 to
 * 65.535 Msym/s), or is no number: nothing is sent. */
#define ERR_TUNE_OUT_OF_RANGE 0x4011
#define ERR_RESET_NOT_ATTACHED 0x4012
#define ERR_PORT_NOT_IN_TABLE 0x402F /* a network settings port not in STATUS_PORTS */

/* 0x5000: attach, device type and list length checks. */
#define ERR_ALREADY_ATTACHED 0x5000
#define ERR_FOREIGN_MAC 0x5001       /* the MAC address does not begin 02-5C-C1 */
#define ERR_ADAPTER_NOT_FOUND 0x5005 /* no adapter list, or none with the local address */
#define ERR_TYPE_MISMATCH 0x5007     /* the entry's type is not the object's */
#define ERR_STATUS_TYPE_MISMATCH 0x5008
#define ERR_BAD_TYPE 0x5009          /* OpenDevice with a type outside 3 to 8 */
#define ERR_PID_LIST_TOO_LONG 0x500B /* more PIDs than the table holds (SetPidList: above 32) */

/* 0x6000: status listener and route set-up. */
#define ERR_LISTENER_NO_BUFFER 0x6000
#define ERR_LISTENER_NOT_OPEN 0x6002
#define ERR_ROUTE_NO_LOCAL_ADDRESS 0x6006
/* Network settings for a receiver outside the workstation's subnets reached
 * nobody, and the workstation had refused the temporary route or neighbour
 * entry to it: changing them needs administrator rights (Windows) or
 * CAP_NET_ADMIN (Linux). */
#define ERR_ROUTE_REFUSED 0x6007

/* ---- status ports ------------------------------------------------------ */
#define STATUS_PORT_COUNT 10
/* The ten UDP ports on which receivers send status, in table order:
 * 6516, 8309, 8565, 8821, 9077, 9333, 13429, 17525, 17781, 18037. */
DEVICELIB_API extern const uint16_t STATUS_PORTS[STATUS_PORT_COUNT];

#define MAX_DEVICES 64
/* Discovery lists at most this many MAC addresses heard from one source
 * address (loopback sources excepted): a receiver's address is the source
 * of its datagrams, so one host claiming many is spoofing them. */
#define MAX_MACS_PER_SOURCE 4
#define MAX_PIDS 32
#define NULL_PID 0x1FFF

/* The record layouts are tables: keep their columns. */
/* clang-format off */
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

/* What a discovery pass heard and did not list, counted in datagrams. */
typedef struct DiscoveryCounts {
    uint32_t sourceLimit; /* a new MAC address from a source with MAX_MACS_PER_SOURCE listed */
    uint32_t listFull;    /* a new MAC address while the list was full */
    uint32_t displaced;   /* newcomers that gave their place to a receiver the caller knew */
} DiscoveryCounts;

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

/* ---- status records --------------------------------------------------- *
 * The decoded form of a receiver's last status, one layout per model.
 * Integers and floats in host order, addresses and MAC addresses first byte
 * first. Bytes named reserved are never written. */

/* R40 and R40V (types 5 and 8), 248 bytes. */
typedef struct R40StatusRecord {
    uint8_t versionMajor;            /* 0x00 */
    uint8_t versionMinor;            /* 0x01 */
    uint16_t word38;                 /* 0x02 */
    uint8_t igmpOn;                  /* 0x04: 1 while the receiver uses IGMP */
    uint8_t deviceAddress[4];        /* 0x05 */
    uint8_t unicastStatusAddress[4]; /* 0x09 */
    uint8_t subnetMask[4];           /* 0x0D */
    uint8_t defaultGateway[4];       /* 0x11 */
    uint8_t reserved15;
    uint16_t statusPort;             /* 0x16 */
    uint8_t mac[6];                  /* 0x18 */
    uint8_t modeFlag;                /* 0x1E */
    uint8_t reserved1F;
    uint16_t channel;                /* 0x20 */
    uint8_t receiverFlags;           /* 0x22 */
    uint8_t modulation;              /* 0x23: 8, 16 or 0 */
    uint8_t byte3E;                  /* 0x24 */
    uint8_t byte3F;                  /* 0x25 */
    uint8_t reserved26[2];
    float snrB;                      /* 0x28 */
    float snr;                       /* 0x2C: signal-to-noise ratio in dB */
    float carrierOffset;             /* 0x30: Hz */
    float value46;                   /* 0x34 */
    float value48;                   /* 0x38 */
    uint16_t word4A;                 /* 0x3C */
    uint16_t word4C;                 /* 0x3E */
    uint16_t word4E;                 /* 0x40 */
    uint8_t lock;                    /* 0x42 */
    uint8_t flagBit1;                /* 0x43 */
    uint8_t flagBits2to3;            /* 0x44 */
    uint8_t snrLowFlag;              /* 0x45 */
    uint8_t flagBit7;                /* 0x46 */
    uint8_t reserved47;
    PidListRecord pids;              /* 0x48 */
    uint8_t reservedAC[20];
    uint8_t dvbMac[6];               /* 0xC0 */
    uint8_t headBlock[32];           /* 0xC6 */
    uint16_t dataActivity;           /* 0xE6: above 0 while data flows */
    uint16_t word56;                 /* 0xE8 */
    uint16_t word5A;                 /* 0xEA */
    uint16_t word54;                 /* 0xEC */
    uint16_t words58[4];             /* 0xEE */
    uint8_t reservedF6[2];
} R40StatusRecord;

/* T22 (3.x) (type 4), 236 bytes. */
typedef struct T22V3StatusRecord {
    uint8_t versionMajor;            /* 0x00 */
    uint8_t versionMinor;            /* 0x01 */
    uint16_t word38;                 /* 0x02 */
    uint8_t reserved04;
    uint8_t deviceAddress[4];        /* 0x05 */
    uint8_t unicastStatusAddress[4]; /* 0x09 */
    uint8_t subnetMask[4];           /* 0x0D */
    uint8_t defaultGateway[4];       /* 0x11 */
    uint8_t reserved15;
    uint16_t statusPort;             /* 0x16 */
    uint8_t mac[6];                  /* 0x18 */
    uint8_t modeFlag;                /* 0x1E */
    uint8_t reserved1F;
    float symbolRate;                /* 0x20 */
    float frequency;                 /* 0x24 */
    uint8_t tuneBit1;                /* 0x28 */
    uint8_t tuneBit2;                /* 0x29 */
    uint8_t tuneBit0;                /* 0x2A */
    uint8_t code3F;                  /* 0x2B */
    uint8_t tuneBit4;                /* 0x2C */
    uint8_t tuneBit3;                /* 0x2D */
    uint8_t signalPercent;           /* 0x2E */
    uint8_t satFlagBit0;             /* 0x2F */
    uint8_t lock;                    /* 0x30 */
    uint8_t satFlagBit2;             /* 0x31 */
    uint8_t reserved32[2];
    float scaledValue;               /* 0x34 */
    uint8_t byte46;                  /* 0x38 */
    uint8_t reserved39[3];
    PidListRecord pids;              /* 0x3C */
    uint8_t dvbMac[6];               /* 0xA0 */
    uint8_t block48[8];              /* 0xA6 */
    uint8_t reservedAE[12];
    uint8_t headBlock[32];           /* 0xBA */
    uint16_t dataActivity;           /* 0xDA */
    uint16_t word56;                 /* 0xDC */
    uint16_t word5A;                 /* 0xDE */
    uint16_t word54;                 /* 0xE0 */
    uint16_t words58[4];             /* 0xE2 */
    uint8_t reservedEA[2];
} T22V3StatusRecord;

/* T22 (2.x) (type 3), 228 bytes. */
typedef struct T22V2StatusRecord {
    uint8_t versionMajor;            /* 0x00 */
    uint8_t versionMinor;            /* 0x01 */
    uint16_t word38;                 /* 0x02 */
    uint8_t deviceAddress[4];        /* 0x04 */
    uint8_t unicastStatusAddress[4]; /* 0x08 */
    uint8_t subnetMask[4];           /* 0x0C */
    uint8_t defaultGateway[4];       /* 0x10 */
    uint16_t statusPort;             /* 0x14 */
    uint8_t mac[6];                  /* 0x16 */
    uint8_t modeFlag;                /* 0x1C */
    uint8_t reserved1D[3];
    float symbolRate;                /* 0x20 */
    float frequency;                 /* 0x24 */
    uint8_t tuneBit1;                /* 0x28 */
    uint8_t tuneBit2;                /* 0x29 */
    uint8_t tuneBit0;                /* 0x2A */
    uint8_t code3F;                  /* 0x2B */
    uint8_t signalPercent;           /* 0x2C */
    uint8_t satFlagBit0;             /* 0x2D */
    uint8_t lock;                    /* 0x2E */
    uint8_t satFlagBit2;             /* 0x2F */
    float scaledValue;               /* 0x30 */
    uint8_t byte46;                  /* 0x34 */
    uint8_t reserved35[3];
    PidListRecord pids;              /* 0x38 */
    uint8_t block48[8];              /* 0x9C */
    uint8_t reservedA4[12];
    uint8_t headBlock[32];           /* 0xB0 */
    uint16_t dataActivity;           /* 0xD0 */
    uint16_t word56;                 /* 0xD2 */
    uint16_t word5A;                 /* 0xD4 */
    uint16_t word54;                 /* 0xD6 */
    uint16_t words58[4];             /* 0xD8 */
    uint8_t reservedE0[4];
} T22V2StatusRecord;

/* T22CA (type 7), 220 bytes. */
typedef struct T22CAStatusRecord {
    uint8_t versionMajor;            /* 0x00 */
    uint8_t versionMinor;            /* 0x01 */
    uint16_t word38;                 /* 0x02 */
    uint8_t igmpOn;                  /* 0x04 */
    uint8_t deviceAddress[4];        /* 0x05 */
    uint8_t unicastStatusAddress[4]; /* 0x09 */
    uint8_t subnetMask[4];           /* 0x0D */
    uint8_t defaultGateway[4];       /* 0x11 */
    uint8_t reserved15;
    uint16_t statusPort;             /* 0x16 */
    uint8_t mac[6];                  /* 0x18 */
    uint8_t modeFlag;                /* 0x1E */
    uint8_t reserved1F;
    float symbolRate;                /* 0x20 */
    float frequency;                 /* 0x24 */
    uint8_t tuneBit1;                /* 0x28 */
    uint8_t tuneBit2;                /* 0x29 */
    uint8_t tuneBit0;                /* 0x2A */
    uint8_t tuneBit4;                /* 0x2B */
    uint8_t tuneBit3;                /* 0x2C */
    uint8_t code3F;                  /* 0x2D */
    uint8_t signalPercent;           /* 0x2E */
    uint8_t satFlagBit0;             /* 0x2F */
    uint8_t lock;                    /* 0x30 */
    uint8_t satFlagBit2;             /* 0x31 */
    uint8_t reserved32[2];
    float scaledValue;               /* 0x34 */
    uint8_t levelByte;               /* 0x38 */
    uint8_t byte46Copy;              /* 0x39 */
    uint8_t nibble4EHigh;            /* 0x3A */
    uint8_t nibble4ELow;             /* 0x3B */
    uint8_t byte46;                  /* 0x3C */
    uint8_t reserved3D[3];
    PidListRecord pids;              /* 0x40 */
    uint8_t dvbMac[6];               /* 0xA4 */
    uint16_t headBlock[16];          /* 0xAA: conditional-access values, host order */
    uint16_t byte63;                 /* 0xCA */
    uint16_t dataActivity;           /* 0xCC */
    uint16_t word56;                 /* 0xCE */
    uint16_t word5A;                 /* 0xD0 */
    uint16_t word54;                 /* 0xD2 */
    uint16_t words58[4];             /* 0xD4 */
} T22CAStatusRecord;

/* Trevan (type 6), 234 bytes. */
typedef struct TrevanStatusRecord {
    uint8_t versionMajor;            /* 0x00 */
    uint8_t versionMinor;            /* 0x01 */
    uint16_t word38;                 /* 0x02 */
    uint8_t igmpOn;                  /* 0x04 */
    uint8_t deviceAddress[4];        /* 0x05 */
    uint8_t unicastStatusAddress[4]; /* 0x09 */
    uint8_t subnetMask[4];           /* 0x0D */
    uint8_t defaultGateway[4];       /* 0x11 */
    uint8_t reserved15;
    uint16_t statusPort;             /* 0x16 */
    uint8_t mac[6];                  /* 0x18 */
    uint8_t modeFlag;                /* 0x1E */
    uint8_t reserved1F;
    float symbolRate;                /* 0x20 */
    float frequency;                 /* 0x24 */
    uint8_t tuneBit1;                /* 0x28 */
    uint8_t tuneBit2;                /* 0x29 */
    uint8_t tuneBit0;                /* 0x2A */
    uint8_t tuneBit4;                /* 0x2B */
    uint8_t tuneBit3;                /* 0x2C */
    uint8_t code3F;                  /* 0x2D */
    uint8_t signalPercent;           /* 0x2E */
    uint8_t satFlagBit0;             /* 0x2F */
    uint8_t lock;                    /* 0x30 */
    uint8_t satFlagBit2;             /* 0x31 */
    uint8_t reserved32[2];
    float scaledValue;               /* 0x34 */
    uint8_t byte46;                  /* 0x38 */
    uint8_t reserved39[3];
    PidListRecord pids;              /* 0x3C */
    uint8_t block48[8];              /* 0xA0 */
    uint8_t reservedA8[12];
    uint8_t dvbMac[6];               /* 0xB4 */
    uint8_t headBlock[32];           /* 0xBA */
    uint16_t dataActivity;           /* 0xDA */
    uint16_t word56;                 /* 0xDC */
    uint16_t word5A;                 /* 0xDE */
    uint16_t word54;                 /* 0xE0 */
    uint16_t words58[4];             /* 0xE2 */
} TrevanStatusRecord;

#pragma pack(pop)
/* clang-format on */

/* Opaque device handle, a token rather than a pointer; NULL means no device. */
typedef struct DeviceHandleTag* DeviceHandle;

/* ---- entry points ------------------------------------------------------ */

/* Listens on all ten status ports (about two seconds or more) and rewrites
 * the list with one entry per MAC address heard, at most MAX_MACS_PER_SOURCE
 * from one source address (loopback excepted). Always returns 1. */
DEVICELIB_API int32_t DiscoverDevices(DeviceList* list);

/* DiscoverDevices for a caller that keeps a list over time: the receivers
 * of `known` (its previous list; NULL for none) never lose their place to
 * newcomers. A known receiver heard when its source has its share, or when
 * the list is full, takes the place of the newest entry that was not known
 * (of that source, or of any); one source still never lists more than
 * MAX_MACS_PER_SOURCE. A full list does not end the pass: the ports are read
 * on, to find the known receivers and to count the newcomers left out.
 * What was not listed is counted in *counts (when not NULL). `known` may be
 * `list` itself: it is read before the pass rewrites it. Always returns 1. */
DEVICELIB_API int32_t DiscoverDevicesKeeping(DeviceList* list, const DeviceList* known,
                                             DiscoveryCounts* counts);

/* Opens the device of a discovered entry and waits up to timeoutMs for its
 * first status. Returns the handle, or NULL with the reason in *result. */
DEVICELIB_API DeviceHandle OpenDevice(const DeviceInfo* entry, int timeoutMs, int32_t* result);

/* Closes the listener and frees the device, after any call still running on
 * it from another thread. Returns 0, also for NULL; RC_FAILED for a handle
 * that is not open (closed before, or never made by OpenDevice). */
DEVICELIB_API int32_t CloseDevice(DeviceHandle device);

/* Changes the device's network settings, reaching it through each local
 * IPv4 address in turn with a temporary host route and static neighbour
 * entry (removed again before returning), until one attempt succeeds. The
 * new values are confirmed from the device's status on listenPort. Settings
 * CheckNetworkSettings refuses are refused with its code before anything
 * is sent. */
DEVICELIB_API int32_t SetNetworkSettings(DeviceHandle device, const NetworkSettings* settings);

/* Tunes the device: a pointer to a uint16_t RF channel for the ATSC models
 * (types 5 and 8), to a SatelliteTuning for the satellite models. */
DEVICELIB_API int32_t SetChannel(DeviceHandle device, const void* tuning);

/* Writes the device's PID table and verifies it by reading it back. `list`
 * is a PidListRecord for types 3, 4 and 5, a TrevanPidListRecord for 6, 7
 * and 8. Entries from count on are set to 0x1FFF in the caller's record.
 * A list CheckPidList refuses is refused with its code; nothing is sent then. */
DEVICELIB_API int32_t SetPidList(DeviceHandle device, void* list);

/* Reads the device's PID table into a record of the same form, compacted. */
DEVICELIB_API int32_t GetPidList(DeviceHandle device, void* list);

/* Waits up to 2000 ms for a new status and decodes it into the record of
 * the device's type (R40StatusRecord for 5 and 8, T22V3StatusRecord for 4,
 * T22V2StatusRecord for 3, T22CAStatusRecord for 7, TrevanStatusRecord for
 * 6). 0, or -1 when there is no current status. */
DEVICELIB_API int32_t GetDeviceStatus(DeviceHandle device, void* record);

/* Decodes one status datagram that was only heard, for programs that watch
 * many receivers at once without opening any (r40ctl exporter). `sender`
 * brings the datagram's source address and the status port it was heard
 * on; the library fills in its MAC address and type code as discovery
 * would (MAC zero when the datagram is too short to hold one, type 1 when
 * the model is not recognised). A whole status datagram of the model, from
 * a MAC address with the maker's prefix, is checked and decoded as
 * GetDeviceStatus would for an open device of that type, into `record`
 * (recordSize bytes, at least the type's record). Sends nothing, binds
 * nothing, keeps nothing: safe on any thread. 0; ERR_FOREIGN_MAC for
 * another maker's receiver; RC_FAILED for anything else. */
DEVICELIB_API int32_t DecodeStatusDatagram(const uint8_t* datagram, size_t length,
                                           DeviceInfo* sender, void* record, size_t recordSize);

/* Sends the reset code (echoed, except by the T22CA). */
DEVICELIB_API int32_t ResetDevice(DeviceHandle device);

/* Stores the device's type code (1 when not attached, or for a handle that
 * is not open); -1 when that is 1. */
DEVICELIB_API int32_t GetDeviceType(DeviceHandle device, uint16_t* type);

/* Stores the first of STATUS_PORTS this workstation can bind. */
DEVICELIB_API int32_t FindFreeStatusPort(uint16_t* port);

/* What a receiver can be given, judged once for every caller: dialogs,
 * configuration files and command lines refuse what these refuse, and the
 * entry points that send such values refuse them too, before sending.
 *
 * CheckNetworkSettings: 0, or the code of the first value no receiver can
 * use: ERR_NET_HOST_PART_ZERO or ERR_NET_ADDRESS_INVALID (deviceAddress:
 * in 0.0.0.0/8, multicast, reserved, or its subnet's own address or
 * broadcast), ERR_NET_MASK_INVALID (ones not contiguous from the top, or
 * fewer than two host bits), ERR_NET_GATEWAY_INVALID (neither 0.0.0.0 nor a
 * host address; in the device's subnet, not its edges),
 * ERR_NET_STATUS_COPY_INVALID (neither 255.255.255.255 nor a host address),
 * ERR_PORT_NOT_IN_TABLE (a port not in STATUS_PORTS). Loopback addresses
 * count as host addresses. RC_FAILED for NULL. */
DEVICELIB_API int32_t CheckNetworkSettings(const NetworkSettings* settings);

/* CheckPidList: 0, or the code of the first fault of `list`, in the form
 * deviceType takes (as SetPidList): ERR_PID_LIST_TOO_LONG (a count above 32,
 * or above the model's table: 16 for types 4 and 5), ERR_PID_LIST (a
 * negative count; an entry below count above 0x1FFF, or given twice; 0x1FFF
 * is an empty entry), ERR_PID_FORWARDING (types 6, 7, 8: a
 * control value above 7, or a destination that is neither 0.0.0.0 port 0
 * nor a host or multicast address with a port other than 0), ERR_BAD_TYPE
 * for a type outside 3 to 8. *badEntry, when not NULL, gets the faulty
 * entry's index, or -1 for the count or no fault. RC_FAILED for NULL. */
DEVICELIB_API int32_t CheckPidList(uint16_t deviceType, const void* list, int32_t* badEntry);

/* Removes the host routes and static neighbour entries that a process
 * killed during SetNetworkSettings left behind (the library marks what it
 * adds), unless an attempt is running in this network namespace. Never
 * touches entries made by anyone else. Call it once at start-up;
 * SetNetworkSettings does the same before its attempts. Returns how many
 * entries were removed. */
DEVICELIB_API int32_t RemoveStaleRoutes(void);

/* One short sentence saying what a result code means, for messages shown to
 * a person. Never NULL: "unknown result code" for a code the library does
 * not use. The text is static; the caller does not free it. */
DEVICELIB_API const char* DeviceResultText(int32_t result);

/* The name of a device type code as people know the model: "R40", "R40V",
 * "T22 (3.x)", "T22 (2.x)", "T22CA", "Trevan"; "unknown" for any other
 * code. Never NULL; the text is static. Added in 1.2. */
DEVICELIB_API const char* DeviceTypeName(uint16_t type);

/* The version of the library loaded, as DEVICELIB_VERSION encodes it
 * (0x010200 for 1.2.0); may be newer than the header's. Added in 1.2. */
DEVICELIB_API int32_t DeviceLibraryVersion(void);

/* OpenDevice for a caller that has just heard the device's status itself
 * (listening on the status ports for one address, say): `datagram` is that
 * status as it arrived from entry->address on entry->statusPort, and takes
 * the place of the first status OpenDevice would wait for, so the device
 * is open at once. The datagram is checked as the device's listener checks
 * every status (the model's length and code, the entry's MAC address);
 * one it refuses gives NULL with RC_FAILED in *result. Added in 1.2. */
DEVICELIB_API DeviceHandle OpenDeviceWithStatus(const DeviceInfo* entry, const uint8_t* datagram,
                                                size_t length, int32_t* result);

#ifdef __cplusplus
}
#endif

/* The record layouts checked where the compiler can: C++, and C from C11 on.
 * A check that fails names the field whose offset a compiler got wrong. */
#if defined(__cplusplus)
#define DEVICELIB_LAYOUT(check) static_assert(check, "devicelib.h layout: " #check)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define DEVICELIB_LAYOUT(check) _Static_assert(check, "devicelib.h layout: " #check)
#endif
#ifdef DEVICELIB_LAYOUT
DEVICELIB_LAYOUT(sizeof(DeviceInfo) == 14);
DEVICELIB_LAYOUT(offsetof(DeviceInfo, mac) == 4);
DEVICELIB_LAYOUT(offsetof(DeviceInfo, statusPort) == 10);
DEVICELIB_LAYOUT(offsetof(DeviceInfo, deviceType) == 12);
DEVICELIB_LAYOUT(sizeof(DeviceList) == 898);
DEVICELIB_LAYOUT(offsetof(DeviceList, entries) == 2);
DEVICELIB_LAYOUT(sizeof(DiscoveryCounts) == 12);
DEVICELIB_LAYOUT(sizeof(NetworkSettings) == 22);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, subnetMask) == 4);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, defaultGateway) == 8);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, statusPort) == 12);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, deviceAddress) == 14);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, listenPort) == 18);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, useIgmp) == 20);
DEVICELIB_LAYOUT(offsetof(NetworkSettings, reserved) == 21);
DEVICELIB_LAYOUT(sizeof(PidListRecord) == 100);
DEVICELIB_LAYOUT(offsetof(PidListRecord, control) == 0x40);
DEVICELIB_LAYOUT(offsetof(PidListRecord, count) == 0x60);
DEVICELIB_LAYOUT(sizeof(PidDestination) == 6);
DEVICELIB_LAYOUT(sizeof(TrevanPidListRecord) == 292);
DEVICELIB_LAYOUT(offsetof(TrevanPidListRecord, destination) == 0x40);
DEVICELIB_LAYOUT(offsetof(TrevanPidListRecord, control) == 0x100);
DEVICELIB_LAYOUT(offsetof(TrevanPidListRecord, count) == 0x120);
DEVICELIB_LAYOUT(sizeof(SatelliteTuning) == 22);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, symbolRate) == 4);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, tuneOption0) == 8);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, tuneOption2) == 12);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, tuneOption1) == 16);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, tuneOption3) == 20);
DEVICELIB_LAYOUT(offsetof(SatelliteTuning, tuneOption4) == 21);
DEVICELIB_LAYOUT(sizeof(R40StatusRecord) == 248);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, igmpOn) == 0x04);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, deviceAddress) == 0x05);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, statusPort) == 0x16);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, mac) == 0x18);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, modeFlag) == 0x1E);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, channel) == 0x20);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, byte3F) == 0x25);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, snrB) == 0x28);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, snr) == 0x2C);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, value48) == 0x38);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, word4E) == 0x40);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, lock) == 0x42);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, flagBit7) == 0x46);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, pids) == 0x48);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, dvbMac) == 0xC0);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, headBlock) == 0xC6);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, dataActivity) == 0xE6);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, word54) == 0xEC);
DEVICELIB_LAYOUT(offsetof(R40StatusRecord, words58) == 0xEE);
DEVICELIB_LAYOUT(sizeof(T22V3StatusRecord) == 236);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, deviceAddress) == 0x05);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, statusPort) == 0x16);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, symbolRate) == 0x20);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, tuneBit1) == 0x28);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, tuneBit3) == 0x2D);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, satFlagBit2) == 0x31);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, scaledValue) == 0x34);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, byte46) == 0x38);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, pids) == 0x3C);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, dvbMac) == 0xA0);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, block48) == 0xA6);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, headBlock) == 0xBA);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, dataActivity) == 0xDA);
DEVICELIB_LAYOUT(offsetof(T22V3StatusRecord, words58) == 0xE2);
DEVICELIB_LAYOUT(sizeof(T22V2StatusRecord) == 228);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, deviceAddress) == 0x04);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, statusPort) == 0x14);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, mac) == 0x16);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, modeFlag) == 0x1C);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, symbolRate) == 0x20);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, signalPercent) == 0x2C);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, scaledValue) == 0x30);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, byte46) == 0x34);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, pids) == 0x38);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, block48) == 0x9C);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, headBlock) == 0xB0);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, dataActivity) == 0xD0);
DEVICELIB_LAYOUT(offsetof(T22V2StatusRecord, words58) == 0xD8);
DEVICELIB_LAYOUT(sizeof(T22CAStatusRecord) == 220);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, tuneBit4) == 0x2B);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, code3F) == 0x2D);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, scaledValue) == 0x34);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, levelByte) == 0x38);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, nibble4ELow) == 0x3B);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, byte46) == 0x3C);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, pids) == 0x40);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, dvbMac) == 0xA4);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, headBlock) == 0xAA);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, byte63) == 0xCA);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, dataActivity) == 0xCC);
DEVICELIB_LAYOUT(offsetof(T22CAStatusRecord, words58) == 0xD4);
DEVICELIB_LAYOUT(sizeof(TrevanStatusRecord) == 234);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, code3F) == 0x2D);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, byte46) == 0x38);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, pids) == 0x3C);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, block48) == 0xA0);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, dvbMac) == 0xB4);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, headBlock) == 0xBA);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, dataActivity) == 0xDA);
DEVICELIB_LAYOUT(offsetof(TrevanStatusRecord, words58) == 0xE2);
#undef DEVICELIB_LAYOUT

#endif

#endif /* DEVICELIB_DEVICELIB_H */
