#include "tools/r40ctl/exporter/heard_datagram.h"

#include <cstring>

namespace r40ctl::exporter {

Reading ReadingOf(const ReceiverStatus& status) {
    Reading reading;
    reading.locked = status.locked;
    reading.dataActive = status.dataActivity > 0;
    reading.snrDecibels = status.snrDb;
    reading.carrierOffsetHertz = status.carrierOffsetHz;
    reading.channel = status.channel;
    if (status.signalPercent) reading.signalRatio = *status.signalPercent / 100.0;
    if (status.satellite) {
        reading.frequencyHertz = status.satellite->frequencyMhz * 1e6;
        reading.symbolRate = status.satellite->symbolRateMsps * 1e6;
    }
    reading.pids = status.pids.size();
    return reading;
}

void TakeDatagram(ReceiverTable& table, std::span<const std::uint8_t> datagram, const Ipv4& source,
                  std::uint16_t port, SteadyTime now, double unixSeconds) {
    DeviceInfo sender{};
    std::memcpy(sender.address, source.data(), 4);
    sender.statusPort = port;
    AnyStatusRecord record;
    std::memset(&record, 0, sizeof record);
    const std::int32_t result =
        DecodeStatusDatagram(datagram.data(), datagram.size(), &sender, &record, sizeof record);
    if (result != 0) {
        table.Refused(sender, result);
        return;
    }
    table.Accepted(sender, ReadingOf(DecodeStatus(sender.deviceType, &record)), now, unixSeconds);
}

}  // namespace r40ctl::exporter
