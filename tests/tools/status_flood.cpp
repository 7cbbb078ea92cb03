#include "tests/tools/status_flood.h"

#include "sim/receiver_model.h"
#include "sim/status_datagram.h"

namespace tools_test {

bool StatusFlood::Open(int sources, std::string* why) {
    m_senders = std::vector<platform::net::UdpSocket>(static_cast<std::size_t>(sources));
    for (int i = 0; i < sources; ++i) {
        platform::net::UdpSocket& sender = m_senders[static_cast<std::size_t>(i)];
        if (!sender.Open() || !sender.SetBroadcast(true) ||
            !sender.Bind({127, 1, static_cast<std::uint8_t>(i / 200),
                          static_cast<std::uint8_t>(1 + i % 200)},
                         0)) {
            *why = "cannot bind flood source " + std::to_string(i);
            return false;
        }
    }
    return true;
}

void StatusFlood::Round() {
    for (platform::net::UdpSocket& sender : m_senders) {
        for (int k = 0; k < 20; ++k) {
            std::vector<std::uint8_t> noise(m_random() % 1500);
            for (auto& b : noise) b = static_cast<std::uint8_t>(m_random());
            sender.SendTo(noise, {127, 255, 255, 255}, k % 2 ? 6516 : 8309);
        }
        for (int k = 0; k < 10; ++k, ++m_forged) {
            const sim::Model model = sim::ALL_MODELS[m_forged % sim::ALL_MODELS.size()];
            sim::ReceiverState state = sim::DefaultState(model, {127, 1, 0, 1});
            state.mac = {0x02,
                         0x5C,
                         0xC1,
                         0x7F,
                         static_cast<std::uint8_t>(m_forged >> 8),
                         static_cast<std::uint8_t>(m_forged)};
            sim::StatusOverrides overrides;
            overrides.foreignMacPrefix = k == 9;
            if (k == 8) overrides.length = 40;
            sender.SendTo(sim::BuildStatusDatagram(model, state, overrides), {127, 255, 255, 255},
                          6516);
        }
    }
}

}  // namespace tools_test
