// The command line of r40-receiver-sim and the address texts it uses.
#include "sim/program_options.h"

#include <gtest/gtest.h>

#include "sim/address_text.h"

namespace {

using namespace sim;

bool Parse(std::vector<std::string_view> args, ProgramOptions* options, std::string* error) {
    return ParseProgramOptions(args, options, error);
}

TEST(ProgramOptions, TheREADMEsExample) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"r40@127.0.0.20", "r40v@127.0.0.21", "t22v3@127.0.0.22"}, &o, &error))
        << error;
    ASSERT_EQ(o.receivers.size(), 3u);
    EXPECT_EQ(o.receivers[0].model, Model::R40);
    EXPECT_EQ(o.receivers[1].model, Model::R40V);
    EXPECT_EQ(o.receivers[2].model, Model::T22V3);
    EXPECT_EQ(o.receivers[2].address, (Ipv4{127, 0, 0, 22}));
    EXPECT_EQ(o.receivers[0].statusPort, 6516);
    EXPECT_EQ(o.receivers[1].modelCode, 0x44);
    EXPECT_EQ(o.intervalMs, 1000);
    EXPECT_EQ(o.unicast, NO_UNICAST_ADDRESS);
    EXPECT_FALSE(o.help);
}

TEST(ProgramOptions, OptionsPortsAndVariants) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--interval-ms", "50", "--unicast=127.0.0.1", "--reset-pause-ms", "0",
                       "--broadcast", "10.0.0.255", "-q", "t22ca-34@127.0.0.5:8309",
                       "T22CA@127.0.0.6", "trevan@127.0.0.7:18037", "t22v2@10.1.2.3"},
                      &o, &error))
        << error;
    EXPECT_EQ(o.intervalMs, 50);
    EXPECT_EQ(o.resetPauseMs, 0);
    EXPECT_EQ(o.unicast, (Ipv4{127, 0, 0, 1}));
    EXPECT_EQ(o.broadcast, (Ipv4{10, 0, 0, 255}));
    EXPECT_TRUE(o.quiet);
    ASSERT_EQ(o.receivers.size(), 4u);
    EXPECT_EQ(o.receivers[0].model, Model::T22CA);
    EXPECT_EQ(o.receivers[0].modelCode, 0x34);
    EXPECT_EQ(o.receivers[0].statusPort, 8309);
    EXPECT_EQ(o.receivers[1].modelCode, 0x54);
    EXPECT_EQ(o.receivers[2].statusPort, 18037);
    EXPECT_EQ(o.receivers[3].model, Model::T22V2);
}

TEST(ProgramOptions, LossAndVanishing) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(
        Parse({"--status-loss=0", "--loss", "0.3", "--vanish", "20000:5000", "r40@127.0.0.20"}, &o,
              &error))
        << error;
    EXPECT_EQ(o.loss.echoes, 0.3);
    EXPECT_EQ(o.loss.tableReplies, 0.3);
    EXPECT_EQ(o.loss.statuses, 0.0) << "a kind's own option wins, wherever it stands";
    ASSERT_TRUE(o.vanish.has_value());
    EXPECT_EQ(o.vanish->present, std::chrono::milliseconds(20000));
    EXPECT_EQ(o.vanish->absent, std::chrono::milliseconds(5000));
    ASSERT_TRUE(Parse({"r40@127.0.0.20"}, &o, &error));
    EXPECT_EQ(o.loss.echoes, 0.0);
    EXPECT_FALSE(o.vanish.has_value());
}

TEST(ProgramOptions, HelpNeedsNoReceiver) {
    ProgramOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, &o, &error));
    EXPECT_TRUE(o.help);
    EXPECT_NE(UsageText().find("r40-receiver-sim r40@127.0.0.20 r40v@127.0.0.21 t22v3@127.0.0.22"),
              std::string::npos);
}

TEST(ProgramOptions, RefusesWhatItCannotRun) {
    const std::vector<std::vector<std::string_view>> bad{
        {},
        {"--interval-ms"},
        {"--interval-ms", "0", "r40@127.0.0.20"},
        {"--interval-ms", "12x", "r40@127.0.0.20"},
        {"--interval-ms", "-5", "r40@127.0.0.20"},
        {"--unicast", "127.0.0", "r40@127.0.0.20"},
        {"--frobnicate", "r40@127.0.0.20"},
        {"r41@127.0.0.20"},
        {"r40"},
        {"r40@"},
        {"r40@127.0.0.256"},
        {"r40@127.0.0.20:0"},
        {"r40@127.0.0.20:65536"},
        {"r40@127.0.0.20:"},
        {"r40@127.0.0.20", "t22v3@127.0.0.20"},
        {"--loss", "1.5", "r40@127.0.0.20"},
        {"--loss", "-0.1", "r40@127.0.0.20"},
        {"--loss", "nan", "r40@127.0.0.20"},
        {"--echo-loss", "30%", "r40@127.0.0.20"},
        {"--vanish", "5000", "r40@127.0.0.20"},
        {"--vanish", "0:5000", "r40@127.0.0.20"},
        {"--vanish", "5000:", "r40@127.0.0.20"},
    };
    for (const auto& args : bad) {
        ProgramOptions o;
        std::string error;
        EXPECT_FALSE(Parse(args, &o, &error)) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(error.empty());
    }
}

TEST(AddressText, ParsesStrictlyAndFormats) {
    EXPECT_EQ(ParseIpv4("127.0.0.20"), (Ipv4{127, 0, 0, 20}));
    EXPECT_EQ(ParseIpv4("255.255.255.255"), (Ipv4{255, 255, 255, 255}));
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..2.3", " 1.2.3.4", "1.2.3.4 ",
                            "a.b.c.d", "1.2.3.0004", "-1.2.3.4"})
        EXPECT_FALSE(ParseIpv4(bad).has_value()) << bad;
    EXPECT_EQ(FormatIpv4({10, 0, 200, 1}), "10.0.200.1");
    EXPECT_EQ(FormatMac({0x02, 0x5C, 0xC1, 0x00, 0x0A, 0xFF}), "02-5C-C1-00-0A-FF");
}

}  // namespace
