// A flood of hostile datagrams on the status ports, as a LAN full of
// broken or forging hosts would send: from many loopback sources, random
// bytes of random length and forged statuses of every model, some of
// another maker, some cut short. Each round is bounded, so a test decides
// how long the flood lasts.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/net/udp_socket.h"

namespace tools_test {

class StatusFlood {
  public:
    // `sources` senders on 127.1.x.y; false with the reason when one cannot
    // be bound.
    bool Open(int sources, std::string* why);
    // From each source: 20 random datagrams to 6516 and 8309, and 10 forged
    // statuses to 6516 (each with a MAC of its own; the ninth cut to 40
    // bytes, the tenth with another maker's MAC prefix).
    void Round();
    int Forged() const { return m_forged; }

  private:
    std::vector<platform::net::UdpSocket> m_senders;
    std::mt19937 m_random{18};
    int m_forged = 0;
};

}  // namespace tools_test
