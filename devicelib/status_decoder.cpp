#include "devicelib/status_decoder.h"

#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/pid_list.h"
#include "devicelib/signal_math.h"

namespace devicelib {
namespace {

std::uint16_t Word(const StatusBuffer& dg, std::size_t offset) {
    return LoadHost16(&dg[offset]);
}

std::uint8_t Bit(std::uint8_t byte, int bit) {
    return (byte >> bit) & 1;
}

}  // namespace

void PutByte(std::uint8_t* field, std::uint8_t value) {
    *field = value;
}
void PutWord(std::uint8_t* field, std::uint16_t value) {
    StoreHost16(field, value);
}
void PutFloat(std::uint8_t* field, float value) {
    std::memcpy(field, &value, sizeof value);
}

void DecodeCommonStatus(Status& view, const StatusBuffer& dg, const Ipv4& deviceAddress,
                        int pidEntries, int controlBits) {
    std::memcpy(view.headBlock(), &dg[0x00], 32);
    // The word at 0x20 holds the model code (high byte) and the version.
    const std::uint8_t version = Word(dg, 0x20) & 0xFF;
    PutByte(view.versionMajor(), version >> 4);
    PutByte(view.versionMinor(), version & 0x0F);
    PutWord(view.word38(), Word(dg, 0x38));
    std::memcpy(view.defaultGateway(), &dg[0x2A], 4);
    std::memcpy(view.unicastStatusAddress(), &dg[0x22], 4);
    std::memcpy(view.subnetMask(), &dg[0x26], 4);
    std::memcpy(view.mac(), &dg[0x30], 6);
    PutWord(view.statusPort(), Word(dg, 0x2E));
    PutWord(view.word54(), Word(dg, 0x54));
    PutWord(view.word56(), Word(dg, 0x56));
    PutWord(view.dataActivity(), Word(dg, 0x52));
    PutWord(view.word5A(), Word(dg, 0x5A));
    const std::uint16_t words58[4] = {Word(dg, 0x58), Word(dg, 0x5E), Word(dg, 0x60),
                                      Word(dg, 0x5C)};
    std::memcpy(view.words58(), words58, sizeof words58);
    std::memcpy(view.deviceAddress(), deviceAddress.data(), 4);

    auto* pids = reinterpret_cast<PidListRecord*>(view.pids());
    const std::uint16_t controlMask = controlBits >= 3 ? 7 : 1;
    for (int i = 0; i < pidEntries && i < MAX_PIDS; ++i) {
        const std::uint16_t word = Word(dg, 0x64 + 2 * static_cast<std::size_t>(i));
        pids->pid[i] = word & 0x1FFF;
        pids->control[i] = static_cast<std::uint8_t>((word >> 13) & controlMask);
    }
    CompactPidList(*pids, pidEntries);
}

void DecodeFamilyStatus(ATSCStatus& view, const StatusBuffer& dg) {
    PutByte(view.modeFlag(), Word(dg, 0x36) == 0x0400 ? 1 : 0);
    PutWord(view.channel(), Word(dg, 0x3A));
    PutWord(view.word4C(), Word(dg, 0x4C));
    PutWord(view.word4E(), Word(dg, 0x4E));
    PutWord(view.word4A(), Word(dg, 0x4A));
    PutFloat(view.carrierOffset(), CarrierOffsetHz(Word(dg, 0x44)));
    PutFloat(view.value46(), static_cast<float>(Word(dg, 0x46) * 0.0009765625));
    PutFloat(view.value48(), static_cast<float>(Word(dg, 0x48) * 0.0009765625));
    const std::uint8_t flags = dg[0x3C];
    PutByte(view.receiverFlags(), flags);
    const Modulation modulation = ModulationFromCode(dg[0x3D]);
    PutByte(view.modulation(), modulation.value);
    float snr = SignalToNoiseDb(modulation.factor, Word(dg, 0x40));
    // With flag bit 4 the receiver reports error level A 3 dB low.
    if (Bit(flags, 4)) snr -= 3.0f;
    PutFloat(view.snr(), snr);
    PutFloat(view.snrB(), SignalToNoiseDb(modulation.factor, Word(dg, 0x42)));
    PutByte(view.byte3F(), dg[0x3F]);
    PutByte(view.byte3E(), dg[0x3E]);
    PutByte(view.lock(), Bit(flags, 0));
    PutByte(view.flagBit1(), Bit(flags, 1));
    PutByte(view.flagBits2to3(), (flags >> 2) & 3);
    PutByte(view.snrLowFlag(), Bit(flags, 4));
    PutByte(view.flagBit7(), Bit(flags, 7));
    PutByte(view.igmpOn(), Bit(dg[0x62], 2));
}

void DecodeFamilyStatus(SatelliteStatus& view, const StatusBuffer& dg) {
    PutByte(view.modeFlag(), Word(dg, 0x36) == 0x0400 ? 1 : 0);
    PutFloat(view.symbolRate(), static_cast<float>(Word(dg, 0x3A) / 1000.0));
    PutFloat(view.frequency(), static_cast<float>(Word(dg, 0x3C) / 10.0));
    const std::uint8_t tuning = dg[0x3E];
    PutByte(view.tuneBit0(), Bit(tuning, 0));
    PutByte(view.tuneBit1(), Bit(tuning, 1));
    PutByte(view.tuneBit2(), Bit(tuning, 2));
    PutByte(view.code3F(), MapCode3F(dg[0x3F]));
    const std::uint8_t flags = dg[0x41];
    PutByte(view.satFlagBit0(), Bit(flags, 0));
    PutByte(view.lock(), Bit(flags, 1));
    PutByte(view.satFlagBit2(), Bit(flags, 2));
    PutByte(view.byte46(), dg[0x46]);
}

std::uint32_t SatelliteMantissa(const StatusBuffer& dg) {
    return (static_cast<std::uint32_t>(dg[0x42]) << 16) |
           (static_cast<std::uint32_t>(dg[0x43]) << 8) | dg[0x44];
}

}  // namespace devicelib
