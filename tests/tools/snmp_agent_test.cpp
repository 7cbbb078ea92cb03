// r40-snmp-agent, the real program, as an AgentX subagent of Debian's real
// snmpd in the test process's own network namespace, with a real
// snmptrapd taking the notifications snmpd forwards, read by Debian's
// snmpwalk and snmpget with R40-RECEIVER-MIB loaded: the table against
// `r40ctl status --json` for receivers of every model, one notification per
// change of lock and life, and answers within a second during a flood.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "sim/emulated_receiver.h"
#include "tests/tools/r40ctl_runner.h"
#include "tests/tools/status_flood.h"

extern char** environ;

namespace tools_test {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

// Each test has a namespace of its own, so fixed ports never meet.
constexpr const char* SNMP_ADDRESS = "127.0.0.1:1161";
constexpr const char* TRAP_ADDRESS = "127.0.0.1:1162";

bool Executable(const std::string& path) {
    return ::access(path.c_str(), X_OK) == 0;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A program in the background, its output in `log`; ended with SIGTERM
// (then SIGKILL) and reaped when it goes.
class Background {
  public:
    Background(const std::vector<std::string>& args, const std::string& log) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Background() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) return;
            std::this_thread::sleep_for(20ms);
        }
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;
    pid_t Pid() const { return m_pid; }
    bool Running() const { return m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) == 0; }

  private:
    pid_t m_pid = -1;
};

struct Ran {
    int status = -1;
    std::string out;
};

// A command through the shell, stdout and stderr together.
Ran Shell(const std::string& command) {
    Ran ran;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return ran;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) ran.out.append(buffer, n);
    ran.status = ::pclose(pipe);
    return ran;
}

// The row index of a receiver: its MAC address in decimal.
std::string Index(const sim::MacAddress& mac) {
    std::string index;
    for (std::uint8_t b : mac) index += (index.empty() ? "" : ".") + std::to_string(b);
    return index;
}

std::string MacText(const sim::MacAddress& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%x:%x:%x:%x:%x:%x", mac[0], mac[1], mac[2], mac[3], mac[4],
                  mac[5]);
    return text;
}

// One notification as snmptrapd logged it.
struct Trap {
    std::string kind;  // r40LockLost, ...
    std::string mac, address, model;
};

class SnmpAgentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* program : {"/usr/sbin/snmpd", "/usr/sbin/snmptrapd", "/usr/bin/snmpwalk"})
            if (!Executable(program))
                GTEST_SKIP() << "needs Debian's snmpd, snmptrapd and snmp packages (" << program
                             << ")";
        m_dir = ::testing::TempDir() + "snmp-agent-" + std::to_string(::getpid());
        Shell("rm -rf '" + m_dir + "'");
        ASSERT_EQ(::mkdir(m_dir.c_str(), 0700), 0);
        ::setenv("SNMP_PERSISTENT_DIR", (m_dir + "/persist").c_str(), 1);
        ::setenv("MIBS", "", 1);  // no MIB but ours, named on each command line
        std::ofstream(m_dir + "/snmpd.conf") << "agentaddress udp:" << SNMP_ADDRESS << "\n"
                                             << "master agentx\n"
                                             << "agentXSocket " << m_dir << "/agentx\n"
                                             << "rocommunity public 127.0.0.1\n"
                                             << "trapsess -v 2c -c public " << TRAP_ADDRESS << "\n"
                                             << "dontLogTCPWrappersConnects yes\n";
        std::ofstream(m_dir + "/snmptrapd.conf") << "disableAuthorization yes\n";
        m_trapd = std::make_unique<Background>(
            std::vector<std::string>{"/usr/sbin/snmptrapd", "-f", "-C", "-c",
                                     m_dir + "/snmptrapd.conf", "-M", Mibs(), "-m",
                                     "R40-RECEIVER-MIB", "-Ob", "-OQ", "-Lf", m_dir + "/traps.log",
                                     "-F", "TRAP %v\n", std::string("udp:") + TRAP_ADDRESS},
            m_dir + "/snmptrapd.out");
        StartSnmpd();
    }

    // snmpd, once its AgentX socket is there.
    void StartSnmpd() {
        m_snmpd = std::make_unique<Background>(
            std::vector<std::string>{"/usr/sbin/snmpd", "-f", "-C", "-c", m_dir + "/snmpd.conf",
                                     "-Lf", m_dir + "/snmpd.log"},
            m_dir + "/snmpd.out");
        const auto giveUp = Clock::now() + 10s;
        while (::access((m_dir + "/agentx").c_str(), F_OK) != 0 && Clock::now() < giveUp)
            std::this_thread::sleep_for(20ms);
        ASSERT_EQ(::access((m_dir + "/agentx").c_str(), F_OK), 0)
            << "snmpd opened no AgentX socket: " << Slurp(m_dir + "/snmpd.log");
    }

    void TearDown() override {
        m_agent.reset();
        for (auto& rx : m_receivers) rx->Stop();
        m_snmpd.reset();
        m_trapd.reset();
        if (!HasFailure() && !m_dir.empty()) Shell("rm -rf '" + m_dir + "'");
    }

    static std::string Mibs() {
        return R40_SOURCE_DIR "/tests/tools/snmp_base_mibs:" R40_SOURCE_DIR "/tools/snmp";
    }

    sim::EmulatedReceiver& StartReceiver(sim::Model model, int octet, std::uint16_t port = 6516,
                                         std::chrono::milliseconds interval = 200ms) {
        sim::ReceiverConfig config =
            sim::ReceiverConfig::For(model, {127, 0, 0, static_cast<std::uint8_t>(octet)}, port);
        config.statusInterval = interval;
        config.initial.pids[0] = sim::PidEntry::Make(0x0030, 1);
        auto rx = std::make_unique<sim::EmulatedReceiver>(config);
        std::string error;
        EXPECT_TRUE(rx->Start(&error)) << error;
        m_receivers.push_back(std::move(rx));
        return *m_receivers.back();
    }

    // The agent, once snmpd answers for it.
    void StartAgent(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{ProgramPath("r40-snmp-agent"), "--agentx-socket",
                                      m_dir + "/agentx"};
        args.insert(args.end(), extra.begin(), extra.end());
        m_agent = std::make_unique<Background>(args, m_dir + "/agent.log");
        ASSERT_TRUE(WalkUntil([](const auto& w) { return w.count("r40AgentVersion.0") > 0; }))
            << Slurp(m_dir + "/agent.log");
    }

    // snmpget or snmpwalk with the MIB, numeric indexes, bare values and
    // enumerations as numbers; one second and no retry.
    static std::string Command(const std::string& tool, const std::string& objects) {
        return tool + " -v2c -c public -t 1 -r 0 -M " + Mibs() +
               " -m R40-RECEIVER-MIB -Ob -OQ -Oe -OU " + SNMP_ADDRESS + " " + objects;
    }

    // The whole MIB: "column.index" -> value. Every name must resolve, or
    // the code and the MIB file disagree.
    static std::map<std::string, std::string> Walk() {
        const Ran ran = Shell(Command("snmpwalk", "R40-RECEIVER-MIB::r40ReceiverMIB"));
        std::map<std::string, std::string> walk;
        std::istringstream lines(ran.out);
        std::string line;
        const std::string prefix = "R40-RECEIVER-MIB::";
        while (std::getline(lines, line)) {
            const std::size_t equals = line.find(" = ");
            if (line.rfind(prefix, 0) != 0 || equals == std::string::npos) {
                ADD_FAILURE() << "not a value of the MIB: " << line;
                continue;
            }
            std::string value = line.substr(equals + 3);
            if (value.size() >= 2 && value.front() == '"')
                value = value.substr(1, value.size() - 2);
            walk[line.substr(prefix.size(), equals - prefix.size())] = value;
        }
        return walk;
    }

    static std::optional<std::map<std::string, std::string>> WalkUntil(
        const std::function<bool(const std::map<std::string, std::string>&)>& ready,
        std::chrono::milliseconds timeout = 10s) {
        const auto giveUp = Clock::now() + timeout;
        do {
            std::map<std::string, std::string> walk = Walk();
            if (ready(walk)) return walk;
            std::this_thread::sleep_for(100ms);
        } while (Clock::now() < giveUp);
        return std::nullopt;
    }

    // The notifications of R40-RECEIVER-MIB snmptrapd has logged.
    std::vector<Trap> Traps() const {
        std::vector<Trap> traps;
        std::istringstream lines(Slurp(m_dir + "/traps.log"));
        std::string line;
        const auto field = [](const std::string& text, const std::string& name) {
            const std::size_t at = text.find(name);
            if (at == std::string::npos) return std::string();
            const std::size_t start = text.find(" = ", at) + 3;
            std::string value = text.substr(start, text.find('\t', start) - start);
            if (value.size() >= 2 && value.front() == '"')
                value = value.substr(1, value.size() - 2);
            return value;
        };
        while (std::getline(lines, line)) {
            const std::size_t kind = line.find("= R40-RECEIVER-MIB::r40");
            if (line.rfind("TRAP ", 0) != 0 || kind == std::string::npos) continue;
            Trap trap;
            trap.kind = line.substr(kind + 20, line.find('\t', kind) - kind - 20);
            trap.mac = field(line, "r40EventMac.0");
            trap.address = field(line, "r40ReceiverAddress.");
            trap.model = field(line, "r40ReceiverModel.");
            traps.push_back(trap);
        }
        return traps;
    }

    std::vector<Trap> TrapsUntil(std::size_t count, std::chrono::milliseconds timeout = 10s) const {
        const auto giveUp = Clock::now() + timeout;
        std::vector<Trap> traps = Traps();
        while (traps.size() < count && Clock::now() < giveUp) {
            std::this_thread::sleep_for(50ms);
            traps = Traps();
        }
        return traps;
    }

    std::string m_dir;
    std::unique_ptr<Background> m_trapd, m_snmpd, m_agent;
    std::vector<std::unique_ptr<sim::EmulatedReceiver>> m_receivers;
};

