// r40ctl given bad input, or a receiver that misbehaves: each case ends with
// its documented exit code and one message line, never a crash or a hang.
#include <sys/stat.h>
#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include <array>
#include <csignal>
#include <fstream>
#include <sstream>

#include "devicelib/devicelib.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/support/private_network.h"
#include "tests/tools/r40ctl_fixture.h"

namespace tools_test {
namespace {

using Failures = R40ctlTest;

TEST_F(Failures, MalformedArgumentsAreUsageErrorsThatSendNothing) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40V);
    const std::vector<std::vector<std::string>> cases{
        {"status", "127.0.0.256"},
        {"status", "02-5C-C1-00-00"},
        {"status", "receiver-one"},
        {"status", "127.0.0.21", "--port", "1234"},
        {"status", "127.0.0.21", "--count", "3"},
        {"status", "127.0.0.21", "--watch", "--interval", "nan"},
        {"status", "127.0.0.21", "--watch", "--interval", "-nan"},
        {"tune", "127.0.0.21", "--channel", "70"},
        {"tune", "127.0.0.21", "--channel", "1"},
        {"tune", "127.0.0.21", "--channel", "99999999999999999999"},
        {"tune", "127.0.0.21"},
        {"tune", "127.0.0.21", "--frequency", "1150"},
        {"tune", "127.0.0.21", "--channel", "14", "--frequency", "1150", "--symbol-rate", "22"},
        {"tune", "127.0.0.21", "--frequency", "7000", "--symbol-rate", "22"},
        {"tune", "127.0.0.21", "--frequency", "0.04", "--symbol-rate", "22"},
        {"tune", "127.0.0.21", "--frequency", "1150", "--symbol-rate", "0.0004"},
        {"pids", "127.0.0.21", "--set", "31"},
        {"pids", "127.0.0.21", "--set", "8192"},
        {"pids", "127.0.0.21", "--set", "8191"},
        {"pids", "127.0.0.21", "--set", "0xZZ"},
        {"pids", "127.0.0.21", "--set", "48", "0x30"},
        {"pids", "127.0.0.21", "--set", "48=239.1.1.1"},
        {"pids", "127.0.0.21", "--set", "48=239.1.1:80"},
        {"pids", "127.0.0.21", "--set", "48", "--clear"},
        {"network", "127.0.0.21"},
        {"network", "127.0.0.21", "--address", "127.0.0"},
        {"network", "127.0.0.21", "--mask", "255.0.255.0"},
        {"network", "127.0.0.21", "--gateway", "gateway"},
        {"network", "127.0.0.21", "--igmp", "maybe"},
        {"network", "127.0.0.21", "--status-port", "5000"},
        {"apply", "127.0.0.21"},
        {"frobnicate"},
        {},
    };
    for (const auto& args : cases) {
        std::string shown;
        for (const auto& a : args) shown += a + " ";
        SCOPED_TRACE(shown);
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
        ExpectOneMessage(run);
        EXPECT_EQ(run.out, "");
        // A value is quoted as it was given, never as what it was clamped to.
        EXPECT_EQ(run.err.find("9223372036854775807"), std::string::npos) << run.err;
    }
    // 33 PIDs, each valid on its own.
    std::vector<std::string> many{"pids", "127.0.0.21", "--json", "--set"};
    for (int pid = 100; pid < 133; ++pid) many.push_back(std::to_string(pid));
    const RunResult tooMany = Run(many);
    EXPECT_EQ(tooMany.exitCode, EXIT_USAGE) << Shown(tooMany);
    ExpectOneMessage(tooMany);
    const Json doc = Document(tooMany);
    EXPECT_EQ(doc["ok"], false);
    EXPECT_EQ(doc["error"]["exit_code"], EXIT_USAGE);

    EXPECT_TRUE(rx.Commands().empty()) << "a refused command reached the receiver";
}

// A file made from the R40V and applied to the R40 keeps its network
// settings to itself unless --with-network says otherwise: said on stderr,
// and the rest of the file still applies with exit status 0.
TEST_F(Failures, AnotherReceiversFileKeepsItsNetworkSettingsUnlessAsked) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40);
    const std::string file = TempDir() + "/r40v.xml";
    std::ofstream(file) << R"(<Device MACByte2="0" MACByte1="0" MACByte0="21">
    <DefaultGW>127.0.0.9</DefaultGW>
    <DeviceIP>)" << ReceiverAddress(31)
                        << R"(</DeviceIP>
    <DeviceSubNet>255.0.0.0</DeviceSubNet>
    <UnicastStatus>255.255.255.255</UnicastStatus>
    <UseIGMP>No</UseIGMP>
    <Channel>22</Channel>
    <PIDList Size="1"><PIDEntry Entry="481" Control="1" /></PIDList>
