// Status records decoded from exact, hand-made datagrams for each model.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "devicelib/device_models.h"
#include "devicelib/signal_math.h"
#include "platform/clock/fake_clock.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/devicelib/receiver_fixture.h"

namespace devicelib_test {
namespace {

constexpr std::uint16_t PORT = 8821;
const platform::net::Ipv4 DEVICE = TestAddress({127, 0, 0, 80});
const std::uint8_t MAC[6] = {0x02, 0x5C, 0xC1, 0x12, 0x34, 0x56};

// The common part every model shares, with distinct values everywhere.
Datagram CommonDatagram(std::size_t length, std::uint8_t modelCode, int pidEntries) {
    Datagram d(length);
    for (int i = 0; i < 32; ++i) d.U8(i, static_cast<std::uint8_t>(0xA0 + i));
    d.U8(0x20, modelCode).U8(0x21, 0x35);
    d.Raw(0x22, {192, 168, 1, 255}).Raw(0x26, {255, 255, 255, 0}).Raw(0x2A, {192, 168, 1, 1});
    d.U16(0x2E, PORT);
    d.Raw(0x30, {0x02, 0x5C, 0xC1, 0x12, 0x34, 0x56});
    d.U16(0x36, 0x0400).U16(0x38, 0x1238);
    d.U16(0x52, 777).U16(0x54, 0x5454).U16(0x56, 0x5656).U16(0x58, 0x5858);
    d.U16(0x5A, 0x5A5A).U16(0x5C, 0x5C5C).U16(0x5E, 0x5E5E).U16(0x60, 0x6060);
    d.U8(0x62, 0x04).U8(0x63, 0x63);
    for (int i = 0; i < pidEntries; ++i) d.U16(0x64 + 2 * i, 0x1FFF);
    d.U16(0x64 + 2 * 3, 0x2101);  // control 1
    d.U16(0x64 + 2 * 7, 0xE107);  // control 7
    return d;
}

Datagram AtscDatagram(std::size_t length, std::uint8_t modelCode, int pidEntries,
                      std::uint8_t flags) {
    Datagram d = CommonDatagram(length, modelCode, pidEntries);
    d.U16(0x3A, 45).U8(0x3C, flags).U8(0x3D, 6).U8(0x3E, 0x3E).U8(0x3F, 0x3F);
    d.U16(0x40, 6553).U16(0x42, 6553).U16(0x44, 0xFFFF).U16(0x46, 2048).U16(0x48, 512);
    d.U16(0x4A, 0x4A4A).U16(0x4C, 0x4C4C).U16(0x4E, 0x4E4E);
    return d;
}

Datagram SatelliteDatagram(std::size_t length, std::uint8_t modelCode, int pidEntries,
                           std::uint8_t level) {
    Datagram d = CommonDatagram(length, modelCode, pidEntries);
    d.U16(0x3A, 27500).U16(0x3C, 12345).U8(0x3E, 0x1B).U8(0x3F, 4).U8(0x40, level);
    d.U8(0x41, 0x07).Raw(0x42, {0, 0, 25}).U8(0x45, 1).U8(0x46, 0x46);
    d.Raw(0x48, {0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x3A, 0x4F});
    return d;
}

// Opens a device of `type` fed by a transmitter of `datagram`, and decodes.
template <class Record>
Record Decode(std::uint16_t type, const Datagram& datagram) {
    Transmitter transmitter(DEVICE, PORT, datagram.bytes);
    DeviceInfo info{};
    std::memcpy(info.address, DEVICE.data(), 4);
    std::memcpy(info.mac, MAC, 6);
    info.statusPort = PORT;
    info.deviceType = type;
    int32_t result = 0;
    DeviceHandle handle = OpenDevice(&info, 2000, &result);
    EXPECT_NE(handle, nullptr) << result;
    Record record;
    std::memset(&record, 0xCD, sizeof record);
    EXPECT_TRUE(Succeeded(GetDeviceStatus(handle, &record)));
    CloseDevice(handle);
    return record;
}

void ExpectCommonFields(const auto& r) {
    EXPECT_EQ(r.versionMajor, 3);
    EXPECT_EQ(r.versionMinor, 5);
    EXPECT_EQ(r.word38, 0x1238);
    EXPECT_EQ(std::vector<int>(r.deviceAddress, r.deviceAddress + 4),
              std::vector<int>(DEVICE.begin(), DEVICE.end()));
    EXPECT_EQ(r.unicastStatusAddress[3], 255);
    EXPECT_EQ(r.subnetMask[2], 255);
    EXPECT_EQ(r.subnetMask[3], 0);
    EXPECT_EQ(r.defaultGateway[3], 1);
    EXPECT_EQ(r.statusPort, PORT);
    EXPECT_EQ(std::memcmp(r.mac, MAC, 6), 0);
    EXPECT_EQ(r.modeFlag, 1);
    EXPECT_EQ(r.dataActivity, 777);
    EXPECT_EQ(r.word54, 0x5454);
    EXPECT_EQ(r.word56, 0x5656);
    EXPECT_EQ(r.word5A, 0x5A5A);
    EXPECT_EQ(r.words58[0], 0x5858);
    EXPECT_EQ(r.words58[1], 0x5E5E);
    EXPECT_EQ(r.words58[2], 0x6060);
    EXPECT_EQ(r.words58[3], 0x5C5C);
    EXPECT_EQ(r.pids.count, 2);
    EXPECT_EQ(r.pids.pid[0], 0x0101);
    EXPECT_EQ(r.pids.pid[1], 0x0107);
    EXPECT_EQ(r.pids.pid[2], NULL_PID);
}

void ExpectSatelliteFields(const auto& r) {
    EXPECT_FLOAT_EQ(r.symbolRate, 27.5f);
    EXPECT_FLOAT_EQ(r.frequency, 1234.5f);
    EXPECT_EQ(r.tuneBit0, 1);
    EXPECT_EQ(r.tuneBit1, 1);
    EXPECT_EQ(r.tuneBit2, 0);
    EXPECT_EQ(r.code3F, 5);
    EXPECT_EQ(r.satFlagBit0, 1);
    EXPECT_EQ(r.lock, 1);
    EXPECT_EQ(r.satFlagBit2, 1);
    EXPECT_EQ(r.byte46, 0x46);
}

TEST(StatusRecord, R40) {
    const auto r = Decode<R40StatusRecord>(
        TYPE_R40, AtscDatagram(138, 0x43, 16, 0x8B).Raw(0x84, {2, 0x5C, 0xC1, 0xAA, 0xBB, 0xCC}));
    ExpectCommonFields(r);
    EXPECT_EQ(r.pids.control[0], 1);
    EXPECT_EQ(r.pids.control[1], 1);  // one control bit kept
    EXPECT_EQ(r.igmpOn, 1);
    EXPECT_EQ(r.channel, 45);
    EXPECT_EQ(r.receiverFlags, 0x8B);
    EXPECT_EQ(r.modulation, 8);
    EXPECT_EQ(r.byte3E, 0x3E);
    EXPECT_EQ(r.byte3F, 0x3F);
    EXPECT_NEAR(r.snr, 13.20, 0.01);
    EXPECT_NEAR(r.snrB, 13.20, 0.01);
    EXPECT_NEAR(r.carrierOffset, -164.19, 0.01);
    EXPECT_FLOAT_EQ(r.value46, 2.0f);
    EXPECT_FLOAT_EQ(r.value48, 0.5f);
    EXPECT_EQ(r.word4A, 0x4A4A);
    EXPECT_EQ(r.word4C, 0x4C4C);
    EXPECT_EQ(r.word4E, 0x4E4E);
    EXPECT_EQ(r.lock, 1);
    EXPECT_EQ(r.flagBit1, 1);
    EXPECT_EQ(r.flagBits2to3, 2);
    EXPECT_EQ(r.snrLowFlag, 0);
    EXPECT_EQ(r.flagBit7, 1);
    EXPECT_EQ(r.dvbMac[3], 0xAA);
    EXPECT_EQ(r.dvbMac[5], 0xCC);
    EXPECT_EQ(r.headBlock[0], 0xA0);
    EXPECT_EQ(r.headBlock[31], 0xBF);
    EXPECT_EQ(r.reservedAC[0], 0xCD);   // never written
    EXPECT_EQ(r.pids.pid[16], 0xCDCD);  // beyond the R40's 16 entries
}

TEST(StatusRecord, R40SnrReportedLowIsCorrectedByThreeDb) {
    const auto r = Decode<R40StatusRecord>(TYPE_R40, AtscDatagram(138, 0x43, 16, 0x11));
    EXPECT_NEAR(r.snr, 10.20, 0.01);
    EXPECT_NEAR(r.snrB, 13.20, 0.01);
    EXPECT_EQ(r.snrLowFlag, 1);
    EXPECT_EQ(r.flagBit7, 0);
}

TEST(StatusRecord, R40V) {
    const auto r = Decode<R40StatusRecord>(
        TYPE_R40_TREVAN,
        AtscDatagram(170, 0x44, 32, 0x01).Raw(0xA4, {2, 0x5C, 0xC1, 0xDD, 0xEE, 0xFF}));
    ExpectCommonFields(r);
    EXPECT_EQ(r.channel, 45);
    EXPECT_EQ(r.dvbMac[5], 0xFF);
    EXPECT_EQ(r.pids.control[1], 1);
    EXPECT_EQ(r.pids.pid[31], NULL_PID);  // all 32 entries decoded
}

TEST(StatusRecord, T22V3) {
    const auto r = Decode<T22V3StatusRecord>(
        TYPE_T22_V3, SatelliteDatagram(164, 0x33, 16, 108).Raw(0x84, {2, 0x5C, 0xC1, 1, 2, 3}));
    ExpectCommonFields(r);
    ExpectSatelliteFields(r);
    EXPECT_EQ(r.tuneBit3, 1);
    EXPECT_EQ(r.tuneBit4, 1);
    EXPECT_EQ(r.signalPercent, 73);
    EXPECT_FLOAT_EQ(r.scaledValue, 2.5f);
    EXPECT_EQ(r.dvbMac[5], 3);
    EXPECT_EQ(r.block48[0], 0x48);
    EXPECT_EQ(r.block48[7], 0x4F);
    EXPECT_EQ(r.headBlock[1], 0xA1);
    EXPECT_EQ(r.reserved04, 0xCD);
}

TEST(StatusRecord, T22V2) {
    const auto r = Decode<T22V2StatusRecord>(TYPE_T22_V2, SatelliteDatagram(164, 0x42, 32, 96));
    ExpectCommonFields(r);
    ExpectSatelliteFields(r);
    EXPECT_EQ(r.signalPercent, 98);
    EXPECT_FLOAT_EQ(r.scaledValue, 250.0f);
    EXPECT_EQ(r.block48[6], 0x3A);
    EXPECT_EQ(r.pids.control[1], 1);
}

TEST(StatusRecord, T22CAWithItsOwnPercentage) {
    Datagram d = SatelliteDatagram(170, 0x54, 32, 77);
    for (int i = 0; i < 16; ++i) d.U16(2 * i, static_cast<std::uint16_t>(0x1000 + i));
    d.Raw(0xA4, {2, 0x5C, 0xC1, 7, 8, 9});
    const auto r = Decode<T22CAStatusRecord>(TYPE_T22CA, d);
    ExpectSatelliteFields(r);
    EXPECT_EQ(r.signalPercent, 77);
    EXPECT_EQ(r.levelByte, 77);
    EXPECT_FLOAT_EQ(r.scaledValue, 2.5f);
    EXPECT_EQ(r.headBlock[0], 0x1000);
    EXPECT_EQ(r.headBlock[15], 0x100F);
    EXPECT_EQ(r.byte63, 0x63);
    EXPECT_EQ(r.byte46Copy, 0x46);
    EXPECT_EQ(r.nibble4EHigh, 3);
    EXPECT_EQ(r.nibble4ELow, 0xA);
    EXPECT_EQ(r.igmpOn, 1);
    EXPECT_EQ(r.tuneBit4, 1);
    EXPECT_EQ(r.dvbMac[5], 9);
    EXPECT_EQ(r.pids.control[1], 7);  // three control bits kept
}

TEST(StatusRecord, T22CAWithModelCode34UsesTableB) {
    const auto r = Decode<T22CAStatusRecord>(TYPE_T22CA, SatelliteDatagram(170, 0x34, 32, 86));
    EXPECT_EQ(r.signalPercent, 99);
}

TEST(StatusRecord, Trevan) {
    const auto r = Decode<TrevanStatusRecord>(
        TYPE_TREVAN, SatelliteDatagram(170, 0x34, 32, 85).Raw(0xA4, {2, 0x5C, 0xC1, 4, 5, 6}));
    ExpectCommonFields(r);
    ExpectSatelliteFields(r);
    EXPECT_EQ(r.signalPercent, 100);
    EXPECT_EQ(r.dvbMac[5], 6);
    EXPECT_EQ(r.block48[1], 0x49);
    EXPECT_EQ(r.igmpOn, 1);
    EXPECT_EQ(r.pids.control[1], 7);
    EXPECT_EQ(r.headBlock[0], 0xA0);
}

TEST(SignalMath, PercentTableA) {
    const std::pair<int, int> points[] = {{254, 10}, {112, 65}, {108, 73}, {96, 98},
                                          {95, 100}, {94, 110}, {255, 0},  {0, 110}};
    for (auto [level, percent] : points)
        EXPECT_EQ(
            devicelib::SignalPercent(static_cast<std::uint8_t>(level), devicelib::SIGNAL_TABLE_A),
            percent)
            << level;
}

TEST(SignalMath, PercentTableBEndsLower) {
    EXPECT_EQ(devicelib::SignalPercent(95, devicelib::SIGNAL_TABLE_B), 90);
    EXPECT_EQ(devicelib::SignalPercent(85, devicelib::SIGNAL_TABLE_B), 100);
    EXPECT_EQ(devicelib::SignalPercent(84, devicelib::SIGNAL_TABLE_B), 110);
}

TEST(SignalMath, SnrModulationAndEdgeValues) {
    EXPECT_NEAR(devicelib::SignalToNoiseDb(0.328125, 6553), 13.20, 0.01);
    EXPECT_TRUE(std::isinf(devicelib::SignalToNoiseDb(0.328125, 0)));
    EXPECT_EQ(devicelib::ModulationFromCode(5).value, 16);
    EXPECT_EQ(devicelib::ModulationFromCode(9).value, 0);
    EXPECT_NEAR(devicelib::CarrierOffsetHz(0xFFFF), -164.19, 0.01);
    EXPECT_NEAR(devicelib::CarrierOffsetHz(0x7FFF), 5379917.9, 1.0);
    EXPECT_FLOAT_EQ(devicelib::ScaledValue(25, 1, +1), 2.5f);
    EXPECT_FLOAT_EQ(devicelib::ScaledValue(25, 1, -1), 250.0f);
    EXPECT_EQ(devicelib::MapCode3F(3), 0);
    EXPECT_EQ(devicelib::MapCode3F(6), 7);
}

class ReachableR40 : public devicelib::CR40 {
  public:
    void PretendType(std::uint32_t type) { m_type = type; }
};

TEST(StatusRecord, StaleStatusAndWrongTypeAreRefused) {
    Transmitter transmitter(DEVICE, PORT, AtscDatagram(138, 0x43, 16, 1).bytes);
    platform::clock::FakeClock clock;
    ReachableR40 device;
    device.UseClock(clock);
    DeviceInfo info{};
    std::memcpy(info.address, DEVICE.data(), 4);
    std::memcpy(info.mac, MAC, 6);
    info.statusPort = PORT;
    info.deviceType = TYPE_R40;
    ASSERT_EQ(device.Attach(info), RC_ATTACHED);
    ASSERT_EQ(device.OpenListener(), 0);
    ASSERT_EQ(device.WaitStatus(1000), 0);
    R40StatusRecord record{};
    EXPECT_EQ(device.GetStatusRecord(&record), 0);
    clock.AdvanceSeconds(10);
    EXPECT_EQ(device.GetStatusRecord(&record), RC_FAILED);
    ASSERT_EQ(device.WaitStatus(1000), 0);
    device.PretendType(TYPE_R40_TREVAN);
    EXPECT_EQ(device.GetStatusRecord(&record), ERR_STATUS_TYPE_MISMATCH);
}

TEST(StatusRecord, NoNewStatusWithinTwoSecondsIsNoStatus) {
    auto rx = StartReceiver(sim::Model::R40, {127, 0, 0, 81});
    OpenedDevice device;
    Open(*rx, device);
    R40StatusRecord record{};
    ASSERT_TRUE(Succeeded(GetDeviceStatus(device.handle, &record)));
    rx->SetFault(sim::Fault::Silence, true);
    EXPECT_EQ(GetDeviceStatus(device.handle, &record), RC_FAILED);
}

TEST(DvbMacBytes, PointsIntoTheStatusBuffer) {
    devicelib::CR40 r40;
    devicelib::CT22_V2 v2;
    devicelib::CTrevan trevan;
    EXPECT_EQ(r40.DvbMacBytes(), r40.StatusBytes().data() + 0x84);
    EXPECT_EQ(trevan.DvbMacBytes(), trevan.StatusBytes().data() + 0xA4);
    EXPECT_EQ(v2.DvbMacBytes(), nullptr);
}

}  // namespace
}  // namespace devicelib_test
