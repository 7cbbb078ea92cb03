"""libdevicelib exports exactly its C interface: the entry points and the
status port table, nothing of the objects and platform code inside it, each
in its version node: DEVICELIB_1, which goes with the SONAME
libdevicelib.so.1, or the node of the minor version that added it.

Usage: exported_symbols.py PATH_TO_LIBDEVICELIB
       exported_symbols.py PATH_TO_DEVICELIB_DLL OBJDUMP   (Windows DLL)"""
import subprocess
import sys

NODES = {
    "DEVICELIB_1": {
        "DiscoverDevices", "OpenDevice", "CloseDevice", "SetNetworkSettings", "SetChannel",
        "SetPidList", "GetPidList", "GetDeviceStatus", "ResetDevice", "FindFreeStatusPort",
        "GetDeviceType", "RemoveStaleRoutes", "DeviceResultText", "STATUS_PORTS",
        "DecodeStatusDatagram",
    },
    "DEVICELIB_1.1": {"CheckNetworkSettings", "CheckPidList", "DiscoverDevicesKeeping"},
    "DEVICELIB_1.2": {"DeviceTypeName", "DeviceLibraryVersion", "OpenDeviceWithStatus"},
}
INTERFACE = set().union(*NODES.values())


def elf_exports(path):
    out = subprocess.run(["nm", "-D", "--defined-only", "--format=posix", path],
                         check=True, capture_output=True, text=True).stdout
    # Version nodes and the linker's own markers are not symbols of ours.
    names = {line.split()[0] for line in out.splitlines()
             if line and line.split()[1] not in ("A",)}
    exported = set()
    misplaced = []
    for versioned in names:
        name, _, node = versioned.partition("@@")
        if name not in NODES.get(node, ()):
            misplaced.append(versioned)
        exported.add(name)
    if misplaced:
        print("exported_symbols: FAILED: not in their version nodes: %s" % sorted(misplaced))
        return None
    return exported


def pe_exports(path, objdump):
    """The names of a DLL's export table, as objdump -p lists them."""
    out = subprocess.run([objdump, "-p", path], check=True, capture_output=True,
                         text=True).stdout
    names = set()
    in_table = False
    for line in out.splitlines():
        if line.startswith("[Ordinal/Name Pointer] Table"):
            in_table = True
        elif in_table and line.strip().startswith("["):
            names.add(line.split("]", 1)[1].strip())
        elif in_table:
            break
    return names


def main():
    if len(sys.argv) > 2:
        exported = pe_exports(sys.argv[1], sys.argv[2])
    else:
        exported = elf_exports(sys.argv[1])
        if exported is None:
            return 1
    missing = sorted(INTERFACE - exported)
    extra = sorted(exported - INTERFACE)
    if missing or extra:
        print("exported_symbols: FAILED: missing %s, extra %s" % (missing, extra))
        return 1
    print("exported_symbols: the %d names of the C interface, nothing else" % len(exported))
    return 0


if __name__ == "__main__":
    sys.exit(main())
