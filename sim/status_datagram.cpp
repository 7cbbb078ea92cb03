#include "sim/status_datagram.h"

#include "sim/byte_writer.h"

namespace sim {
namespace {

namespace off = status_offset;

void PutCommonPart(std::span<std::uint8_t> d, Model model, const ReceiverState& s) {
    const ModelTraits& traits = TraitsOf(model);
    if (traits.hasCaTable) {
        // The conditional-access receiver reports its CA values in the head block.
        for (std::size_t i = 0; i < CA_TABLE_SLOTS; ++i)
            PutU16(d, off::HEAD_BLOCK + 2 * i, s.caTable[i].value);
    } else {
        PutBytes(d, off::HEAD_BLOCK, s.headBlock);
    }
    PutU8(d, off::MODEL_CODE, s.modelCode);
    PutU8(d, off::VERSION, s.version);
    PutBytes(d, off::UNICAST_STATUS_ADDRESS, s.unicastStatusAddress);
    PutBytes(d, off::SUBNET_MASK, s.subnetMask);
    PutBytes(d, off::GATEWAY, s.gateway);
    PutU16(d, off::STATUS_PORT, s.reportedStatusPort);
    PutBytes(d, off::MAC, s.mac);
    PutU16(d, off::MODE_WORD, s.modeWord);
    PutU16(d, off::WORD_38, s.word38);
    PutU16(d, off::DATA_COUNTER, s.dataCounter);
    for (std::size_t i = 0; i < s.words54to60.size(); ++i)
        PutU16(d, off::WORDS_54 + 2 * i, s.words54to60[i]);
    PutU8(d, off::OPTION_FLAGS, s.optionFlags);
    PutU8(d, off::BYTE_63, s.byte63);
    for (std::size_t i = 0; i < traits.pidEntries; ++i)
        PutU16(d, off::PID_TABLE + 2 * i, s.pids[i].word);
    if (traits.dvbMacOffset != 0) PutBytes(d, traits.dvbMacOffset, s.dvbMac);
}

void PutAtscPart(std::span<std::uint8_t> d, const ReceiverState& s) {
    const AtscSignal& a = s.atsc;
    PutU16(d, off::CHANNEL, s.channel);
    std::uint8_t flags = static_cast<std::uint8_t>(a.receiverFlags & ~ATSC_LOCK_BIT);
    if (a.locked) flags |= ATSC_LOCK_BIT;
    PutU8(d, off::RECEIVER_FLAGS, flags);
    PutU8(d, off::MODULATION, a.modulationCode);
    PutU8(d, off::BYTE_3E, a.byte3E);
    PutU8(d, off::BYTE_3F, a.byte3F);
    PutU16(d, off::ERROR_LEVEL_A, a.errorLevelA);
    PutU16(d, off::ERROR_LEVEL_B, a.errorLevelB);
    PutU16(d, off::CARRIER_OFFSET, static_cast<std::uint16_t>(a.carrierOffset));
    PutU16(d, off::VALUE_46, a.value46);
    PutU16(d, off::VALUE_48, a.value48);
    PutU16(d, off::WORD_4A, a.word4A);
    PutU16(d, off::WORD_4C, a.word4C);
    PutU16(d, off::WORD_4E, a.word4E);
}

void PutSatellitePart(std::span<std::uint8_t> d, const ReceiverState& s) {
    const SatelliteSignal& v = s.satellite;
    PutU16(d, off::SYMBOL_RATE, s.tuning.symbolRate);
    PutU16(d, off::FREQUENCY, s.tuning.frequency);
    PutU8(d, off::TUNING_FLAGS, s.tuning.flags);
    PutU8(d, off::CODE_3F, v.code3F);
    PutU8(d, off::LEVEL, v.level);
    std::uint8_t flags = static_cast<std::uint8_t>(v.flags & ~SATELLITE_LOCK_BIT);
    if (v.locked) flags |= SATELLITE_LOCK_BIT;
    PutU8(d, off::SATELLITE_FLAGS, flags);
    PutU8(d, off::MANTISSA, static_cast<std::uint8_t>(v.mantissa >> 16));
    PutU8(d, off::MANTISSA + 1, static_cast<std::uint8_t>(v.mantissa >> 8));
    PutU8(d, off::MANTISSA + 2, static_cast<std::uint8_t>(v.mantissa));
    PutU8(d, off::EXPONENT, v.exponent);
    PutU8(d, off::BYTE_46, v.byte46);
    PutBytes(d, off::BLOCK_48, v.block48);
}

}  // namespace

std::vector<std::uint8_t> BuildStatusDatagram(Model model, const ReceiverState& state,
                                              const StatusOverrides& overrides) {
    const ModelTraits& traits = TraitsOf(model);
    std::vector<std::uint8_t> d(traits.statusLength, 0);
    PutCommonPart(d, model, state);
    if (traits.family == Family::Atsc)
        PutAtscPart(d, state);
    else
        PutSatellitePart(d, state);

    if (overrides.modelCode) d[off::MODEL_CODE] = *overrides.modelCode;
    if (overrides.foreignMacPrefix) d[off::MAC] = 0x00;
    if (overrides.length) d.resize(*overrides.length, 0);
    return d;
}

}  // namespace sim