TEST_F(SnmpAgentTest, TheTableShowsEveryModelAsStatusJsonDoes) {
    const std::uint16_t ports[] = {6516, 8309, 18037, 6516, 9333, 6516};
    for (std::size_t i = 0; i < sim::ALL_MODELS.size(); ++i)
        StartReceiver(sim::ALL_MODELS[i], 20 + static_cast<int>(i), ports[i]);
    StartAgent();
    const auto walk = WalkUntil([&](const auto& w) {
        for (const auto& rx : m_receivers)
            if (!w.count("r40ReceiverUp." + Index(rx->Mac())) ||
                w.at("r40ReceiverUp." + Index(rx->Mac())) != "1")
                return false;
        return true;
    });
    ASSERT_TRUE(walk) << "not every receiver is up in the walk";
    const auto& w = *walk;
    EXPECT_EQ(w.at("r40AgentReceivers.0"), "6");
    EXPECT_EQ(w.at("r40AgentVersion.0"), R40_VERSION);
    EXPECT_GE(std::stoll(w.at("r40AgentDatagramsAccepted.0")), 6);
    EXPECT_EQ(w.at("r40AgentDatagramsRefused.0"), "0");

    for (const auto& rx : m_receivers) {
        const std::string index = Index(rx->Mac());
        const std::string address = "127.0.0." + std::to_string(20 + (&rx - &m_receivers[0]));
        SCOPED_TRACE(address);
        const RunResult status = RunR40ctl({"status", address, "--json"});
        ASSERT_EQ(status.exitCode, 0) << status.err;
        const Json doc = Json::parse(status.out);
        const Json& s = doc["status"];
        const auto value = [&](const char* column) -> std::optional<std::string> {
            const auto found = w.find(std::string(column) + "." + index);
            if (found == w.end()) return std::nullopt;
            return found->second;
        };
        const auto number = [&](const char* column) { return std::stoll(value(column).value()); };
        EXPECT_EQ(value("r40ReceiverAddress"), doc["receiver"]["address"].get<std::string>());
        EXPECT_EQ(value("r40ReceiverModel"), doc["receiver"]["model"].get<std::string>());
        EXPECT_EQ(number("r40ReceiverStatusPort"), doc["receiver"]["status_port"].get<int>());
        EXPECT_EQ(number("r40ReceiverLocked"), s["lock"].get<bool>() ? 1 : 2);
        EXPECT_EQ(number("r40ReceiverDataActive"), s["data"].get<bool>() ? 1 : 2);
        EXPECT_EQ(number("r40ReceiverPids"), static_cast<long long>(s["pids"].size()));
        EXPECT_EQ(number("r40ReceiverLockLosses"), 0);
        EXPECT_LE(number("r40ReceiverSecondsSinceStatus"), 1);
        // Present exactly for the models that report them, in the MIB's
        // units; the JSON keeps a tenth of a hertz, the MIB whole hertz.
        const auto scaled = [](const Json& j, double scale) -> std::optional<double> {
            if (j.is_null()) return std::nullopt;
            return j.get<double>() * scale;
        };
        const Json& sat = s["satellite"];
        const struct {
            const char* column;
            std::optional<double> expected;
            double tolerance;
        } readings[] = {
            {"r40ReceiverSnr", scaled(s["snr_db"], 100), 0},
            {"r40ReceiverCarrierOffset", scaled(s["carrier_offset_hz"], 1), 0.55},
            {"r40ReceiverChannel", scaled(s["channel"], 1), 0},
            {"r40ReceiverSignal", scaled(s["signal_percent"], 1), 0},
            {"r40ReceiverFrequency",
             sat.is_null() ? std::nullopt : scaled(sat["frequency_mhz"], 1000), 0},
            {"r40ReceiverSymbolRate",
             sat.is_null() ? std::nullopt : scaled(sat["symbol_rate_msps"], 1e6), 0},
        };
        for (const auto& r : readings) {
            const std::optional<std::string> got = value(r.column);
            EXPECT_EQ(got.has_value(), r.expected.has_value()) << r.column;
            if (got && r.expected) {
                EXPECT_NEAR(std::stod(*got), std::round(*r.expected), r.tolerance) << r.column;
            }
        }
    }

    // A single GET answers the same; a row nobody sent is no instance; and
    // nothing in the MIB can be written.
    const std::string first = Index(m_receivers[0]->Mac());
    Ran got =
        Shell(Command("snmpget", "R40-RECEIVER-MIB::r40ReceiverModel." + first +
                                     " R40-RECEIVER-MIB::r40ReceiverChannel.2.92.193.0.0.99"));
    EXPECT_NE(got.out.find("r40ReceiverModel." + first + " = R40\n"), std::string::npos) << got.out;
    EXPECT_NE(got.out.find("r40ReceiverChannel.2.92.193.0.0.99 = No Such Instance"),
              std::string::npos)
        << got.out;
    got = Shell(Command("snmpset", "R40-RECEIVER-MIB::r40ReceiverChannel." + first + " u 5"));
    EXPECT_NE(got.status, 0) << got.out;
    EXPECT_NE(got.out.find("noAccess"), std::string::npos) << got.out;
}