</Device>
)";
    const RunResult run = Run({"apply", ReceiverAddress(20), file, "--json"});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    EXPECT_NE(run.err.find("network settings not applied"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("00-00-15"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--with-network"), std::string::npos) << run.err;
    const Json doc = Document(run);
    const Json& network = doc["stages"].at(0);
    EXPECT_EQ(network["ok"], false);
    EXPECT_EQ(network["skipped"], true);
    EXPECT_EQ(network["reason"], -4);
    EXPECT_EQ(network["reason_name"], "other_receiver");
    EXPECT_EQ(doc["stages"].at(1)["reason_name"], nullptr) << "the channel was applied";
    EXPECT_TRUE(rx.CommandsOnPort(sim::NETWORK_PORT).empty());
    EXPECT_EQ(rx.Address(), ReceiverIp(20));
    EXPECT_EQ(rx.Channel(), 22);

#ifndef _WIN32  // under Wine a receiver cannot move to another loopback address
    const RunResult forced = Run({"apply", ReceiverAddress(20), file, "--with-network"});
    ASSERT_EQ(forced.exitCode, 0) << Shown(forced);
    EXPECT_EQ(forced.err, "");
    EXPECT_EQ(rx.Address(), ReceiverIp(31));
#endif
}

TEST_F(Failures, AModelThatLacksTheFeatureIsAUsageError) {
    sim::EmulatedReceiver& t22 = StartReceiver(sim::Model::T22V3);
    const RunResult network = Run({"network", ReceiverAddress(20), "--gateway", "127.0.0.5"});
    EXPECT_EQ(network.exitCode, EXIT_USAGE) << Shown(network);
    EXPECT_NE(network.err.find("--igmp"), std::string::npos);
    const RunResult options = Run({"pids", ReceiverAddress(20), "--set", "48=239.1.1.1:80"});
    EXPECT_EQ(options.exitCode, EXIT_USAGE) << Shown(options);
    EXPECT_TRUE(t22.Commands().empty());
}

TEST_F(Failures, AReceiverNobodyHeardIsExitThree) {
    StartReceiver(sim::Model::R40);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"status", "127.0.0.99"},
          std::vector<std::string>{"tune", "02-5C-C1-00-00-99", "--channel", "14"},
          std::vector<std::string>{"reset", "00-00-99", "--yes"},
          // Heard, but not on the status port named.
          std::vector<std::string>{"status", ReceiverAddress(20), "--port", "8309"}}) {
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, EXIT_NOT_FOUND) << Shown(run);
        ExpectOneMessage(run);
    }
    const RunResult json = Run({"pids", "127.0.0.99", "--json"});
    EXPECT_EQ(json.exitCode, EXIT_NOT_FOUND);
    const Json doc = Document(json);
    EXPECT_EQ(doc["ok"], false);
    EXPECT_TRUE(doc["receiver"].is_null());
    EXPECT_EQ(doc["error"]["exit_code"], EXIT_NOT_FOUND);
}

// One host claiming 200 receivers' MAC addresses hides no receiver from a
// command, and discover counts what it left out.
TEST_F(Failures, ForgedReceiversFromOneHostHideNoReceiver) {
    std::string why;
    if (!test_support::AddLocalNetwork("10.26.0.1/16", &why)) GTEST_SKIP() << why;
    StartReceiver(sim::Model::R40, 20, 1000ms);
    devicelib_test::ForgedReceivers forged({{10, 26, 0, 5}}, 200, 2000);
    const RunResult discover = Run({"discover", "--json"});
    ASSERT_EQ(discover.exitCode, 0) << Shown(discover);
    const Json doc = Document(discover);
    int fromSpoofer = 0;
    for (const Json& receiver : doc["receivers"]) fromSpoofer += receiver["address"] == "10.26.0.5";
    EXPECT_EQ(fromSpoofer, MAX_MACS_PER_SOURCE) << doc;
    EXPECT_GT(doc["refused"]["source_limit"].get<int>(), 0) << doc;
    EXPECT_NE(discover.err.find("beyond their source's share"), std::string::npos) << discover.err;

    const RunResult status = Run({"status", ReceiverAddress(20)});
    EXPECT_EQ(status.exitCode, 0) << Shown(status);
}

