// Shared by the fuzz harnesses: a network of the harness's own, datagrams
// sent over loopback, and the identity of the emulated receiver whose
// datagrams make the seed corpus.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

#include "devicelib/device_constants.h"
#include "platform/net/udp_socket.h"
#include "tests/support/private_network.h"

namespace fuzz {

inline constexpr devicelib::Ipv4 LOOPBACK{127, 0, 0, 1};
// The seed datagrams come from a receiver with this MAC address.
inline constexpr devicelib::MacAddress SEED_MAC{0x02, 0x5C, 0xC1, 0x00, 0x00, 0x14};

// Moves the harness into a network namespace of its own, so the fixed
// status ports it binds meet no other program. Where that is not allowed
// (not root) the harness runs in the machine's network, and says so.
// Make it the first member of a harness's state, so that every socket
// after it is opened inside.
struct OwnNetwork {
    OwnNetwork() {
        std::string why;
        if (!test_support::EnterPrivateNetwork(&why))
            std::fprintf(stderr, "fuzz: no private network (%s); using the machine's\n",
                         why.c_str());
    }
};

// Sends each datagram from 127.0.0.1 to a port on 127.0.0.1.
class LoopbackSender {
  public:
    LoopbackSender() {
        m_socket.Open();
        m_socket.Bind(LOOPBACK, 0);
    }
    void Send(std::span<const std::uint8_t> datagram, std::uint16_t port) {
        m_socket.SendTo(datagram, LOOPBACK, port);
    }

  private:
    platform::net::UdpSocket m_socket;
};

}  // namespace fuzz
