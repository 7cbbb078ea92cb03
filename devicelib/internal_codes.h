/*
 * What the device library uses among its own objects and never hands to a
 * caller: result codes that no entry point returns, and the conditional-
 * access table, which no entry point writes. The codes share the public
 * header's number space (see the groups there), so DeviceResultText knows
 * them too, for the library's own tests and diagnostics.
 */
#ifndef DEVICELIB_INTERNAL_CODES_H
#define DEVICELIB_INTERNAL_CODES_H

#include "devicelib/devicelib.h"

/* ---- success codes that are not 0 -------------------------------------- *
 * Each marks one step done; the entry point that ran the step turns it into
 * 0 or goes on. */
#define RC_ATTACHED 0x5004      /* the device object was attached to its entry */
#define RC_ROUTE_CREATED 0x5006 /* host route and neighbour entry in place */
#define RC_LISTENER_OPEN 0x6001 /* the status listener's socket is bound */

/* ---- discovery ---------------------------------------------------------- */
#define RC_NOT_LISTENING (-10) /* a listening time asked of a closed listener */

/* ---- conditional-access table of the T22CA (0x1010 to 0x101F) ----------- *
 * As the PID table's exchange codes, for the conditional-access table. */
#define ERR_CA_SOCKET 0x1011
#define ERR_CA_CONNECT 0x1012
#define ERR_CA_SEND 0x1013
#define ERR_CA_RECEIVE 0x1015
#define ERR_CA_NOT_CONFIRMED 0x4020 /* the status does not show the table */
#define ERR_CA_LIST_TOO_LONG 0x500D /* more than 16 entries */

/* clang-format off */
#pragma pack(push, 1)
/* Conditional-access table of the T22CA, host order. */
typedef struct CaTableRecord {
    uint16_t caValue[MAX_PIDS];
    PidDestination destination[MAX_PIDS];
    uint32_t caCount; /* at most 16 */
} CaTableRecord;
#pragma pack(pop)
/* clang-format on */

#ifdef __cplusplus
#include <cstddef>
static_assert(sizeof(CaTableRecord) == 0x104);
static_assert(offsetof(CaTableRecord, destination) == 0x40);
static_assert(offsetof(CaTableRecord, caCount) == 0x100);
#endif

#endif /* DEVICELIB_INTERNAL_CODES_H */