TEST_F(Failures, AKeyThatNamesTwoReceiversIsAmbiguous) {
    StartReceiver(sim::Model::R40, 20);
    sim::EmulatedReceiver& twin = StartReceiver(sim::Model::R40V, 21);
    // Discovery lists devices of any MAC prefix: this one shares the key.
    twin.SetMac({0x0A, 0x00, 0x00, 0x00, 0x00, 0x14});
    ASSERT_TRUE(twin.Settle());
    const RunResult run = Run({"status", "00-00-14"});
    EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
    EXPECT_NE(run.err.find("0A-00-00-00-00-14"), std::string::npos) << run.err;
}

TEST_F(Failures, FilesThatCannotBeReadOrWrittenAreExitFour) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40);
    const std::string dir = TempDir();
    std::ofstream(dir + "/broken.xml") << "<Device><DeviceIP>127.0.0.9</Device";
    std::ofstream(dir + "/nonetwork.xml") << "<Device><Channel>22</Channel></Device>";

    for (const std::string& file :
         {dir + "/missing.xml", dir /* a directory, not a file */, dir + "/broken.xml"}) {
        const RunResult run = Run({"apply", ReceiverAddress(20), file});
        EXPECT_EQ(run.exitCode, EXIT_FILE) << file << "\n" << Shown(run);
        ExpectOneMessage(run);
    }
    // Loadable but without network settings: the apply ends at that stage.
    const RunResult partial = Run({"apply", ReceiverAddress(20), dir + "/nonetwork.xml", "--json"});
    EXPECT_EQ(partial.exitCode, EXIT_FILE) << Shown(partial);
    const Json doc = Document(partial);
    ASSERT_EQ(doc["stages"].size(), 1u) << doc;
    EXPECT_EQ(doc["stages"][0]["stage"], "network");
    EXPECT_EQ(doc["stages"][0]["reason"], -2);
    EXPECT_EQ(doc["stages"][0]["reason_name"], "not_in_file");
    EXPECT_TRUE(rx.Commands().empty());

    const RunResult save = Run({"save", ReceiverAddress(20), dir + "/no/such/dir/saved.xml"});
    EXPECT_EQ(save.exitCode, EXIT_FILE) << Shown(save);
    ExpectOneMessage(save);
}

// SIGTERM while the network settings are on their way: that exchange ends,
// and neither the channel nor the PID list goes out afterwards.
TEST_F(Failures, ApplyStopsBeforeItsNextStageOnSigterm) {
#ifdef _WIN32
    GTEST_SKIP() << "Wine refuses console control events from a program run without a "
                    "terminal: no Ctrl+Break reaches r40ctl";
#endif
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40, 20, 200ms);
    const std::string file = TempDir() + "/headend.xml";
    std::ofstream(file) << "<Device><DefaultGW>127.0.0.9</DefaultGW><DeviceIP>"
                        << ReceiverAddress(20)
                        << "</DeviceIP><DeviceSubNet>255.0.0.0</DeviceSubNet>"
                           "<UnicastStatus>255.255.255.255</UnicastStatus><UseIGMP>No</UseIGMP>"
                           "<Channel>22</Channel><PIDList Size=\"1\"><PIDEntry Entry=\"481\" "
                           "Control=\"1\" /></PIDList></Device>";
    RunningR40ctl apply({"apply", ReceiverAddress(20), file, "--json"});
    ASSERT_TRUE(rx.WaitForCommands(1, 10s));
    apply.Signal(SIGTERM);
    const RunResult run = apply.Wait(30s);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 128 + SIGTERM) << Shown(run);
    const Json doc = Document(run);
    EXPECT_EQ(doc["ok"], false);
    EXPECT_EQ(doc["stopped"], true);
    ASSERT_EQ(doc["stages"].size(), 1u) << doc;
    EXPECT_EQ(doc["stages"][0]["stage"], "network");
    EXPECT_EQ(rx.State().gateway, (sim::Ipv4{127, 0, 0, 9})) << "the exchange on its way ended";
    EXPECT_EQ(rx.CommandsOnPort(sim::NETWORK_PORT).size(), rx.Commands().size());
    EXPECT_TRUE(rx.CommandsOnPort(sim::TUNE_PORT).empty());
    EXPECT_TRUE(rx.CommandsOnPort(sim::TABLE_PORT).empty());
}

