// Every r40ctl command against every emulated model: what it prints (JSON
// parsed back) and what the receiver holds afterwards.
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "config/r40_settings_to_xml_doc.h"
#include "tests/tools/r40ctl_fixture.h"

namespace tools_test {
namespace {

class EveryModel : public R40ctlTest, public ::testing::WithParamInterface<sim::Model> {
  protected:
    sim::EmulatedReceiver& Receiver() {
        if (m_receivers.empty()) StartReceiver(GetParam());
        return *m_receivers.front();
    }
    bool Atsc() const { return IsAtsc(GetParam()); }
    bool Forwarding() const { return Forwards(GetParam()); }
};

std::string ModelKey(const ::testing::TestParamInfo<sim::Model>& info) {
    return std::string(sim::TraitsOf(info.param).key);
}

// The PIDs in use in the receiver's table, in table order.
std::vector<sim::PidEntry> PidsIn(const sim::EmulatedReceiver& rx) {
    std::vector<sim::PidEntry> used;
    for (const sim::PidEntry& e : rx.PidEntries())
        if (e.Pid() != sim::UNUSED_PID) used.push_back(e);
    return used;
}

TEST_P(EveryModel, StatusShowsTheReceiverAsJsonAndText) {
    sim::EmulatedReceiver& rx = Receiver();
    // Found by the last three MAC bytes, the device key.
    const RunResult json = Run({"status", "00-00-14", "--json"});
    ASSERT_EQ(json.exitCode, 0) << Shown(json);
    const Json doc = Document(json);
    EXPECT_EQ(doc["ok"], true);
    EXPECT_EQ(doc["receiver"]["address"], ReceiverAddress(20));
    EXPECT_EQ(doc["receiver"]["mac"], "02-5C-C1-00-00-14");
    EXPECT_EQ(doc["receiver"]["model"], ModelName(GetParam()));
    EXPECT_EQ(doc["receiver"]["type"], TypeCode(GetParam()));
    EXPECT_EQ(doc["receiver"]["status_port"], 6516);
    EXPECT_TRUE(doc["time"].is_number());
    const Json& s = doc["status"];
    EXPECT_EQ(s["lock"], true);
    EXPECT_EQ(s["address"], ReceiverAddress(20));
    EXPECT_EQ(s["mask"], "255.255.255.0");
    EXPECT_EQ(s["gateway"], "127.0.0.1");
    EXPECT_EQ(s["status_copy"], "255.255.255.255");
    if (Atsc()) {
        EXPECT_EQ(s["channel"], rx.Channel());
        EXPECT_TRUE(s["satellite"].is_null());
        EXPECT_TRUE(s["snr_db"].is_number()) << s;
        EXPECT_GT(s["snr_db"].get<double>(), 10.0);
        EXPECT_TRUE(s["carrier_offset_hz"].is_number());
        EXPECT_TRUE(s["signal"].is_null());
    } else {
        EXPECT_TRUE(s["channel"].is_null());
        EXPECT_DOUBLE_EQ(s["satellite"]["frequency_mhz"].get<double>(), 1234.5);
        EXPECT_DOUBLE_EQ(s["satellite"]["symbol_rate_msps"].get<double>(), 27.5);
        const double ratio = s["signal"].get<double>();
        EXPECT_GE(ratio, 0.0);
        EXPECT_LE(ratio, 1.0);
        EXPECT_EQ(s["signal_percent"].get<int>(), static_cast<int>(ratio * 100 + 0.5));
        EXPECT_TRUE(s["snr_db"].is_null());
    }
    const Json& pids = s["pids"];
    ASSERT_EQ(pids.size(), 4u) << s;
    EXPECT_EQ(pids[1]["pid"], 0x30);
    EXPECT_EQ(pids[2]["pid_hex"], "0x0031");
    if (Forwarding()) {
        EXPECT_EQ(pids[2]["destination"]["address"], "239.1.1.1");
        EXPECT_EQ(pids[2]["destination"]["port"], 1234);
        EXPECT_EQ(pids[2]["control"], 5);
    }
    EXPECT_TRUE(pids[1]["destination"].is_null());

    // The same receiver by its full MAC address, as aligned text.
    const RunResult text = Run({"status", "02:5c:c1:00:00:14"});
    ASSERT_EQ(text.exitCode, 0) << Shown(text);
    EXPECT_NE(text.out.find("\nlock            yes\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find(Atsc() ? "\nchannel " : "\nfrequency "), std::string::npos);
    EXPECT_EQ(text.err, "");
}

TEST_P(EveryModel, TuneIsConfirmedAndHeldByTheReceiver) {
    sim::EmulatedReceiver& rx = Receiver();
    // The other family's tuning is refused before anything is sent.
    const RunResult wrong =
        Atsc() ? Run({"tune", ReceiverAddress(20), "--frequency", "1150", "--symbol-rate", "22"})
               : Run({"tune", ReceiverAddress(20), "--channel", "14"});
    EXPECT_EQ(wrong.exitCode, EXIT_USAGE) << Shown(wrong);
    ExpectOneMessage(wrong);
    EXPECT_TRUE(rx.CommandsOnPort(sim::TUNE_PORT).empty());

    const RunResult run = Atsc() ? Run({"tune", ReceiverAddress(20), "--channel", "14", "--json"})
                                 : Run({"tune", ReceiverAddress(20), "--frequency", "1150",
                                        "--symbol-rate", "22", "--options", "0x05", "--json"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    const Json doc = Document(run);
    EXPECT_EQ(doc["ok"], true);
    if (Atsc()) {
        EXPECT_EQ(rx.Channel(), 14);
        EXPECT_EQ(doc["channel"], 14);
    } else {
        EXPECT_EQ(rx.Tuning(), (sim::SatelliteTuning{22000, 11500, 0x05}));
        EXPECT_DOUBLE_EQ(doc["satellite"]["frequency_mhz"].get<double>(), 1150.0);
        EXPECT_EQ(doc["satellite"]["options"], 5);
    }
}

TEST_P(EveryModel, PidListWrittenReadBackAndCleared) {
    sim::EmulatedReceiver& rx = Receiver();
    if (!Forwarding()) {
        // Destinations only for the forwarding models; nothing is written.
        const RunResult refused = Run({"pids", ReceiverAddress(20), "--set", "48=239.2.2.2:6000"});
        EXPECT_EQ(refused.exitCode, EXIT_USAGE) << Shown(refused);
        EXPECT_TRUE(rx.CommandsOnPort(sim::TABLE_PORT).empty());
    }
    std::vector<std::string> args{"pids", ReceiverAddress(20), "--json", "--set", "0x30"};
    args.push_back(Forwarding() ? "49=239.2.2.2:6000" : "49");
    args.push_back("0x100");
    const RunResult set = Run(args);
    ASSERT_EQ(set.exitCode, 0) << Shown(set);
    EXPECT_EQ(Document(set)["pids"].size(), 3u);

    const auto held = PidsIn(rx);
    ASSERT_EQ(held.size(), 3u);
    EXPECT_EQ(held[0].Pid(), 0x30);
    EXPECT_EQ(held[1].Pid(), 49);
    EXPECT_EQ(held[2].Pid(), 0x100);
    EXPECT_EQ(held[0].Control(), 1);
    if (Forwarding()) {
        EXPECT_EQ(held[1].Control(), 0);
        EXPECT_EQ(held[1].destination, (sim::Ipv4{239, 2, 2, 2}));
        EXPECT_EQ(held[1].port, 6000);
    }

    const RunResult read = Run({"pids", "02-5C-C1-00-00-14", "--json"});
    ASSERT_EQ(read.exitCode, 0) << Shown(read);
    const Json pids = Document(read)["pids"];
    ASSERT_EQ(pids.size(), 3u) << pids;
    EXPECT_EQ(pids[2]["pid"], 0x100);
    if (Forwarding()) {
        EXPECT_EQ(pids[1]["destination"]["port"], 6000);
    }

    const RunResult clear = Run({"pids", ReceiverAddress(20), "--clear"});
    ASSERT_EQ(clear.exitCode, 0) << Shown(clear);
    EXPECT_TRUE(PidsIn(rx).empty());
}

// Under Wine the receiver keeps 127.0.0.1 (ReceiverAddress): every other
// setting still changes.
TEST_P(EveryModel, NetworkSettingsMoveTheReceiver) {
    sim::EmulatedReceiver& rx = Receiver();
    const RunResult run = Run({"network", ReceiverAddress(20), "--address", ReceiverAddress(30),
                               "--mask", "255.0.0.0", "--gateway", "127.0.0.2", "--status-copy",
                               "127.0.0.1", "--igmp", "on", "--status-port", "8309", "--json"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    const Json doc = Document(run);
    EXPECT_EQ(doc["receiver"]["address"], ReceiverAddress(30));
    EXPECT_EQ(doc["receiver"]["status_port"], 8309);
    EXPECT_EQ(doc["mask"], "255.0.0.0");

    const sim::ReceiverState state = rx.State();
    EXPECT_EQ(state.address, ReceiverIp(30));
    EXPECT_EQ(state.subnetMask, (sim::Ipv4{255, 0, 0, 0}));
    EXPECT_EQ(state.gateway, (sim::Ipv4{127, 0, 0, 2}));
    EXPECT_EQ(state.unicastStatusAddress, (sim::Ipv4{127, 0, 0, 1}));
    EXPECT_EQ(rx.StatusDestinationPort(), 8309);
    // The T22 (2.x) always sends flags 1; the others IGMP as bit 2.
    EXPECT_EQ(state.optionFlags, GetParam() == sim::Model::T22V2 ? 1 : 4);

    // Found again only where it now sends its status.
    const RunResult found = Run({"status", ReceiverAddress(30), "--port", "8309", "--json"});
    ASSERT_EQ(found.exitCode, 0) << Shown(found);
    EXPECT_EQ(Document(found)["status"]["status_port"], 8309);
}

TEST_P(EveryModel, ResetWithYesRestartsTheReceiver) {
    sim::EmulatedReceiver& rx = Receiver();
    const RunResult run = Run({"reset", ReceiverAddress(20), "--yes", "--json"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    EXPECT_EQ(Document(run)["echoed"], GetParam() != sim::Model::T22CA);
    // A reset the receiver does not echo (T22 CA) is done for r40ctl once it
    // is sent: the receiver may take it a moment after r40ctl has ended.
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (rx.ResetCount() == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(rx.ResetCount(), 1u);
}

TEST_P(EveryModel, ApplyRunsTheFileStageByStage) {
    sim::EmulatedReceiver& rx = Receiver();
    const std::string file = TempDir() + "/headend.xml";
    std::ofstream(file) << R"(<?xml version="1.0" standalone="yes" ?>
<Device MACByte2="0" MACByte1="0" MACByte0="20">
    <DefaultGW>127.0.0.9</DefaultGW>
    <DeviceIP>)" << ReceiverAddress(31)
                        << R"(</DeviceIP>
    <DeviceSubNet>255.0.0.0</DeviceSubNet>
    <UnicastStatus>255.255.255.255</UnicastStatus>
    <UseIGMP>Yes</UseIGMP>
    <Channel>22</Channel>
    <SatelliteTuning Frequency="1150.0" SymbolRate="22.000" Options="5" />
    <PIDList Size="2">
        <PIDEntry Entry="481" Control="0">
            <Destination_IP>239.3.3.3</Destination_IP>
            <Destination_Port>601</Destination_Port>
        </PIDEntry>
        <PIDEntry Entry="482" Control="1">
            <Destination_IP>0.0.0.0</Destination_IP>
            <Destination_Port>0</Destination_Port>
        </PIDEntry>
    </PIDList>
</Device>
)";
    const std::string lastUsed = TempDir() + "/lastused.xml";
    const RunResult run =
        Run({"apply", ReceiverAddress(20), file, "--last-used", lastUsed, "--json"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    const Json doc = Document(run);
    EXPECT_EQ(doc["ok"], true);
    const Json& stages = doc["stages"];
    ASSERT_EQ(stages.size(), 3u) << stages;
    EXPECT_EQ(stages[0]["stage"], "network");
    EXPECT_EQ(stages[0]["ok"], true);
    EXPECT_EQ(stages[1]["stage"], "channel");
    // Each model takes its own kind of tuning from the file.
    EXPECT_EQ(stages[1]["ok"], true);
    EXPECT_EQ(stages[1]["skipped"], false);
    EXPECT_EQ(stages[2]["stage"], "pids");
    EXPECT_EQ(stages[2]["ok"], true);
    EXPECT_EQ(doc["last_used_replaced"], true);

    EXPECT_EQ(rx.Address(), ReceiverIp(31));
    EXPECT_EQ(rx.State().gateway, (sim::Ipv4{127, 0, 0, 9}));
    if (Atsc()) {
        EXPECT_EQ(rx.Channel(), 22);
    } else {
        EXPECT_EQ(rx.Tuning(), (sim::SatelliteTuning{22000, 11500, 0x05}));
    }
    const auto held = PidsIn(rx);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0].Pid(), 481);
    EXPECT_EQ(held[1].Pid(), 482);
    if (Forwarding()) {
        EXPECT_EQ(held[0].destination, (sim::Ipv4{239, 3, 3, 3}));
        EXPECT_EQ(held[0].port, 601);
        EXPECT_EQ(held[0].Control(), 0);
    }
    std::ifstream a(file), b(lastUsed);
    std::stringstream applied, kept;
    applied << a.rdbuf();
    kept << b.rdbuf();
    EXPECT_EQ(kept.str(), applied.str());
}

TEST_P(EveryModel, SaveWritesTheR40sConfiguration) {
    sim::EmulatedReceiver& rx = Receiver();
    rx.SetChannel(41);
    const std::string file = TempDir() + "/saved.xml";
    const RunResult run = Run({"save", ReceiverAddress(20), file, "--json"});
    if (!Atsc()) {
        EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
        EXPECT_EQ(Document(run)["ok"], false);
        EXPECT_FALSE(std::ifstream(file).good()) << "no file for a satellite receiver";
        return;
    }
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    EXPECT_EQ(Document(run)["channel"], 41);

    CR40SettingsToXmlDoc doc;
    ASSERT_TRUE(doc.Load(file));
    std::uint8_t address[4];
    ASSERT_TRUE(doc.ReadDeviceIP(address));
    EXPECT_EQ(address[3], ReceiverIp(20)[3]);
    std::int32_t channel = 0;
    ASSERT_TRUE(doc.ReadChannel(channel));
    EXPECT_EQ(channel, 41);
    TrevanPidListRecord pids{};
    ASSERT_TRUE(doc.ReadPIDListWithDestinations(pids));
    ASSERT_EQ(+pids.count, 4);
    EXPECT_EQ(+pids.pid[2], 0x31);
    if (Forwarding()) {
        EXPECT_EQ(+pids.destination[2].port, 1234);
        EXPECT_EQ(+pids.destination[2].address[0], 239);
    }
}

// Settings not given keep what the receiver reports, read from the T22
// (2.x)'s record, whose layout differs from every other model's.
TEST_F(R40ctlTest, NetworkKeepsWhatIsNotGiven) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::T22V2);
    rx.Modify([](sim::ReceiverState& s) {
        s.subnetMask = {255, 255, 0, 0};
        s.unicastStatusAddress = {127, 0, 0, 1};
    });
    ASSERT_TRUE(rx.Settle());
    const RunResult run = Run({"network", ReceiverAddress(20), "--gateway", "127.0.0.3"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    const sim::ReceiverState state = rx.State();
    EXPECT_EQ(state.gateway, (sim::Ipv4{127, 0, 0, 3}));
    EXPECT_EQ(state.address, ReceiverIp(20));
    EXPECT_EQ(state.subnetMask, (sim::Ipv4{255, 255, 0, 0}));
    EXPECT_EQ(state.unicastStatusAddress, (sim::Ipv4{127, 0, 0, 1}));
    EXPECT_EQ(rx.StatusDestinationPort(), 6516);
}

INSTANTIATE_TEST_SUITE_P(R40ctl, EveryModel, ::testing::ValuesIn(sim::ALL_MODELS), ModelKey);

}  // namespace
}  // namespace tools_test
