"""The records of libdevicelib's C interface for Python's ctypes, and the
library loaded with its entry points typed."""
import ctypes as C


class DeviceInfo(C.Structure):
    _pack_ = 1
    _fields_ = [("address", C.c_uint8 * 4), ("mac", C.c_uint8 * 6),
                ("statusPort", C.c_uint16), ("deviceType", C.c_uint16)]


class DeviceList(C.Structure):
    _pack_ = 1
    _fields_ = [("count", C.c_uint16), ("entries", DeviceInfo * 64)]


class NetworkSettings(C.Structure):
    _pack_ = 1
    _fields_ = [("unicastStatusAddress", C.c_uint8 * 4), ("subnetMask", C.c_uint8 * 4),
                ("defaultGateway", C.c_uint8 * 4), ("statusPort", C.c_uint16),
                ("deviceAddress", C.c_uint8 * 4), ("listenPort", C.c_uint16),
                ("useIgmp", C.c_uint8), ("reserved", C.c_uint8)]


class PidListRecord(C.Structure):
    _pack_ = 1
    _fields_ = [("pid", C.c_uint16 * 32), ("control", C.c_uint8 * 32), ("count", C.c_int32)]


class PidDestination(C.Structure):
    _pack_ = 1
    _fields_ = [("address", C.c_uint8 * 4), ("port", C.c_uint16)]


class TrevanPidListRecord(C.Structure):
    _pack_ = 1
    _fields_ = [("pid", C.c_uint16 * 32), ("destination", PidDestination * 32),
                ("control", C.c_uint8 * 32), ("count", C.c_int32)]


class SatelliteTuning(C.Structure):
    _pack_ = 1
    _fields_ = [("frequency", C.c_float), ("symbolRate", C.c_float),
                ("tuneOption0", C.c_int32), ("tuneOption2", C.c_int32),
                ("tuneOption1", C.c_int32), ("tuneOption3", C.c_uint8),
                ("tuneOption4", C.c_uint8)]


assert C.sizeof(DeviceInfo) == 14 and C.sizeof(DeviceList) == 898
assert C.sizeof(NetworkSettings) == 22 and C.sizeof(SatelliteTuning) == 22
assert C.sizeof(PidListRecord) == 100 and C.sizeof(TrevanPidListRecord) == 292


def load(path):
    """libdevicelib with its entry points' argument and result types set."""
    lib = C.CDLL(path)
    lib.DiscoverDevices.argtypes = [C.POINTER(DeviceList)]
    lib.DiscoverDevices.restype = C.c_int32
    lib.OpenDevice.argtypes = [C.POINTER(DeviceInfo), C.c_int, C.POINTER(C.c_int32)]
    lib.OpenDevice.restype = C.c_void_p
    lib.SetNetworkSettings.argtypes = [C.c_void_p, C.POINTER(NetworkSettings)]
    for name in ("GetDeviceType", "GetDeviceStatus", "SetChannel", "SetPidList", "GetPidList"):
        getattr(lib, name).argtypes = [C.c_void_p, C.c_void_p]
    for name in ("CloseDevice", "ResetDevice"):
        getattr(lib, name).argtypes = [C.c_void_p]
    for name in ("CloseDevice", "SetNetworkSettings", "SetChannel", "SetPidList", "GetPidList",
                 "GetDeviceStatus", "ResetDevice", "GetDeviceType", "FindFreeStatusPort",
                 "RemoveStaleRoutes"):
        getattr(lib, name).restype = C.c_int32
    lib.DecodeStatusDatagram.argtypes = [C.c_char_p, C.c_size_t, C.POINTER(DeviceInfo),
                                         C.c_void_p, C.c_size_t]
    lib.DecodeStatusDatagram.restype = C.c_int32
    lib.RemoveStaleRoutes.argtypes = []
    lib.DeviceResultText.argtypes = [C.c_int32]
    lib.DeviceResultText.restype = C.c_char_p
    return lib
