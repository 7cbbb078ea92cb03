"""Drives emulated receivers of all six models through libdevicelib with
Python's ctypes alone: discover, open, read the decoded status, tune, write
and read back the PID list, reset.

Usage: ctypes_client.py PATH_TO_LIBDEVICELIB"""
import ctypes as C
import sys

from devicelib_ctypes import (DeviceList, PidDestination, PidListRecord, SatelliteTuning,
                             TrevanPidListRecord, load)

# Offsets of a few fields in each model's status record, and its size.
STATUS = {
    5: dict(size=248, channel=0x20, snr=0x2C, mac=0x18),
    8: dict(size=248, channel=0x20, snr=0x2C, mac=0x18),
    4: dict(size=236, symbolRate=0x20, percent=0x2E, mac=0x18),
    3: dict(size=228, symbolRate=0x20, percent=0x2C, mac=0x16),
    7: dict(size=220, symbolRate=0x20, percent=0x2E, mac=0x18),
    6: dict(size=234, symbolRate=0x20, percent=0x2E, mac=0x18),
}
ATSC = (5, 8)
FORWARDING = (6, 7, 8)
TABLE_ENTRIES = {5: 16, 4: 16, 3: 32, 6: 32, 7: 32, 8: 32}


def check(condition, message):
    if not condition:
        print("ctypes_client: FAILED:", message)
        sys.exit(1)


def main():
    lib = load(sys.argv[1])
    ports = (C.c_uint16 * 10).in_dll(lib, "STATUS_PORTS")
    check(list(ports)[:2] == [6516, 8309], "STATUS_PORTS exported")

    devices = DeviceList()
    check(lib.DiscoverDevices(C.byref(devices)) == 1, "DiscoverDevices returns 1")
    types = sorted(devices.entries[i].deviceType for i in range(devices.count))
    check(types == [3, 4, 5, 6, 7, 8], "all six models discovered, got %s" % types)

    for i in range(devices.count):
        info = devices.entries[i]
        kind = info.deviceType
        result = C.c_int32(-99)
        handle = lib.OpenDevice(C.byref(info), 3000, C.byref(result))
        check(handle, "open type %d (result %d)" % (kind, result.value))
        try:
            got = C.c_uint16()
            check(lib.GetDeviceType(handle, C.byref(got)) == 0 and got.value == kind,
                  "type of %d" % kind)

            record = (C.c_uint8 * 256)()
            check(lib.GetDeviceStatus(handle, record) == 0, "status of %d" % kind)
            layout = STATUS[kind]
            mac = bytes(record[layout["mac"]:layout["mac"] + 6])
            check(mac == bytes(info.mac), "status MAC of %d" % kind)

            if kind in ATSC:
                channel = C.c_uint16(51)
                check(lib.SetChannel(handle, C.byref(channel)) == 0, "tune %d" % kind)
                check(lib.GetDeviceStatus(handle, record) == 0, "status after tune")
                check(int.from_bytes(bytes(record[0x20:0x22]), sys.byteorder) == 51,
                      "channel shown")
            else:
                tuning = SatelliteTuning(frequency=1150.0, symbolRate=22.0, tuneOption1=1)
                check(lib.SetChannel(handle, C.byref(tuning)) == 0, "tune %d" % kind)
                check(lib.GetDeviceStatus(handle, record) == 0, "status after tune")
                rate = C.c_float.from_buffer_copy(bytes(record[0x20:0x24])).value
                check(abs(rate - 22.0) < 0.01, "symbol rate shown: %f" % rate)

            pids = [0x0031, 0x0044, 0x0100]
            if kind in FORWARDING:
                table = TrevanPidListRecord(count=len(pids))
                for k, pid in enumerate(pids):
                    table.pid[k] = pid
                    table.control[k] = 1
                    table.destination[k] = PidDestination((C.c_uint8 * 4)(239, 0, 0, k + 1),
                                                          5000 + k)
                back = TrevanPidListRecord()
            else:
                table = PidListRecord(count=len(pids))
                for k, pid in enumerate(pids):
                    table.pid[k] = pid
                    table.control[k] = 1
                back = PidListRecord()
            rc = lib.SetPidList(handle, C.byref(table))
            check(rc == 0, "PID list of %d: %s" % (kind, lib.DeviceResultText(rc).decode()))
            check(lib.GetPidList(handle, C.byref(back)) == 0, "read back of %d" % kind)
            check(back.count == 3 and sorted(back.pid[:3]) == pids,
                  "PIDs read back from %d: %s" % (kind, list(back.pid[:3])))
            if kind in FORWARDING:
                check(back.destination[0].port == 5000, "destination kept")

            check(lib.ResetDevice(handle) == 0, "reset %d" % kind)
            print("ctypes_client: type %d at %s OK" % (kind, ".".join(map(str, info.address))))
        finally:
            lib.CloseDevice(handle)
    print("ctypes_client: all six models OK")


if __name__ == "__main__":
    main()