TEST_F(SnmpAgentTest, EachChangeOfLockAndLifeIsNotifiedOnce) {
    // Half a second between statuses: a busy machine must not make a late
    // status look like silence.
    sim::EmulatedReceiver& atsc = StartReceiver(sim::Model::R40, 20, 6516, 500ms);
    sim::EmulatedReceiver& satellite = StartReceiver(sim::Model::T22V3, 22, 8309, 500ms);
    StartAgent();
    ASSERT_TRUE(WalkUntil([&](const auto& w) {
        return w.count("r40ReceiverLocked." + Index(atsc.Mac())) &&
               w.count("r40ReceiverLocked." + Index(satellite.Mac()));
    }));
    ASSERT_TRUE(Traps().empty()) << "a receiver first heard is no change";

    // Each step waits for its notifications, so each receiver's come in order.
    atsc.SetLocked(false);
    satellite.SetLocked(false);
    EXPECT_EQ(TrapsUntil(2).size(), 2u);
    atsc.SetLocked(true);
    satellite.SetLocked(true);
    EXPECT_EQ(TrapsUntil(4).size(), 4u);
    atsc.SetVanished(true);
    EXPECT_EQ(TrapsUntil(5).size(), 5u);
    atsc.SetVanished(false);
    EXPECT_EQ(TrapsUntil(6).size(), 6u);
    // Many statuses and many looks at the table later, nothing more.
    std::this_thread::sleep_for(1500ms);

    std::map<std::string, std::vector<std::string>> kinds;
    for (const Trap& trap : Traps()) {
        kinds[trap.mac].push_back(trap.kind);
        const bool isAtsc = trap.mac == MacText(atsc.Mac());
        EXPECT_EQ(trap.address, isAtsc ? "127.0.0.20" : "127.0.0.22") << trap.mac;
        EXPECT_EQ(trap.model, isAtsc ? "R40" : "T22 (3.x)") << trap.mac;
    }
    const std::vector<std::string> lock = {"r40LockLost", "r40LockRegained"};
    const std::vector<std::string> life = {"r40LockLost", "r40LockRegained", "r40ReceiverSilent",
                                           "r40ReceiverBack"};
    EXPECT_EQ(kinds[MacText(atsc.Mac())], life) << Slurp(m_dir + "/traps.log");
    EXPECT_EQ(kinds[MacText(satellite.Mac())], lock) << Slurp(m_dir + "/traps.log");
    const auto walk = Walk();
    EXPECT_EQ(walk.at("r40ReceiverLockLosses." + Index(atsc.Mac())), "1");
    EXPECT_EQ(walk.at("r40ReceiverLockLosses." + Index(satellite.Mac())), "1");
}

