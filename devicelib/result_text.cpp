// One sentence per result code, for messages that show a code to a person:
// tools, logs and test failures. The texts are fixed; callers may quote them.
#include "devicelib/devicelib.h"
#include "devicelib/internal_codes.h"

extern "C" DEVICELIB_API const char* DeviceResultText(int32_t result) {
    switch (result) {
        case RC_OK:
            return "Success.";
        case RC_FAILED:
            return "Failed: no current status from the receiver, or no free status port.";
        case RC_NOT_LISTENING:
            return "The status listener is not open.";
        case ERR_TABLE_SOCKET:
            return "No socket could be made for the PID table command.";
        case ERR_TABLE_CONNECT:
            return "The PID table socket could not be connected to the receiver.";
        case ERR_TABLE_SEND:
            return "The PID table command was not sent whole.";
        case ERR_TABLE_RECEIVE:
            return "The receiver did not answer the PID table command within 1 second.";
        case ERR_TABLE_REPLY_LENGTH:
            return "The receiver answered the PID table command with a reply of the wrong length.";
        case ERR_CA_SOCKET:
            return "No socket could be made for the conditional-access table command.";
        case ERR_CA_CONNECT:
            return "The conditional-access table socket could not be connected to the receiver.";
        case ERR_CA_SEND:
            return "The conditional-access table command was not sent whole.";
        case ERR_CA_RECEIVE:
            return "Receiving the conditional-access table echo failed.";
        case ERR_ECHO_SOCKET:
            return "No socket could be made for the command.";
        case ERR_ECHO_CONNECT:
            return "The command socket could not be connected to the receiver.";
        case ERR_ECHO_SEND:
            return "The command was not sent whole.";
        case ERR_ECHO_RECEIVE:
            return "Receiving the receiver's echo failed.";
        case ERR_ECHO_TIMEOUT:
            return "The receiver did not echo the command within 1 second.";
        case ERR_ECHO_MISMATCH:
            return "The receiver's echo differs from the command sent.";
        case ERR_NET_HOST_PART_ZERO:
            return "The new address has no bit outside the subnet mask.";
        case ERR_NET_ADDRESS_INVALID:
            return "The new address is no receiver's: in 0.0.0.0/8, multicast, reserved, or the "
                   "broadcast address of its subnet.";
        case ERR_NET_MASK_INVALID:
            return "The subnet mask's ones are not contiguous from the top, or leave fewer than "
                   "two host bits.";
        case ERR_NET_GATEWAY_INVALID:
            return "The default gateway is neither 0.0.0.0 (none) nor a host address.";
        case ERR_NET_STATUS_COPY_INVALID:
            return "The status copy address is neither 255.255.255.255 (none) nor a host "
                   "address.";
        case ERR_STATUS_SOCKET:
            return "A status socket could not be created or bound.";
        case ERR_STATUS_TIMEOUT:
            return "No status arrived from the receiver in time.";
        case ERR_STATUS_PORT_INVALID:
            return "The status port is 0.";
        case ERR_LISTENER_CLOSED:
            return "A fresh status was wanted while the status listener is closed.";
        case ERR_NO_STATUS_BUFFER:
            return "The device object has no status buffer.";
        case ERR_NET_NOT_ATTACHED:
            return "Network settings were sent to a device object that is not attached.";
        case ERR_NET_NOT_CONFIRMED:
            return "The receiver's status does not show the new network settings.";
        case ERR_PID_LIST:
            return "The PID list holds a PID above 0x1FFF or a PID twice, or the receiver's table "
                   "does not match what was written.";
        case ERR_PID_FORWARDING:
            return "A forwarding entry has a control value above 7, or a destination that is no "
                   "host or group with a port.";
        case ERR_TUNE_NOT_ATTACHED:
            return "Tuning was asked of a device object that is not attached.";
        case ERR_TUNE_OUT_OF_RANGE:
            return "Satellite frequency or symbol rate outside 0.1-6553.5 MHz, 0.001-65.535 "
                   "Msym/s; nothing sent.";
        case ERR_TUNE_NOT_CONFIRMED:
            return "The receiver's status does not show the new tuning.";
        case ERR_ROUTE_NO_ADDRESS:
            return "Neither the receiver's address nor its MAC address is known for a route.";
        case ERR_RESET_NOT_ATTACHED:
            return "A reset was asked of a device object that is not attached.";
        case ERR_CA_NOT_CONFIRMED:
            return "The receiver's status does not show the conditional-access table.";
        case ERR_PORT_NOT_IN_TABLE:
            return "A port of the network settings is not one of the ten status ports.";
        case ERR_ALREADY_ATTACHED:
            return "The device object is already attached.";
        case ERR_FOREIGN_MAC:
            return "The MAC address does not begin with the maker's prefix 02-5C-C1.";
        case RC_ATTACHED:
            return "Attached (a success code used inside the library).";
        case ERR_ADAPTER_NOT_FOUND:
            return "The adapter list cannot be read, or no adapter has the local address.";
        case RC_ROUTE_CREATED:
            return "Route and neighbour entry created (a success code used inside the library).";
        case ERR_TYPE_MISMATCH:
            return "The device type of the entry differs from the device object's type.";
        case ERR_STATUS_TYPE_MISMATCH:
            return "A status record was asked of a device object of another type.";
        case ERR_BAD_TYPE:
            return "The device type code is not one of 3 to 8.";
        case ERR_PID_LIST_TOO_LONG:
            return "The PID list has more PIDs than the receiver's table holds.";
        case ERR_CA_LIST_TOO_LONG:
            return "The conditional-access table has more than 16 entries.";
        case ERR_LISTENER_NO_BUFFER:
            return "The status listener was opened without a status buffer.";
        case RC_LISTENER_OPEN:
            return "Status listener open (a success code used inside the library).";
        case ERR_LISTENER_NOT_OPEN:
            return "A status was awaited on a closed listener.";
        case ERR_ROUTE_NO_LOCAL_ADDRESS:
            return "A route was wanted without a local address.";
        case ERR_ROUTE_REFUSED:
#ifdef _WIN32
            return "No receiver answered; a route to it needs administrator rights: run the "
                   "program as administrator.";
#else
            return "No receiver answered; a route to it needs administrator rights or "
                   "CAP_NET_ADMIN.";
#endif
        default:
            return "unknown result code";
    }
}