#ifndef _WIN32
std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Sets or clears the immutable flag, which holds even for root; false where
// the file system has no such flag.
bool SetImmutable(const std::string& path, bool on) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

// save writes the whole configuration in one replacement of the file, so
// that nothing stopping it half way can leave the new address beside the
// old PID list; a file that cannot be replaced is left as it was, and the
// message says that nothing was written.
TEST_F(Failures, SaveReplacesTheFileOnceOrNotAtAll) {
    StartReceiver(sim::Model::R40V);
    const std::string dir = TempDir();
    const std::string file = dir + "/headend.xml";
    const std::string old =
        "<Device><DeviceIP>10.9.9.9</DeviceIP><Channel>5</Channel><Site>north</Site></Device>";
    std::ofstream(file) << old;

    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.c_str(), IN_MOVED_TO | IN_MODIFY), 0);
    const RunResult run = Run({"save", ReceiverAddress(20), file});
    ASSERT_EQ(run.exitCode, 0) << Shown(run);
    int replacements = 0, writesInPlace = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    ssize_t n;
    while ((n = ::read(watch, buffer, sizeof buffer)) > 0) {
        for (char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            if (event->len > 0 && std::string(event->name) == "headend.xml") {
                replacements += (event->mask & IN_MOVED_TO) != 0;
                writesInPlace += (event->mask & IN_MODIFY) != 0;
            }
            p += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(replacements, 1);
    EXPECT_EQ(writesInPlace, 0);
    const std::string saved = FileText(file);
    EXPECT_NE(saved.find("<DeviceIP>" + ReceiverAddress(20) + "</DeviceIP>"), std::string::npos);
    EXPECT_NE(saved.find("<Site>north</Site>"), std::string::npos) << saved;

    // A file and directory nobody may change, not even root.
    std::ofstream(file) << old;
    if (!SetImmutable(file, true)) GTEST_SKIP() << "no immutable files on this file system";
    const bool directoryLocked = SetImmutable(dir, true);
    const RunResult refused = Run({"save", ReceiverAddress(20), file});
    SetImmutable(dir, false);
    SetImmutable(file, false);
    ASSERT_TRUE(directoryLocked);
    EXPECT_EQ(refused.exitCode, EXIT_FILE) << Shown(refused);
    ExpectOneMessage(refused);
    EXPECT_NE(refused.err.find("nothing was written"), std::string::npos) << refused.err;
    EXPECT_EQ(FileText(file), old);
}
#endif

// Values no receiver can take stop a command before anything is sent, with
// a message that names the value: on the command line (exit 2), and in a
// configuration file, whose reads cut such values down to something that
// looks harmless (exit 4, the apply ends at the stage the value belongs to;
// tests/config/values_to_send_test.cpp has every kind of value).
TEST_F(Failures, ValuesNoReceiverCanTakeAreNeverSent) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40V);
    const std::string receiver = ReceiverAddress(20);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"network", receiver, "--address", "255.255.255.255"},
             // The broadcast address of the subnet the receiver reports.
             {"network", receiver, "--address", "127.0.0.255"},
             {"pids", receiver, "--set", "48", "49=0.0.0.0:80"},
         }) {
        SCOPED_TRACE(args[2] + " " + args.back());
        const RunResult run = Run(args);
        EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
        ExpectOneMessage(run);
        EXPECT_NE(run.err.find(args.back()), std::string::npos) << run.err;
    }

    const std::string network =
        "<DefaultGW>127.0.0.9</DefaultGW><DeviceSubNet>255.0.0.0"
        "</DeviceSubNet><UnicastStatus>255.255.255.255</UnicastStatus>"
        "<UseIGMP>No</UseIGMP><Channel>22</Channel>";
    const std::string dir = TempDir();
    for (const auto& [named, stage, content] : std::vector<std::array<std::string, 3>>{
             {"DeviceIP \"-1.-1.-1.-1\"", "network",
              "<DeviceIP>-1.-1.-1.-1</DeviceIP><PIDList Size=\"0\" />"},
             {"PIDEntry 1 Entry \"99999\"", "pids",
              "<DeviceIP>" + receiver +
                  "</DeviceIP><PIDList Size=\"1\"><PIDEntry Entry=\"99999\" Control=\"1\" />"
                  "</PIDList>"},
         }) {
        SCOPED_TRACE(named);
        const std::string file = dir + "/bad.xml";
        std::ofstream(file) << "<Device>" << network << content << "</Device>";
        const RunResult run = Run({"apply", receiver, file, "--json"});
        EXPECT_EQ(run.exitCode, EXIT_FILE) << Shown(run);
        ExpectOneMessage(run);
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        const Json doc = Document(run);
        ASSERT_EQ(doc["stages"].size(), 1u) << doc;
        EXPECT_EQ(doc["stages"][0]["stage"], stage);
        EXPECT_EQ(doc["stages"][0]["reason"], -2);
        EXPECT_NE(doc["stages"][0]["detail"].get<std::string>().find(named), std::string::npos);
    }
    EXPECT_TRUE(rx.Commands().empty()) << "a value no receiver can take was sent";
}

