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
        : port_(port), bytes_(std::move(bytes)) {
        EXPECT_TRUE(socket_.Open());
        EXPECT_TRUE(socket_.Bind(from, 0));
        thread_ = std::thread([this] {
            while (!stop_) {
                {
                    std::lock_guard lock(mutex_);
                    socket_.SendTo(bytes_, {127, 0, 0, 1}, port_);
                }
                platform::clock::SleepMilliseconds(15);
            }
        });
    }
    ~Transmitter() {
        stop_ = true;
        thread_.join();
    }
    void Replace(std::vector<std::uint8_t> bytes) {
        std::lock_guard lock(mutex_);
        bytes_ = std::move(bytes);
    }

  private:
    platform::net::UdpSocket socket_;
    std::uint16_t port_;
    std::mutex mutex_;
    std::vector<std::uint8_t> bytes_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace devicelib_test
