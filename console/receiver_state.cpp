#include "console/receiver_state.h"

#include <algorithm>
#include <cstring>

#include "config/tuning_form.h"

namespace console {

namespace {

template <class Record>
Record Read(std::span<const std::uint8_t> bytes) {
    Record record;
    std::memcpy(&record, bytes.data(), sizeof record);
    return record;
}

template <class Record>
ReceiverState Common(std::uint16_t type, const Record& r) {
    ReceiverState state;
    state.type = type;
    std::copy(std::begin(r.mac), std::end(r.mac), state.mac.begin());
    std::copy(std::begin(r.deviceAddress), std::end(r.deviceAddress), state.address.begin());
    std::copy(std::begin(r.subnetMask), std::end(r.subnetMask), state.mask.begin());
    std::copy(std::begin(r.defaultGateway), std::end(r.defaultGateway), state.gateway.begin());
    std::copy(std::begin(r.unicastStatusAddress), std::end(r.unicastStatusAddress),
              state.unicastStatus.begin());
    return state;
}

// Bits 0 to 2 are in every satellite record; bits 3 and 4 where the model sends them.
template <class Record>
unsigned LowTuningBits(const Record& r) {
    return (r.tuneBit0 != 0 ? 0x01u : 0u) | (r.tuneBit1 != 0 ? 0x02u : 0u) |
           (r.tuneBit2 != 0 ? 0x04u : 0u);
}

template <class Record>
unsigned AllTuningBits(const Record& r) {
    return LowTuningBits(r) | (r.tuneBit3 != 0 ? 0x08u : 0u) | (r.tuneBit4 != 0 ? 0x10u : 0u);
}

template <class Record>
ReceiverState Satellite(std::uint16_t type, const Record& r, unsigned bits) {
    ReceiverState state = Common(type, r);
    state.tuning = config::MakeSatelliteTuning(r.frequency, r.symbolRate, bits);
    return state;
}

}  // namespace

std::optional<ReceiverState> ReceiverStateFrom(std::uint16_t type,
                                               std::span<const std::uint8_t> record) {
    const std::size_t size = devicelib::StatusRecordSize(type);
    if (size == 0 || record.size() < size) return std::nullopt;
    switch (type) {
        case TYPE_R40:
        case TYPE_R40_TREVAN: {
            const auto r = Read<R40StatusRecord>(record);
            ReceiverState state = Common(type, r);
            state.igmp = r.igmpOn == 1;
            state.channel = r.channel;
            return state;
        }
        case TYPE_T22_V2: {
            const auto r = Read<T22V2StatusRecord>(record);
            return Satellite(type, r, LowTuningBits(r));
        }
        case TYPE_T22_V3: {
            const auto r = Read<T22V3StatusRecord>(record);
            return Satellite(type, r, AllTuningBits(r));
        }
        case TYPE_T22CA: {
            const auto r = Read<T22CAStatusRecord>(record);
            ReceiverState state = Satellite(type, r, AllTuningBits(r));
            state.igmp = r.igmpOn == 1;
            return state;
        }
        case TYPE_TREVAN: {
            const auto r = Read<TrevanStatusRecord>(record);
            ReceiverState state = Satellite(type, r, AllTuningBits(r));
            state.igmp = r.igmpOn == 1;
            return state;
        }
        default:
            return std::nullopt;
    }
}

}  // namespace console
