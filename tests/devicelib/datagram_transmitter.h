// Sends hand-made datagrams again and again from a chosen loopback
// address: one status datagram, so a device object can be fed exact bytes,
// or junk at a steady rate, as a busy LAN sends to the status ports.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "devicelib/byte_order.h"
#include "platform/clock/clock.h"
#include "platform/net/udp_socket.h"
#include "sim/receiver_state.h"
#include "sim/status_datagram.h"

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

// Junk to some ports at `perSecond` datagrams a second per port, in turn:
// one byte, a whole datagram with a model code no receiver has, one that
// ends before the MAC address, and one of random bytes (no model code).
class NoiseSource {
  public:
    NoiseSource(platform::net::Ipv4 from, std::vector<std::uint16_t> ports, int perSecond)
        : m_ports(std::move(ports)), m_interval(1000 / perSecond) {
        EXPECT_TRUE(m_socket.Open());
        EXPECT_TRUE(m_socket.Bind(from, 0));
        m_thread = std::thread([this] { Run(); });
    }
    ~NoiseSource() {
        m_stop = true;
        m_thread.join();
    }
    std::uint64_t Sent() const { return m_sent; }

  private:
    void Run() {
        std::vector<std::vector<std::uint8_t>> kinds(4);
        kinds[0] = {0x43};
        kinds[1].assign(170, 0);
        kinds[1][0x20] = 0x35;
        kinds[2].assign(0x30, 0);
        kinds[2][0x20] = 0x43;
        std::uint32_t random = 12345;
        for (std::uint64_t n = 0; !m_stop; ++n) {
            const auto due = std::chrono::steady_clock::now() + m_interval;
            kinds[3].resize(1 + n % 200);
            for (auto& b : kinds[3])
                b = static_cast<std::uint8_t>((random = random * 1103515245 + 12345) >> 16);
            // Random, but never with a model code: that would be a receiver.
            if (kinds[3].size() > 0x20) kinds[3][0x20] = 0xFF;
            for (std::uint16_t port : m_ports)
                if (m_socket.SendTo(kinds[n % kinds.size()], {127, 0, 0, 1}, port) >= 0) ++m_sent;
            std::this_thread::sleep_until(due);
        }
    }

    platform::net::UdpSocket m_socket;
    std::vector<std::uint16_t> m_ports;
    std::chrono::milliseconds m_interval;
    std::atomic<std::uint64_t> m_sent{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Receivers that are not there: R40 status datagrams with MAC addresses
// 02-5C-C1-7F-xx-xx, `macsPerSource` of them from each source address (not
// loopback ones: see test_support::AddLocalNetwork), sent in turn to the
// status port at about `perSecond` datagrams a second in all, as a spoofing
// host on the LAN would.
class ForgedReceivers {
  public:
    ForgedReceivers(const std::vector<platform::net::Ipv4>& sources, int macsPerSource,
                    int perSecond, std::uint16_t port = 6516)
        : m_port(port), m_perSecond(perSecond) {
        int forged = 0;
        for (const platform::net::Ipv4& source : sources) {
            auto& socket = m_sockets.emplace_back();
            EXPECT_TRUE(socket.Open() && socket.Bind(source, 0));
            for (int i = 0; i < macsPerSource; ++i, ++forged) {
                sim::ReceiverState state = sim::DefaultState(sim::Model::R40, source, port);
                state.mac = {0x02,
                             0x5C,
                             0xC1,
                             0x7F,
                             static_cast<std::uint8_t>(forged >> 8),
                             static_cast<std::uint8_t>(forged)};
                m_datagrams.push_back(
                    {m_sockets.size() - 1, sim::BuildStatusDatagram(sim::Model::R40, state)});
            }
        }
        m_thread = std::thread([this] { Run(); });
    }
    ~ForgedReceivers() {
        m_stop = true;
        m_thread.join();
    }
    std::uint64_t Sent() const { return m_sent; }

  private:
    void Run() {
        // In bursts every 10 ms, so that the rate holds whatever the sleeps.
        constexpr auto STEP = std::chrono::milliseconds(10);
        const int perStep = std::max(1, m_perSecond / 100);
        std::size_t next = 0;
        while (!m_stop) {
            const auto due = std::chrono::steady_clock::now() + STEP;
            for (int i = 0; i < perStep; ++i, next = (next + 1) % m_datagrams.size()) {
                const auto& [socket, bytes] = m_datagrams[next];
                if (m_sockets[socket].SendTo(bytes, {127, 0, 0, 1}, m_port) >= 0) ++m_sent;
            }
            std::this_thread::sleep_until(due);
        }
    }

    std::uint16_t m_port;
    int m_perSecond;
    std::deque<platform::net::UdpSocket> m_sockets;
    std::vector<std::pair<std::size_t, std::vector<std::uint8_t>>> m_datagrams;
    std::atomic<std::uint64_t> m_sent{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace devicelib_test
