// The status datagram of each model, field by field at its offset.
#include "sim/status_datagram.h"

#include <ostream>

#include <gtest/gtest.h>

#include "wire_peer.h"

namespace {

using namespace sim;
namespace off = sim::status_offset;
using simtest::Word;

struct Expected {
    Model model;
    std::uint8_t code;
    std::size_t length;
    std::size_t pidEntries;
    std::size_t dvbMacOffset;  // 0: none
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << TraitsOf(e.model).key;
}

class StatusLayout : public ::testing::TestWithParam<Expected> {
  protected:
    // A state in which every field holds a value of its own, so that a field
    // written at the wrong offset shows.
    static ReceiverState Distinctive(Model model) {
        ReceiverState s = DefaultState(model, {127, 0, 0, 42}, 8309);
        s.version = 0x37;
        s.unicastStatusAddress = {10, 1, 2, 3};
        s.subnetMask = {255, 255, 240, 0};
        s.gateway = {10, 1, 0, 254};
        s.reportedStatusPort = 9077;
        s.mac = {0x02, 0x5C, 0xC1, 0xAB, 0xCD, 0xEF};
        s.dvbMac = {0x02, 0x5C, 0xC1, 0x11, 0x22, 0x33};
        s.modeWord = 0x0400;
        s.word38 = 0x3839;
        s.dataCounter = 0x5253;
        for (std::size_t i = 0; i < s.words54to60.size(); ++i)
            s.words54to60[i] = static_cast<std::uint16_t>(0x5400 + 2 * i);
        s.optionFlags = 0x05;
        s.byte63 = 0x63;
        for (std::size_t i = 0; i < s.pids.size(); ++i)
            s.pids[i] = PidEntry::Make(static_cast<std::uint16_t>(0x100 + i),
                                       static_cast<std::uint8_t>(i % 8));
        for (std::size_t i = 0; i < s.headBlock.size(); ++i)
            s.headBlock[i] = static_cast<std::uint8_t>(0xC0 + i);
        for (std::size_t i = 0; i < s.caTable.size(); ++i)
            s.caTable[i].value = static_cast<std::uint16_t>(0xCA00 + i);
        s.channel = 0x0045;
        s.atsc = {true, 0x10,   5,      0x3E,   0x3F,   0x4041, 0x4243,
                  -2,   0x4647, 0x4849, 0x4A4B, 0x4C4D, 0x4E4F};
        s.tuning = {0x6B6C, 0x3039, 0x1B};
        s.satellite = {true, 0x05, 4, 0x77, 0x424344, 0x45, 0x46, {1, 2, 3, 4, 5, 6, 7, 8}};
        return s;
    }
};

TEST_P(StatusLayout, CommonPartAtItsOffsets) {
    const Expected e = GetParam();
    const ReceiverState s = Distinctive(e.model);
    const std::vector<std::uint8_t> d = BuildStatusDatagram(e.model, s);

    ASSERT_EQ(d.size(), e.length);
    EXPECT_EQ(d[off::MODEL_CODE], e.code);
    EXPECT_EQ(d[off::VERSION], 0x37);
    EXPECT_EQ(std::vector(d.begin() + 0x22, d.begin() + 0x26),
              (std::vector<std::uint8_t>{10, 1, 2, 3}));
    EXPECT_EQ(std::vector(d.begin() + 0x26, d.begin() + 0x2A),
              (std::vector<std::uint8_t>{255, 255, 240, 0}));
    EXPECT_EQ(std::vector(d.begin() + 0x2A, d.begin() + 0x2E),
              (std::vector<std::uint8_t>{10, 1, 0, 254}));
    EXPECT_EQ(Word(d, 0x2E), 9077);
    EXPECT_EQ(std::vector(d.begin() + 0x30, d.begin() + 0x36),
              (std::vector<std::uint8_t>{0x02, 0x5C, 0xC1, 0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(Word(d, 0x36), 0x0400);
    EXPECT_EQ(Word(d, 0x38), 0x3839);
    EXPECT_EQ(Word(d, 0x50), 0);  // never written
    EXPECT_EQ(Word(d, 0x52), 0x5253);
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(Word(d, 0x54 + 2 * i), 0x5400 + 2 * i) << i;
    EXPECT_EQ(d[0x62], 0x05);
    EXPECT_EQ(d[0x63], 0x63);
    for (std::size_t i = 0; i < e.pidEntries; ++i)
        EXPECT_EQ(Word(d, 0x64 + 2 * i), s.pids[i].word) << "PID entry " << i;
    if (e.dvbMacOffset != 0) {
        EXPECT_EQ(std::vector(d.begin() + static_cast<std::ptrdiff_t>(e.dvbMacOffset),
                              d.begin() + static_cast<std::ptrdiff_t>(e.dvbMacOffset) + 6),
                  (std::vector<std::uint8_t>{0x02, 0x5C, 0xC1, 0x11, 0x22, 0x33}));
    }
    // Nothing of the PID table spills past its entries.
    const std::size_t tableEnd = 0x64 + 2 * e.pidEntries;
    if (e.dvbMacOffset == 0) {
        EXPECT_EQ(tableEnd, d.size());
    } else {
        EXPECT_EQ(tableEnd, e.dvbMacOffset);
    }
}

TEST_P(StatusLayout, HeadBlock) {
    const Expected e = GetParam();
    const ReceiverState s = Distinctive(e.model);
    const std::vector<std::uint8_t> d = BuildStatusDatagram(e.model, s);
    for (std::size_t i = 0; i < 16; ++i) {
        if (e.model == Model::T22CA)
            EXPECT_EQ(Word(d, 2 * i), 0xCA00 + i) << "CA word " << i;
        else
            EXPECT_EQ(Word(d, 2 * i), ((0xC0 + 2 * i) << 8) | (0xC1 + 2 * i)) << i;
    }
}

TEST_P(StatusLayout, FamilyPartAtItsOffsets) {
    const Expected e = GetParam();
    ReceiverState s = Distinctive(e.model);
    std::vector<std::uint8_t> d = BuildStatusDatagram(e.model, s);
    if (TraitsOf(e.model).family == Family::Atsc) {
        EXPECT_EQ(Word(d, 0x3A), 69);
        EXPECT_EQ(d[0x3C], 0x11);  // bit 4 kept, bit 0 lock
        EXPECT_EQ(d[0x3D], 5);
        EXPECT_EQ(d[0x3E], 0x3E);
        EXPECT_EQ(d[0x3F], 0x3F);
        EXPECT_EQ(Word(d, 0x40), 0x4041);
        EXPECT_EQ(Word(d, 0x42), 0x4243);
        EXPECT_EQ(Word(d, 0x44), 0xFFFE);  // signed -2
        EXPECT_EQ(Word(d, 0x46), 0x4647);
        EXPECT_EQ(Word(d, 0x48), 0x4849);
        EXPECT_EQ(Word(d, 0x4A), 0x4A4B);
        EXPECT_EQ(Word(d, 0x4C), 0x4C4D);
        EXPECT_EQ(Word(d, 0x4E), 0x4E4F);
        s.atsc.locked = false;
        d = BuildStatusDatagram(e.model, s);
        EXPECT_EQ(d[0x3C], 0x10);
    } else {
        EXPECT_EQ(Word(d, 0x3A), 0x6B6C);
        EXPECT_EQ(Word(d, 0x3C), 0x3039);
        EXPECT_EQ(d[0x3E], 0x1B);
        EXPECT_EQ(d[0x3F], 4);
        EXPECT_EQ(d[0x40], 0x77);
        EXPECT_EQ(d[0x41], 0x07);  // bits 0 and 2 kept, bit 1 lock
        EXPECT_EQ(d[0x42], 0x42);
        EXPECT_EQ(d[0x43], 0x43);
        EXPECT_EQ(d[0x44], 0x44);
        EXPECT_EQ(d[0x45], 0x45);
        EXPECT_EQ(d[0x46], 0x46);
        EXPECT_EQ(std::vector(d.begin() + 0x48, d.begin() + 0x50),
                  (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
        s.satellite.locked = false;
        d = BuildStatusDatagram(e.model, s);
        EXPECT_EQ(d[0x41], 0x05);
    }
}

TEST_P(StatusLayout, OverridesChangeOnlyWhatTheySay) {
    const Expected e = GetParam();
    const ReceiverState s = Distinctive(e.model);
    const std::vector<std::uint8_t> good = BuildStatusDatagram(e.model, s);

    StatusOverrides code;
    code.modelCode = 0x35;
    std::vector<std::uint8_t> d = BuildStatusDatagram(e.model, s, code);
    EXPECT_EQ(d[0x20], 0x35);
    d[0x20] = good[0x20];
    EXPECT_EQ(d, good);

    StatusOverrides foreign;
    foreign.foreignMacPrefix = true;
    d = BuildStatusDatagram(e.model, s, foreign);
    EXPECT_EQ(d[0x30], 0x00);
    EXPECT_EQ(d[0x31], 0x5C);
    EXPECT_EQ(d[0x32], 0xC1);
    d[0x30] = good[0x30];
    EXPECT_EQ(d, good);

    StatusOverrides length;
    length.length = 100;
    d = BuildStatusDatagram(e.model, s, length);
    EXPECT_EQ(d, std::vector(good.begin(), good.begin() + 100));

    length.length = 200;
    d = BuildStatusDatagram(e.model, s, length);
    ASSERT_EQ(d.size(), 200u);
    EXPECT_EQ(std::vector(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(good.size())), good);
    for (std::size_t i = good.size(); i < d.size(); ++i) EXPECT_EQ(d[i], 0) << i;
}

INSTANTIATE_TEST_SUITE_P(AllModels, StatusLayout,
                         ::testing::Values(Expected{Model::R40, 0x43, 138, 16, 0x84},
                                           Expected{Model::R40V, 0x44, 170, 32, 0xA4},
                                           Expected{Model::T22V3, 0x33, 164, 16, 0x84},
                                           Expected{Model::T22V2, 0x32, 164, 32, 0},
                                           Expected{Model::T22CA, 0x54, 170, 32, 0xA4},
                                           Expected{Model::Trevan, 0x34, 170, 32, 0xA4}),
                         [](const ::testing::TestParamInfo<Expected>& info) {
                             return std::string(TraitsOf(info.param.model).key);
                         });

}  // namespace
