#include "sim/status_datagram.h"

#include "sim/byte_writer.h"

namespace sim {
namespace {

namespace off = status_offset;

void PutCommonPart(std::span<std::uint8_t> d, Model model, const ReceiverState& s) {
    const ModelTraits& traits = TraitsOf(model);
    if (traits.hasCaTable) {
        // The conditional-access receiver reports its CA values in the head block.
        for (std::size_t i = 0; i < kCaTableEntries; ++i)
            PutU16(d, off::kHeadBlock + 2 * i, s.caTable[i].value);
    } else {
        PutBytes(d, off::kHeadBlock, s.headBlock);
    }
    PutU8(d, off::kModelCode, s.modelCode);
    PutU8(d, off::kVersion, s.version);
    PutBytes(d, off::kUnicastStatusAddress, s.unicastStatusAddress);
    PutBytes(d, off::kSubnetMask, s.subnetMask);
    PutBytes(d, off::kGateway, s.gateway);
    PutU16(d, off::kStatusPort, s.reportedStatusPort);
    PutBytes(d, off::kMac, s.mac);
    PutU16(d, off::kModeWord, s.modeWord);
    PutU16(d, off::kWord38, s.word38);
    PutU16(d, off::kDataCounter, s.dataCounter);
    for (std::size_t i = 0; i < s.words54to60.size(); ++i)
        PutU16(d, off::kWords54 + 2 * i, s.words54to60[i]);
    PutU8(d, off::kOptionFlags, s.optionFlags);
    PutU8(d, off::kByte63, s.byte63);
    for (std::size_t i = 0; i < traits.pidEntries; ++i)
        PutU16(d, off::kPidTable + 2 * i, s.pids[i].word);
    if (traits.dvbMacOffset != 0) PutBytes(d, traits.dvbMacOffset, s.dvbMac);
}

void PutAtscPart(std::span<std::uint8_t> d, const ReceiverState& s) {
    const AtscSignal& a = s.atsc;
    PutU16(d, off::kChannel, s.channel);
    std::uint8_t flags = static_cast<std::uint8_t>(a.receiverFlags & ~kAtscLockBit);
    if (a.locked) flags |= kAtscLockBit;
    PutU8(d, off::kReceiverFlags, flags);
    PutU8(d, off::kModulation, a.modulationCode);
    PutU8(d, off::kByte3E, a.byte3E);
    PutU8(d, off::kByte3F, a.byte3F);
    PutU16(d, off::kErrorLevelA, a.errorLevelA);
    PutU16(d, off::kErrorLevelB, a.errorLevelB);
    PutU16(d, off::kCarrierOffset, static_cast<std::uint16_t>(a.carrierOffset));
    PutU16(d, off::kValue46, a.value46);
    PutU16(d, off::kValue48, a.value48);
    PutU16(d, off::kWord4A, a.word4A);
    PutU16(d, off::kWord4C, a.word4C);
    PutU16(d, off::kWord4E, a.word4E);
}

void PutSatellitePart(std::span<std::uint8_t> d, const ReceiverState& s) {
    const SatelliteSignal& v = s.satellite;
    PutU16(d, off::kSymbolRate, s.tuning.symbolRate);
    PutU16(d, off::kFrequency, s.tuning.frequency);
    PutU8(d, off::kTuningFlags, s.tuning.flags);
    PutU8(d, off::kCode3F, v.code3F);
    PutU8(d, off::kLevel, v.level);
    std::uint8_t flags = static_cast<std::uint8_t>(v.flags & ~kSatelliteLockBit);
    if (v.locked) flags |= kSatelliteLockBit;
    PutU8(d, off::kSatelliteFlags, flags);
    PutU8(d, off::kMantissa, static_cast<std::uint8_t>(v.mantissa >> 16));
    PutU8(d, off::kMantissa + 1, static_cast<std::uint8_t>(v.mantissa >> 8));
    PutU8(d, off::kMantissa + 2, static_cast<std::uint8_t>(v.mantissa));
    PutU8(d, off::kExponent, v.exponent);
    PutU8(d, off::kByte46, v.byte46);
    PutBytes(d, off::kBlock48, v.block48);
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

    if (overrides.modelCode) d[off::kModelCode] = *overrides.modelCode;
    if (overrides.foreignMacPrefix) d[off::kMac] = 0x00;
    if (overrides.length) d.resize(*overrides.length, 0);
    return d;
}

}  // namespace sim