TEST_F(Failures, ResetAsksOnATerminalAndRefusesWithoutOne) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40);
    for (Input input : {Input::Null, Input::Pipe}) {
        RunOptions options;
        options.stdinKind = input;
        options.input = "y\n";  // a pipe's yes is no confirmation
        const RunResult run = Run({"reset", ReceiverAddress(20)}, options);
        EXPECT_EQ(run.exitCode, EXIT_USAGE) << Shown(run);
        EXPECT_NE(run.err.find("--yes"), std::string::npos);
    }
    if (!TerminalInputAvailable()) GTEST_SKIP() << "no terminal to type into here";
    RunOptions terminal;
    terminal.stdinKind = Input::Terminal;
    terminal.input = "n\n";
    const RunResult declined = Run({"reset", ReceiverAddress(20)}, terminal);
    EXPECT_EQ(declined.exitCode, EXIT_REFUSED) << Shown(declined);
    EXPECT_NE(declined.err.find("Reset the R40 02-5C-C1-00-00-14 at " + ReceiverAddress(20)),
              std::string::npos)
        << declined.err;
    EXPECT_EQ(rx.ResetCount(), 0u);
    EXPECT_TRUE(rx.CommandsOnPort(sim::RESET_PORT).empty());

    terminal.input = "y\n";
    const RunResult confirmed = Run({"reset", ReceiverAddress(20)}, terminal);
    EXPECT_EQ(confirmed.exitCode, 0) << Shown(confirmed);
    EXPECT_EQ(rx.ResetCount(), 1u);
}

TEST_F(Failures, AReceiverThatStopsEchoingIsRefusedWithTheLibrarysCode) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40);
    rx.SetFault(sim::Fault::NoEcho, true);
    const RunResult run = Run({"tune", ReceiverAddress(20), "--channel", "14", "--json"});
    EXPECT_EQ(run.exitCode, EXIT_REFUSED) << Shown(run);
    ExpectOneMessage(run);
    EXPECT_NE(run.err.find("0x2006"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(DeviceResultText(ERR_ECHO_TIMEOUT)), std::string::npos) << run.err;
    const Json doc = Document(run);
    EXPECT_EQ(doc["error"]["result"], 0x2006);
    EXPECT_EQ(doc["receiver"]["address"], ReceiverAddress(20));
}

TEST_F(Failures, AReceiverThatFallsSilentMidCommandIsRefused) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40, 20, 100ms);
    RunningR40ctl tune({"tune", ReceiverAddress(20), "--channel", "14", "--json"});
    // Silent from the moment the tuning command arrives: echoed, never shown.
    ASSERT_TRUE(rx.WaitForCommands(1, 10s));
    rx.SetFault(sim::Fault::Silence, true);
    const RunResult run = tune.Wait(30s);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, EXIT_REFUSED) << Shown(run);
    ExpectOneMessage(run);
    // The status waits give up with the library's code for no status.
    const Json doc = Document(run);
    const int result = doc["error"]["result"].get<int>();
    EXPECT_TRUE(result == RC_FAILED || result == ERR_STATUS_TIMEOUT) << doc;
    EXPECT_NE(run.err.find(DeviceResultText(result)), std::string::npos) << run.err;
    EXPECT_EQ(rx.Channel(), 14) << "the receiver took the command, only its status stopped";
}

TEST_F(Failures, AVerificationThatFailsIsReported) {
    sim::EmulatedReceiver& rx = StartReceiver(sim::Model::R40V);
    rx.SetFault(sim::Fault::IgnoreCommands, true);  // echoes, keeps the old table
    const RunResult run = Run({"pids", ReceiverAddress(20), "--set", "0x100"});
    EXPECT_EQ(run.exitCode, EXIT_REFUSED) << Shown(run);
    EXPECT_NE(run.err.find("0x400C"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tools_test
