// Sends one hand-made status datagram again and again from a chosen
// loopback address, so a device object can be fed exact bytes.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "devicelib/byte_order.h"
#include "platform/clock/clock.h"
#include "platform/net/udp_socket.h"

namespace devicelib_test {

// A status datagram under construction: big-endian fields at offsets.
struct Datagram {
    explicit Datagram(std::size_t length) : bytes(length, 0) {}
    Datagram& U8(std::size_t offset, std::uint8_t value) {
        bytes.at(offset) = value;
        return *this;
    }
    Datagram& U16(std::size_t offset, std::uint16_t value) {
        bytes.at(offset + 1);  // bounds check
        devicelib::StoreBigEndian16(&bytes[offset], value);
        return *this;
    }
    Datagram& Raw(std::size_t offset, std::initializer_list<int> values) {
        for (int v : values) bytes.at(offset++) = static_cast<std::uint8_t>(v);
        return *this;
    }
    std::vector<std::uint8_t> bytes;
};

class Transmitter {
  public:
    Transmitter(platform::net::Ipv4 from, std::uint16_t port, std::vector<std::uint8_t> bytes)
        : m_port(port), m_bytes(std::move(bytes)) {
        EXPECT_TRUE(m_socket.Open());
        EXPECT_TRUE(m_socket.Bind(from, 0));
        m_thread = std::thread([this] {
            while (!m_stop) {
                {
                    std::lock_guard lock(m_mutex);
                    m_socket.SendTo(m_bytes, {127, 0, 0, 1}, m_port);
                }
                platform::clock::SleepMilliseconds(15);
            }
        });
    }
    ~Transmitter() {
        m_stop = true;
        m_thread.join();
    }
    void Replace(std::vector<std::uint8_t> bytes) {
        std::lock_guard lock(m_mutex);
        m_bytes = std::move(bytes);
    }

  private:
    platform::net::UdpSocket m_socket;
    std::uint16_t m_port;
    std::mutex m_mutex;
    std::vector<std::uint8_t> m_bytes;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace devicelib_test
