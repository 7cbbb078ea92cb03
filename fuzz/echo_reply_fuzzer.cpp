// Replies to an echoed command: a responder on loopback answers the tune
// command with the input. Only the command's own bytes may count as its
// echo. Every exchange waits the receiver's reply delay, so this harness
// runs tens of inputs a second, not thousands.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "devicelib/device_models.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr std::uint8_t TUNE_TO_30[6] = {0x00, 0x1E, 0x00, 0x00, 0x00, 0x00};

struct EchoPeer {
    fuzz::OwnNetwork network;  // first: every socket below is opened inside
    EchoPeer() {
        DeviceInfo info{};
        std::memcpy(info.address, fuzz::LOOPBACK.data(), 4);
        std::memcpy(info.mac, fuzz::SEED_MAC.data(), 6);
        info.statusPort = STATUS_PORTS[0];
        info.deviceType = TYPE_R40;
        if (device.Attach(info) != RC_ATTACHED) __builtin_trap();
        if (!responder.Open() || !responder.Bind(fuzz::LOOPBACK, devicelib::PORT_TUNE))
            __builtin_trap();
        std::thread([this] { Answer(); }).detach();  // lives as long as the process
    }

    void Answer() {
        std::vector<std::uint8_t> command(2048);
        for (;;) {
            if (responder.WaitReadable(std::chrono::seconds(1)) !=
                platform::net::WaitResult::Readable)
                continue;
            const platform::net::Received got = responder.Receive(command);
            if (got.status == platform::net::ReceiveStatus::Failed) continue;
            std::lock_guard<std::mutex> lock(mutex);
            responder.SendTo(reply, got.source, got.sourcePort);
        }
    }

    devicelib::CR40 device;
    platform::net::UdpSocket responder;
    std::mutex mutex;
    std::vector<std::uint8_t> reply;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto* peer = new EchoPeer;  // never destroyed: its thread runs to the end
    {
        std::lock_guard<std::mutex> lock(peer->mutex);
        peer->reply.assign(data, data + size);
    }
    const std::int32_t result =
        peer->device.EchoExchange(devicelib::PORT_TUNE, TUNE_TO_30, sizeof TUNE_TO_30);
    const bool isEcho = size == sizeof TUNE_TO_30 && std::memcmp(data, TUNE_TO_30, size) == 0;
    if ((result == 0) != isEcho) __builtin_trap();
    return 0;
}
