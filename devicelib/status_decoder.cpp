#include "devicelib/status_decoder.h"

#include <cstring>

#include "devicelib/byte_order.h"
#include "devicelib/pid_list.h"
#include "devicelib/signal_math.h"
#include "devicelib/status_datagram_layout.h"

namespace devicelib {
namespace {

namespace layout = status_datagram;

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
    std::memcpy(view.headBlock(), &dg[layout::HEAD_BLOCK], layout::HEAD_BLOCK_LENGTH);
    const std::uint8_t version = Word(dg, layout::MODEL_AND_VERSION) & 0xFF;
    PutByte(view.versionMajor(), version >> 4);
    PutByte(view.versionMinor(), version & 0x0F);
    PutWord(view.word38(), Word(dg, layout::WORD_38));
    std::memcpy(view.defaultGateway(), &dg[layout::DEFAULT_GATEWAY], 4);
    std::memcpy(view.unicastStatusAddress(), &dg[layout::UNICAST_STATUS_ADDRESS], 4);
    std::memcpy(view.subnetMask(), &dg[layout::SUBNET_MASK], 4);
    std::memcpy(view.mac(), &dg[layout::MAC], 6);
    PutWord(view.statusPort(), Word(dg, layout::STATUS_PORT));
    PutWord(view.word54(), Word(dg, layout::WORD_54));
    PutWord(view.word56(), Word(dg, layout::WORD_56));
    PutWord(view.dataActivity(), Word(dg, layout::DATA_ACTIVITY));
    PutWord(view.word5A(), Word(dg, layout::WORD_5A));
    const std::uint16_t words58[4] = {Word(dg, layout::WORD_58), Word(dg, layout::WORD_5E),
                                      Word(dg, layout::WORD_60), Word(dg, layout::WORD_5C)};
    std::memcpy(view.words58(), words58, sizeof words58);
    std::memcpy(view.deviceAddress(), deviceAddress.data(), 4);

    auto* pids = reinterpret_cast<PidListRecord*>(view.pids());
    const std::uint16_t controlMask = controlBits >= 3 ? 7 : 1;
    for (int i = 0; i < pidEntries && i < MAX_PIDS; ++i) {
        const std::uint16_t word = Word(dg, layout::PID_TABLE + 2 * static_cast<std::size_t>(i));
        pids->pid[i] = word & layout::PID_BITS;
        pids->control[i] = static_cast<std::uint8_t>((word >> layout::CONTROL_SHIFT) & controlMask);
    }
    CompactPidList(*pids, pidEntries);
}

void DecodeFamilyStatus(ATSCStatus& view, const StatusBuffer& dg) {
    PutByte(view.modeFlag(), Word(dg, layout::MODE_WORD) == layout::MODE_SET ? 1 : 0);
    PutWord(view.channel(), Word(dg, layout::atsc::CHANNEL));
    PutWord(view.word4C(), Word(dg, layout::atsc::WORD_4C));
    PutWord(view.word4E(), Word(dg, layout::atsc::WORD_4E));
    PutWord(view.word4A(), Word(dg, layout::atsc::WORD_4A));
    PutFloat(view.carrierOffset(), CarrierOffsetHz(Word(dg, layout::atsc::CARRIER_OFFSET)));
    PutFloat(view.value46(), static_cast<float>(Word(dg, layout::atsc::VALUE_46) * 0.0009765625));
    PutFloat(view.value48(), static_cast<float>(Word(dg, layout::atsc::VALUE_48) * 0.0009765625));
    const std::uint8_t flags = dg[layout::atsc::RECEIVER_FLAGS];
    PutByte(view.receiverFlags(), flags);
    const Modulation modulation = ModulationFromCode(dg[layout::atsc::MODULATION]);
    PutByte(view.modulation(), modulation.value);
    float snr = SignalToNoiseDb(modulation.factor, Word(dg, layout::atsc::ERROR_LEVEL_A));
    // With this flag the receiver reports error level A 3 dB low.
    if (Bit(flags, layout::atsc::SNR_LOW_BIT)) snr -= 3.0f;
    PutFloat(view.snr(), snr);
    PutFloat(view.snrB(),
             SignalToNoiseDb(modulation.factor, Word(dg, layout::atsc::ERROR_LEVEL_B)));
    PutByte(view.byte3F(), dg[layout::atsc::BYTE_3F]);
    PutByte(view.byte3E(), dg[layout::atsc::BYTE_3E]);
    PutByte(view.lock(), Bit(flags, layout::atsc::LOCK_BIT));
    PutByte(view.flagBit1(), Bit(flags, 1));
    PutByte(view.flagBits2to3(), (flags >> 2) & 3);
    PutByte(view.snrLowFlag(), Bit(flags, layout::atsc::SNR_LOW_BIT));
    PutByte(view.flagBit7(), Bit(flags, 7));
    PutByte(view.igmpOn(), Bit(dg[layout::OPTION_FLAGS], layout::OPTION_IGMP_BIT));
}

void DecodeFamilyStatus(SatelliteStatus& view, const StatusBuffer& dg) {
    PutByte(view.modeFlag(), Word(dg, layout::MODE_WORD) == layout::MODE_SET ? 1 : 0);
    PutFloat(view.symbolRate(),
             static_cast<float>(Word(dg, layout::satellite::SYMBOL_RATE) / 1000.0));
    PutFloat(view.frequency(), static_cast<float>(Word(dg, layout::satellite::FREQUENCY) / 10.0));
    const std::uint8_t tuning = dg[layout::satellite::TUNING_FLAGS];
    PutByte(view.tuneBit0(), Bit(tuning, 0));
    PutByte(view.tuneBit1(), Bit(tuning, 1));
    PutByte(view.tuneBit2(), Bit(tuning, 2));
    PutByte(view.code3F(), MapCode3F(dg[layout::satellite::CODE_3F]));
    const std::uint8_t flags = dg[layout::satellite::RECEIVER_FLAGS];
    PutByte(view.satFlagBit0(), Bit(flags, 0));
    PutByte(view.lock(), Bit(flags, layout::satellite::LOCK_BIT));
    PutByte(view.satFlagBit2(), Bit(flags, 2));
    PutByte(view.byte46(), dg[layout::satellite::BYTE_46]);
}

std::uint32_t SatelliteMantissa(const StatusBuffer& dg) {
    const std::uint8_t* m = &dg[layout::satellite::MANTISSA];
    return (static_cast<std::uint32_t>(m[0]) << 16) | (static_cast<std::uint32_t>(m[1]) << 8) |
           m[2];
}

}  // namespace devicelib
