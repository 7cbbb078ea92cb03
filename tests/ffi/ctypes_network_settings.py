"""Changes a receiver's network settings through libdevicelib with Python's
ctypes, then checks that the workstation's route and neighbour tables hold
nothing for the receiver's old address.

Usage: ctypes_network_settings.py LIBDEVICELIB OLD_ADDRESS NEW_ADDRESS MASK UNICAST"""
import ctypes as C
import subprocess
import sys

from devicelib_ctypes import DeviceList, NetworkSettings, load


def octets(text):
    return (C.c_uint8 * 4)(*map(int, text.split(".")))


def fail(message):
    print("ctypes_network_settings: FAILED:", message)
    sys.exit(1)


def main():
    lib_path, old, new, mask, unicast = sys.argv[1:6]
    lib = load(lib_path)

    devices = DeviceList()
    lib.DiscoverDevices(C.byref(devices))
    found = [devices.entries[i] for i in range(devices.count)
             if ".".join(map(str, devices.entries[i].address)) == old]
    if not found:
        fail("receiver %s not discovered" % old)
    result = C.c_int32()
    handle = lib.OpenDevice(C.byref(found[0]), 3000, C.byref(result))
    if not handle:
        fail("open: %d" % result.value)

    settings = NetworkSettings(unicastStatusAddress=octets(unicast), subnetMask=octets(mask),
                               defaultGateway=octets(new.rsplit(".", 1)[0] + ".1"),
                               statusPort=8309, deviceAddress=octets(new), listenPort=8309,
                               useIgmp=1)
    rc = lib.SetNetworkSettings(handle, C.byref(settings))
    if rc != 0:
        fail("SetNetworkSettings: %d" % rc)
    record = (C.c_uint8 * 256)()
    if lib.GetDeviceStatus(handle, record) != 0:
        fail("no status from the new address")
    if list(record[5:9]) != list(map(int, new.split("."))):
        fail("status comes from %s" % list(record[5:9]))
    if record[4] != 1:
        fail("IGMP not shown")
    lib.CloseDevice(handle)

    routes = subprocess.run(["ip", "route", "show", "table", "all"], capture_output=True,
                            text=True).stdout
    neighbours = subprocess.run(["ip", "neigh", "show"], capture_output=True, text=True).stdout
    mac = ":".join("%02x" % b for b in found[0].mac)
    for line in (routes + neighbours).splitlines():
        if (line.split() and line.split()[0] == old) or mac in line.lower():
            fail("left behind: " + line)
    print("ctypes_network_settings: %s is now %s, nothing left behind" % (old, new))


if __name__ == "__main__":
    main()