TEST_F(SnmpAgentTest, AFloodOnTheStatusPortsNeverHoldsUpAnAnswer) {
    sim::EmulatedReceiver& real = StartReceiver(sim::Model::R40, 20);
    StartAgent({"--max-receivers", "32"});
    const std::string up = "R40-RECEIVER-MIB::r40ReceiverUp." + Index(real.Mac());
    ASSERT_TRUE(
        WalkUntil([&](const auto& w) { return w.count("r40ReceiverUp." + Index(real.Mac())); }));

    StatusFlood flood;
    std::string why;
    ASSERT_TRUE(flood.Open(64, &why)) << why;
    std::atomic<bool> flooding{true};
    // A round (1920 datagrams) every 20 ms for three seconds.
    std::thread flooder([&] {
        const auto end = Clock::now() + 3s;
        for (int round = 0; round < 150 && Clock::now() < end; ++round) {
            flood.Round();
            std::this_thread::sleep_for(20ms);
        }
        flooding = false;
    });
    // snmpget gives up after one second, with no retry: each answer must
    // come within it. Under a flood the kernel may drop the real
    // receiver's datagrams too, so it may read down for a while; what
    // counts is that the agent answers.
    int asked = 0;
    while (flooding.load()) {
        const Ran got = Shell(Command("snmpget", up + " R40-RECEIVER-MIB::r40AgentReceivers.0"));
        ++asked;
        EXPECT_NE(got.out.find("r40ReceiverUp." + Index(real.Mac()) + " = "), std::string::npos)
            << "answer " << asked << ": " << got.out;
        EXPECT_NE(got.out.find("r40AgentReceivers.0 = "), std::string::npos)
            << "answer " << asked << ": " << got.out;
    }
    flooder.join();
    EXPECT_GE(asked, 5);

    // The real receiver is still in the table, up once the flood is over.
    const auto walk = WalkUntil([&](const auto& w) {
        return w.count("r40ReceiverUp." + Index(real.Mac())) &&
               w.at("r40ReceiverUp." + Index(real.Mac())) == "1";
    });
    ASSERT_TRUE(walk) << "the real receiver is not up after the flood";
    EXPECT_LE(std::stoi(walk->at("r40AgentReceivers.0")), 32);
    EXPECT_GT(std::stoll(walk->at("r40AgentDatagramsRefused.0")), 0);
    EXPECT_TRUE(m_agent->Running());
}

// snmpd restarted (an upgrade, a new configuration) finds the agent again
// within its ping interval, not after net-snmp's default of 15 seconds.
TEST_F(SnmpAgentTest, ARestartedSnmpdIsServedAgainWithinSeconds) {
    StartAgent();
    m_snmpd.reset();
    ::unlink((m_dir + "/agentx").c_str());
    StartSnmpd();
    const auto back = WalkUntil([](const auto& w) { return w.count("r40AgentVersion.0") > 0; }, 9s);
    EXPECT_TRUE(back) << Slurp(m_dir + "/agent.log");
    EXPECT_TRUE(m_agent->Running());
}

}  // namespace
}  // namespace tools_test
