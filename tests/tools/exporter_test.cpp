// r40ctl exporter, the real program, against emulated receivers in the test
// process's own network namespace: what a scrape shows (read with
// prometheus_client's parser), a receiver that stops, receivers expected
// and forgotten, lock losses, the exporter's own process, life beside a
// console, a flood of hostile datagrams and hostile HTTP.
#include <dirent.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "devicelib/devicelib.h"
#include "platform/net/udp_socket.h"
#include "sim/emulated_receiver.h"
#include "sim/status_datagram.h"
#include "tests/devicelib/datagram_transmitter.h"
#include "tests/support/private_network.h"
#include "tests/tools/r40ctl_runner.h"
#include "tests/tools/status_flood.h"

namespace tools_test {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr int HTTP_PORT = 9771;  // the default; each test has its own namespace

std::string MacText(const sim::MacAddress& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

// One scrape as prometheus_client's parser read it.
struct Scrape {
    std::map<std::string, std::string> types;  // counters without their _total
    struct Sample {
        std::string name;
        std::map<std::string, std::string> labels;
        double value = 0;
    };
    std::vector<Sample> samples;

    std::optional<double> Value(const std::string& name, const std::string& mac = "") const {
        for (const Sample& s : samples)
            if (s.name == name &&
                (mac.empty() || (s.labels.count("mac") && s.labels.at("mac") == mac)))
                return s.value;
        return std::nullopt;
    }
    const Sample* Info(const std::string& mac) const {
        for (const Sample& s : samples)
            if (s.name == "r40_receiver_info" && s.labels.at("mac") == mac) return &s;
        return nullptr;
    }
    std::size_t Count(const std::string& name) const {
        std::size_t n = 0;
        for (const Sample& s : samples) n += s.name == name;
        return n;
    }
};

// Runs the parser; nullopt (with the reason in `why`) when it refused the
// text, or when it is not installed (`missing`).
std::optional<Scrape> Parse(const std::string& text, std::string* why, bool* missing) {
    const std::string input = ::testing::TempDir() + "scrape-" + std::to_string(::getpid());
    std::ofstream(input) << text;
    const std::string command =
        std::string(DEBIAN_PYTHON3 " " R40_SOURCE_DIR "/tests/tools/parse_exposition.py < ") +
        input + " 2>&1";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[65536];
    std::size_t n;
    while (pipe != nullptr && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = pipe != nullptr ? ::pclose(pipe) : -1;
    std::remove(input.c_str());
    *missing = WIFEXITED(status) && WEXITSTATUS(status) == 77;
    if (status != 0) {
        *why = output;
        return std::nullopt;
    }
    const Json document = Json::parse(output);
    Scrape scrape;
    for (const auto& [name, type] : document["types"].items()) scrape.types[name] = type;
    for (const Json& s : document["samples"]) {
        Scrape::Sample sample;
        sample.name = s["name"];
        for (const auto& [k, v] : s["labels"].items()) sample.labels[k] = v;
        sample.value = std::stod(s["value"].get<std::string>());
        scrape.samples.push_back(sample);
    }
    return scrape;
}

// The exporter's resident memory in KiB, from /proc.
long ResidentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

class ExporterTest : public ::testing::Test {
  protected:
    void TearDown() override {
        m_exporter.reset();
        for (auto& rx : m_receivers) rx->Stop();
    }

    // A started receiver of `model` at 127.0.0.`octet`, two PIDs in its list.
    sim::EmulatedReceiver& StartReceiver(
        sim::Model model, int octet, std::uint16_t port = 6516,
        std::chrono::milliseconds interval = 200ms,
        const std::function<void(sim::ReceiverConfig&)>& adjust = {}) {
        sim::ReceiverConfig config =
            sim::ReceiverConfig::For(model, {127, 0, 0, static_cast<std::uint8_t>(octet)}, port);
        config.statusInterval = interval;
        config.initial.pids[0] = sim::PidEntry::Make(0x0030, 1);
        config.initial.pids[1] = sim::PidEntry::Make(0x0031, 1);
        if (adjust) adjust(config);
        auto rx = std::make_unique<sim::EmulatedReceiver>(config);
        std::string error;
        EXPECT_TRUE(rx->Start(&error)) << error;
        m_receivers.push_back(std::move(rx));
        return *m_receivers.back();
    }

    // r40ctl exporter on `host`:9771 with `extra` options, once it answers
    // on 127.0.0.1.
    void StartExporter(std::vector<std::string> extra = {}, const std::string& host = "127.0.0.1") {
        std::vector<std::string> args{"exporter", "--listen",
                                      host + ":" + std::to_string(HTTP_PORT)};
        args.insert(args.end(), extra.begin(), extra.end());
        m_exporter = std::make_unique<RunningR40ctl>(args);
        const auto giveUp = Clock::now() + 10s;
        while (Clock::now() < giveUp) {
            if (auto got = Get("/")) {
                if (got->status == 200) return;
            }
            std::this_thread::sleep_for(50ms);
        }
        FAIL() << "the exporter does not answer: " << m_exporter->Wait(1s).err;
    }

    static httplib::Result Get(const std::string& path) {
        httplib::Client client("127.0.0.1", HTTP_PORT);
        client.set_connection_timeout(2);
        client.set_read_timeout(15);
        return client.Get(path.c_str());
    }

    // One scrape, parsed. Fails the test when it cannot be had or parsed.
    static std::optional<Scrape> TakeScrape() {
        const httplib::Result got = Get("/metrics");
        if (!got || got->status != 200) {
            ADD_FAILURE() << "no scrape: " << (got ? std::to_string(got->status) : "no answer");
            return std::nullopt;
        }
        EXPECT_EQ(got->get_header_value("Content-Type"),
                  "text/plain; version=0.0.4; charset=utf-8");
        std::string why;
        bool missing = false;
        std::optional<Scrape> scrape = Parse(got->body, &why, &missing);
        if (!scrape && !missing) ADD_FAILURE() << "the parser refused the scrape: " << why;
        return scrape;
    }

    // Scrapes until `ready` holds (up to `timeout`); the last scrape.
    static std::optional<Scrape> ScrapeUntil(const std::function<bool(const Scrape&)>& ready,
                                             std::chrono::milliseconds timeout = 10s) {
        const auto giveUp = Clock::now() + timeout;
        std::optional<Scrape> scrape;
        do {
            scrape = TakeScrape();
            if (!scrape || ready(*scrape)) return scrape;
            std::this_thread::sleep_for(100ms);
        } while (Clock::now() < giveUp);
        ADD_FAILURE() << "the scrape never showed what was awaited";
        return scrape;
    }

    void SkipWithoutParser() {
        std::string why;
        bool missing = false;
        Parse("", &why, &missing);
        if (missing) GTEST_SKIP() << "python3-prometheus-client is not installed";
    }

    std::vector<std::unique_ptr<sim::EmulatedReceiver>> m_receivers;
    std::unique_ptr<RunningR40ctl> m_exporter;
};

TEST_F(ExporterTest, ShowsEveryModelWithItsLabelsAndValues) {
    SkipWithoutParser();
    auto& r40 = StartReceiver(sim::Model::R40, 20, 6516, 200ms, [](sim::ReceiverConfig& c) {
        c.initial.channel = 14;
        c.initial.atsc.errorLevelA = 6553;  // 13.20 dB at modulation code 6
        c.initial.atsc.carrierOffset = -1;  // -164.19 Hz
    });
    auto& r40v = StartReceiver(sim::Model::R40V, 21, 6516, 200ms, [](sim::ReceiverConfig& c) {
        c.initial.atsc.errorLevelA = 6553;
        c.initial.atsc.receiverFlags = 0x10;  // reported 3 dB low: 10.20 dB
        c.initial.dataFlowing = false;
    });
    auto& t22v3 = StartReceiver(sim::Model::T22V3, 22, 8309);  // level 100, table A: 90 %
    auto& t22v2 = StartReceiver(sim::Model::T22V2, 23, 6516, 200ms,
                                [](sim::ReceiverConfig& c) { c.initial.satellite.locked = false; });
    auto& t22ca = StartReceiver(sim::Model::T22CA, 24);  // 'T': the level is the percentage
    auto& trevan = StartReceiver(sim::Model::Trevan, 25, 18037);  // table B: 85 %
    StartExporter();

    const std::optional<Scrape> scrape = ScrapeUntil([&](const Scrape& s) {
        if (s.Count("r40_receiver_info") < 6) return false;
        for (const auto& rx : m_receivers)
            if (s.Value("r40_receiver_status_datagrams_total", MacText(rx->Mac())).value_or(0) < 3)
                return false;
        return true;
    });
    ASSERT_TRUE(scrape);
    const Scrape& s = *scrape;

    const struct {
        sim::EmulatedReceiver& rx;
        const char* model;
        const char* address;
        const char* port;
    } expected[] = {
        {r40, "R40", "127.0.0.20", "6516"},         {r40v, "R40V", "127.0.0.21", "6516"},
        {t22v3, "T22 (3.x)", "127.0.0.22", "8309"}, {t22v2, "T22 (2.x)", "127.0.0.23", "6516"},
        {t22ca, "T22CA", "127.0.0.24", "6516"},     {trevan, "Trevan", "127.0.0.25", "18037"}};
    for (const auto& e : expected) {
        const std::string mac = MacText(e.rx.Mac());
        SCOPED_TRACE(mac);
        const Scrape::Sample* info = s.Info(mac);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->labels.at("model"), e.model);
        EXPECT_EQ(info->labels.at("address"), e.address);
        EXPECT_EQ(info->labels.at("status_port"), e.port);
        EXPECT_EQ(info->value, 1);
        EXPECT_EQ(s.Value("r40_receiver_up", mac), 1);
        EXPECT_EQ(s.Value("r40_receiver_pids", mac), 2);
        EXPECT_EQ(s.Value("r40_receiver_refused_datagrams_total", mac), 0);
        EXPECT_EQ(s.Value("r40_receiver_lock_losses_total", mac), 0);
        EXPECT_NEAR(
            *s.Value("r40_receiver_last_status_timestamp_seconds", mac),
            std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
                .count(),
            30);
    }
    const std::string atsc = MacText(r40.Mac()), atscV = MacText(r40v.Mac());
    EXPECT_NEAR(*s.Value("r40_receiver_snr_decibels", atsc), 13.20, 0.01);
    EXPECT_NEAR(*s.Value("r40_receiver_snr_decibels", atscV), 10.20, 0.01);
    EXPECT_NEAR(*s.Value("r40_receiver_carrier_offset_hertz", atsc), -164.19, 0.01);
    EXPECT_EQ(s.Value("r40_receiver_channel", atsc), 14);
    EXPECT_EQ(s.Value("r40_receiver_locked", atsc), 1);
    EXPECT_EQ(s.Value("r40_receiver_data_active", atsc), 1);
    EXPECT_EQ(s.Value("r40_receiver_data_active", atscV), 0);
    EXPECT_FALSE(s.Value("r40_receiver_signal_ratio", atsc)) << "no such reading on ATSC";

    EXPECT_EQ(s.Value("r40_receiver_locked", MacText(t22v2.Mac())), 0);
    EXPECT_EQ(s.Value("r40_receiver_locked", MacText(t22v3.Mac())), 1);
    EXPECT_DOUBLE_EQ(*s.Value("r40_receiver_signal_ratio", MacText(t22v3.Mac())), 0.9);
    EXPECT_DOUBLE_EQ(*s.Value("r40_receiver_signal_ratio", MacText(t22ca.Mac())), 1.0);
    EXPECT_DOUBLE_EQ(*s.Value("r40_receiver_signal_ratio", MacText(trevan.Mac())), 0.85);
    EXPECT_EQ(s.Value("r40_receiver_frequency_hertz", MacText(trevan.Mac())), 1234500000);
    EXPECT_EQ(s.Value("r40_receiver_symbol_rate_symbols_per_second", MacText(trevan.Mac())),
              27500000);
    EXPECT_FALSE(s.Value("r40_receiver_snr_decibels", MacText(trevan.Mac())));

    EXPECT_EQ(s.types.at("r40_receiver_status_datagrams"), "counter");
    EXPECT_EQ(s.types.at("r40_receiver_lock_losses"), "counter");
    EXPECT_EQ(s.types.at("r40_receiver_snr_decibels"), "gauge");
    EXPECT_EQ(s.Value("r40_exporter_receivers"), 6);
    EXPECT_EQ(s.Value("r40_exporter_status_ports_listening"), 10);

    // Nothing ever went to a receiver.
    for (const auto& rx : m_receivers) EXPECT_TRUE(rx->Commands().empty());

    // The front page lists them and leads to the metrics.
    const httplib::Result page = Get("/");
    ASSERT_TRUE(page);
    EXPECT_NE(page->body.find("href=\"/metrics\""), std::string::npos);
    for (const auto& rx : m_receivers)
        EXPECT_NE(page->body.find(MacText(rx->Mac())), std::string::npos);

    m_exporter->Signal(SIGTERM);
    const RunResult ended = m_exporter->Wait(15s);
    EXPECT_FALSE(ended.timedOut);
    EXPECT_EQ(ended.exitCode, 0) << ended.err;
}

TEST_F(ExporterTest, AReceiverThatStopsIsDownAfterTwoOfItsIntervals) {
    SkipWithoutParser();
    auto& stays = StartReceiver(sim::Model::R40, 20);
    auto& stops = StartReceiver(sim::Model::T22V3, 21);
    StartExporter();
    const std::string gone = MacText(stops.Mac());
    ASSERT_TRUE(ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_status_datagrams_total", gone).value_or(0) >= 5 &&
               s.Value("r40_receiver_up", MacText(stays.Mac())) == 1;
    }));

    const auto stopped = Clock::now();
    stops.Stop();
    const std::optional<Scrape> down =
        ScrapeUntil([&](const Scrape& s) { return s.Value("r40_receiver_up", gone) == 0; });
    ASSERT_TRUE(down);
    // Its last status left at most one interval before the stop, and it is
    // down only once two intervals and the grace have passed since.
    EXPECT_GE(Clock::now() - stopped, 2 * 200ms);
    EXPECT_EQ(down->Value("r40_receiver_up", MacText(stays.Mac())), 1);
    EXPECT_NE(down->Info(gone), nullptr) << "kept, with up 0";
    EXPECT_FALSE(down->Value("r40_receiver_locked", gone)) << "no reading while down";
    EXPECT_TRUE(down->Value("r40_receiver_status_datagrams_total", gone));
}

double UnixNow() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Receivers named with --expect and in an --expect-file are listed, down,
// before anything is heard of them, and kept when silent far beyond
// --forget-after; a receiver not expected is forgotten. The exporter
// listens on a host name.
TEST_F(ExporterTest, ExpectedReceiversAreDownUntilHeardAndNeverForgotten) {
    SkipWithoutParser();
    const std::string later = "02-5C-C1-00-00-14", never = "02-5C-C1-00-00-15";
    const std::string file = ::testing::TempDir() + "expected-" + std::to_string(::getpid());
    { std::ofstream(file) << "# rack 2\n" << never << "  # spare\n"; }
    StartExporter({"--expect", later, "--expect-file", file, "--forget-after", "1s"}, "localhost");
    std::remove(file.c_str());
    std::optional<Scrape> s = TakeScrape();
    ASSERT_TRUE(s);
    for (const std::string& mac : {later, never}) {
        SCOPED_TRACE(mac);
        ASSERT_TRUE(s->Info(mac));
        EXPECT_EQ(s->Info(mac)->labels.count("address"), 0u) << "nothing known of it yet";
        EXPECT_EQ(s->Value("r40_receiver_up", mac), 0);
        EXPECT_FALSE(s->Value("r40_receiver_last_status_timestamp_seconds", mac));
    }

    auto& expected = StartReceiver(sim::Model::R40, 20, 6516, 100ms);
    auto& passing = StartReceiver(sim::Model::T22V3, 22, 6516, 100ms);
    ASSERT_EQ(MacText(expected.Mac()), later);
    const std::string passer = MacText(passing.Mac());
    // Heard a few times, so that each is down within its own rhythm, well
    // before the second of --forget-after.
    s = ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_status_datagrams_total", later).value_or(0) >= 4 &&
               s.Value("r40_receiver_status_datagrams_total", passer).value_or(0) >= 4;
    });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_receiver_up", later), 1);
    EXPECT_EQ(s->Info(later)->labels.at("address"), "127.0.0.20");
    EXPECT_EQ(s->Info(later)->labels.at("model"), "R40");
    EXPECT_EQ(s->Value("r40_receiver_up", never), 0);

    expected.Stop();
    passing.Stop();
    s = ScrapeUntil([&](const Scrape& s) { return s.Info(passer) == nullptr; });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_receiver_up", later), 0);
    ASSERT_TRUE(s->Info(later));
    EXPECT_EQ(s->Info(later)->labels.at("address"), "127.0.0.20") << "the last known address";
    EXPECT_TRUE(s->Value("r40_receiver_last_status_timestamp_seconds", later));
    EXPECT_EQ(s->Value("r40_receiver_up", never), 0);
    EXPECT_EQ(s->Value("r40_exporter_receivers"), 2);
}

// The process_* metrics describe the exporter's own process as /proc shows
// it to the test, and r40_exporter_build_info its version.
TEST_F(ExporterTest, ShowsItsOwnProcessAndBuild) {
    SkipWithoutParser();
    const double before = UnixNow();
    StartExporter({}, "localhost");
    const double after = UnixNow();
    const std::optional<Scrape> s = TakeScrape();
    ASSERT_TRUE(s);
    const std::string proc = "/proc/" + std::to_string(m_exporter->Pid());

    // The start time: from boot time (whole seconds) and clock ticks.
    EXPECT_GE(s->Value("process_start_time_seconds").value_or(0), before - 1.5);
    EXPECT_LE(s->Value("process_start_time_seconds").value_or(0), after + 1);
    std::ifstream limits(proc + "/limits");
    std::string line;
    double softLimit = -1;
    while (std::getline(limits, line))
        if (line.rfind("Max open files", 0) == 0) softLimit = std::stod(line.substr(26));
    EXPECT_EQ(s->Value("process_max_fds"), softLimit);
    // Its descriptors now, give or take the scrape's connection.
    double descriptors = 0;
    DIR* dir = ::opendir((proc + "/fd").c_str());
    ASSERT_NE(dir, nullptr);
    while (const dirent* entry = ::readdir(dir)) descriptors += entry->d_name[0] != '.';
    ::closedir(dir);
    EXPECT_GT(descriptors, 10) << "ten status ports at least";
    EXPECT_NEAR(s->Value("process_open_fds").value_or(0), descriptors, 2);
    const double residentBytes = static_cast<double>(ResidentKib(m_exporter->Pid())) * 1024;
    EXPECT_NEAR(s->Value("process_resident_memory_bytes").value_or(0), residentBytes,
                0.3 * residentBytes);
    EXPECT_GT(s->Value("process_virtual_memory_bytes").value_or(0),
              s->Value("process_resident_memory_bytes").value_or(0));
    EXPECT_EQ(s->types.at("process_cpu_seconds"), "counter");
    EXPECT_GE(s->Value("process_cpu_seconds_total").value_or(-1), 0);

    const RunResult version = RunR40ctl({"--version"});
    const Scrape::Sample* build = nullptr;
    for (const Scrape::Sample& sample : s->samples)
        if (sample.name == "r40_exporter_build_info") build = &sample;
    ASSERT_TRUE(build);
    EXPECT_EQ(build->value, 1);
    EXPECT_EQ("r40ctl " + build->labels.at("version") + "\n", version.out);
}

TEST_F(ExporterTest, ALockLossCountsOnce) {
    SkipWithoutParser();
    auto& atsc = StartReceiver(sim::Model::R40, 20, 6516, 100ms);
    auto& satellite = StartReceiver(sim::Model::Trevan, 21, 6516, 100ms);
    StartExporter();
    const std::string a = MacText(atsc.Mac()), b = MacText(satellite.Mac());
    ASSERT_TRUE(ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_locked", a) == 1 && s.Value("r40_receiver_locked", b) == 1;
    }));

    atsc.SetLocked(false);
    satellite.SetLocked(false);
    ASSERT_TRUE(atsc.WaitForNewStatuses(6, 5s) && satellite.WaitForNewStatuses(6, 5s));
    std::optional<Scrape> s = ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_locked", a) == 0 && s.Value("r40_receiver_locked", b) == 0;
    });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_receiver_lock_losses_total", a), 1);
    EXPECT_EQ(s->Value("r40_receiver_lock_losses_total", b), 1);

    atsc.SetLocked(true);
    ASSERT_TRUE(atsc.WaitForNewStatuses(3, 5s));
    atsc.SetLocked(false);
    ASSERT_TRUE(atsc.WaitForNewStatuses(3, 5s));
    s = ScrapeUntil(
        [&](const Scrape& s) { return s.Value("r40_receiver_lock_losses_total", a) == 2; });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_receiver_lock_losses_total", b), 1);
}

// The console's side through the library, with the exporter running: its
// status port is free, discovery finds everyone, and a receiver whose
// status reaches this host only as datagrams to its own address keeps
// talking to the console; the exporter never takes those from it.
TEST_F(ExporterTest, LeavesTheConsoleEverythingItHears) {
    SkipWithoutParser();
    auto& broadcasting = StartReceiver(sim::Model::R40, 20, 6516, 100ms);
    auto& unicastOnly =
        StartReceiver(sim::Model::R40V, 21, 6516, 100ms, [](sim::ReceiverConfig& c) {
            c.broadcastAddress = {127, 0, 0, 1};
        });
    StartExporter();
    ASSERT_TRUE(ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_up", MacText(broadcasting.Mac())) == 1;
    }));

    uint16_t port = 0;
    ASSERT_EQ(FindFreeStatusPort(&port), 0);
    EXPECT_EQ(port, 6516) << "the exporter's sockets share the port";

    DeviceList list{};
    DiscoverDevices(&list);
    EXPECT_EQ(list.count, 2);

    for (sim::EmulatedReceiver* rx : {&unicastOnly, &broadcasting}) {
        DeviceInfo entry{};
        std::memcpy(entry.address, rx->Address().data(), 4);
        std::memcpy(entry.mac, rx->Mac().data(), 6);
        entry.statusPort = 6516;
        entry.deviceType = rx == &unicastOnly ? TYPE_R40_TREVAN : TYPE_R40;
        int32_t result = -99;
        DeviceHandle device = OpenDevice(&entry, 2000, &result);
        ASSERT_NE(device, nullptr) << result;
        R40StatusRecord record{};
        int good = 0;
        for (int i = 0; i < 10; ++i) good += GetDeviceStatus(device, &record) == 0;
        CloseDevice(device);
        EXPECT_EQ(good, 10) << MacText(rx->Mac());
    }

    const std::optional<Scrape> s = TakeScrape();
    ASSERT_TRUE(s);
    EXPECT_TRUE(s->Info(MacText(broadcasting.Mac())));
    EXPECT_FALSE(s->Info(MacText(unicastOnly.Mac())))
        << "a datagram to this host's own address is the console's";
}

TEST_F(ExporterTest, WithUnicastItAlsoTakesDatagramsToThisHost) {
    SkipWithoutParser();
    auto& unicastOnly =
        StartReceiver(sim::Model::R40, 21, 17781, 100ms, [](sim::ReceiverConfig& c) {
            c.broadcastAddress = {127, 0, 0, 1};
        });
    StartExporter({"--unicast", "--port", "17781"});
    const std::optional<Scrape> s = ScrapeUntil([&](const Scrape& s) {
        return s.Value("r40_receiver_up", MacText(unicastOnly.Mac())) == 1;
    });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_exporter_status_ports_listening"), 1);
}

// Datagrams of any length and content from many addresses, and well-formed
// status from far more receivers than it may keep.
TEST_F(ExporterTest, AFloodKeepsItsSeriesCappedItsMemoryFlatAndItsScrapesAnswered) {
    SkipWithoutParser();
    auto& real = StartReceiver(sim::Model::R40, 20, 6516, 200ms);
    // In a sanitizer build freed memory waits in a quarantine before reuse,
    // so resident memory would grow with every datagram whatever the
    // exporter holds; without the quarantine it is the exporter's own.
    const char* asan = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS",
             ((asan != nullptr ? std::string(asan) + ":" : std::string()) + "quarantine_size_mb=0")
                 .c_str(),
             1);
    StartExporter({"--max-receivers", "32"});
    ASSERT_TRUE(ScrapeUntil(
        [&](const Scrape& s) { return s.Value("r40_receiver_up", MacText(real.Mac())) == 1; }));

    StatusFlood flood;
    std::string why;
    ASSERT_TRUE(flood.Open(64, &why)) << why;
    long firstRoundKib = 0;
    for (int round = 0; round < 6; ++round) {
        flood.Round();
        const std::optional<Scrape> s = TakeScrape();
        ASSERT_TRUE(s) << "round " << round;
        EXPECT_LE(s->Count("r40_receiver_info"), 32u);
        EXPECT_LE(s->Count("r40_receiver_up"), 32u);
        if (round == 0) firstRoundKib = ResidentKib(m_exporter->Pid());
    }
    const long lastRoundKib = ResidentKib(m_exporter->Pid());
    ASSERT_GT(firstRoundKib, 0);
    EXPECT_LT(lastRoundKib - firstRoundKib, 4096) << firstRoundKib << " KiB, then " << lastRoundKib;

    const std::optional<Scrape> s = ScrapeUntil(
        [&](const Scrape& s) { return s.Value("r40_receiver_up", MacText(real.Mac())) == 1; });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Count("r40_receiver_info"), 32u);
    EXPECT_EQ(s->Value("r40_exporter_receivers"), 32);
    EXPECT_GT(*s->Value("r40_exporter_dropped_datagrams_total"), 0);
    std::map<std::string, double> dropped;
    for (const Scrape::Sample& sample : s->samples)
        if (sample.name == "r40_exporter_dropped_datagrams_total")
            dropped[sample.labels.at("reason")] = sample.value;
    EXPECT_GT(dropped["receiver_limit"], 0);
    EXPECT_GT(dropped["unrecognised"], 0);
    EXPECT_GT(dropped["foreign_mac"], 0);
    // Loopback sources claim any number: only a LAN host is held to a share.
    EXPECT_EQ(dropped["source_limit"], 0);
}

// One host on the LAN claiming 200 receivers' MAC addresses gets four
// places; the rest of its datagrams are counted, and a receiver that comes
// later is tracked.
TEST_F(ExporterTest, ASpoofingHostCannotFillTheTable) {
    SkipWithoutParser();
    std::string why;
    if (!test_support::AddLocalNetwork("10.26.0.1/16", &why)) GTEST_SKIP() << why;
    StartExporter({"--unicast", "--max-receivers", "16"});
    devicelib_test::ForgedReceivers forged({{10, 26, 0, 5}}, 200, 2000);
    ASSERT_TRUE(ScrapeUntil([](const Scrape& s) {
        for (const Scrape::Sample& sample : s.samples)
            if (sample.name == "r40_exporter_dropped_datagrams_total" &&
                sample.labels.at("reason") == "source_limit" && sample.value > 0)
                return true;
        return false;
    }));
    auto& real = StartReceiver(sim::Model::R40, 20);
    const std::optional<Scrape> s = ScrapeUntil(
        [&](const Scrape& s) { return s.Value("r40_receiver_up", MacText(real.Mac())) == 1; });
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Value("r40_exporter_receivers"), MAX_MACS_PER_SOURCE + 1);
}

// A raw exchange on one connection: all that came back, and whether the
// server closed the connection (rather than the wait running out).
struct Exchange {
    std::string answer;
    bool closed = false;
};

// A connection to the exporter from `from` (a loopback address of the
// test's namespace), or -1.
int ConnectFrom(const sim::Ipv4& from) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    std::memcpy(&source.sin_addr, from.data(), 4);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(HTTP_PORT);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

Exchange RawExchange(const std::string& request, std::chrono::seconds wait = 15s,
                     const sim::Ipv4& from = {127, 0, 0, 1}) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in source{};
    source.sin_family = AF_INET;
    std::memcpy(&source.sin_addr, from.data(), 4);
    ::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(HTTP_PORT);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return {"connect failed", false};
    }
    timeval timeout{static_cast<time_t>(wait.count()), 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server stopped reading: fine
        sent += static_cast<std::size_t>(n);
    }
    Exchange exchange;
    char buffer[4096];
    ssize_t n;
    while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) exchange.answer.append(buffer, n);
    // End of stream, or the reset of a close with unread data behind it.
    exchange.closed = n == 0 || errno == ECONNRESET;
    ::close(fd);
    return exchange;
}

TEST_F(ExporterTest, HttpServesItsTwoPagesAndNothingElse) {
    StartExporter();
    httplib::Client client("127.0.0.1", HTTP_PORT);
    client.set_read_timeout(15);
    EXPECT_EQ(client.Get("/metrics")->status, 200);
    EXPECT_EQ(client.Get("/")->status, 200);
    const httplib::Result head = client.Head("/metrics");
    EXPECT_EQ(head->status, 200);
    EXPECT_TRUE(head->body.empty());
    // Its pages by other methods: 405, with the methods it takes.
    for (const httplib::Result& refused :
         {client.Post("/metrics", "x", "text/plain"), client.Put("/", "x", "text/plain"),
          client.Delete("/metrics"), client.Options("/metrics"), client.Patch("/", "x", "a/b")}) {
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->status, 405);
        EXPECT_EQ(refused->get_header_value("Allow"), "GET, HEAD");
    }
    EXPECT_EQ(client.Post("/nothing", "x", "text/plain")->status, 404);
    for (const char* path : {"/metrics/", "/index.html", "/etc/passwd", "/metrics/../metrics"})
        EXPECT_EQ(client.Get(path)->status, 404) << path;
    EXPECT_EQ(RawExchange("GET /../../../etc/passwd HTTP/1.1\r\nHost: x\r\n\r\n")
                  .answer.rfind("HTTP/1.1 404", 0),
              0u);

    // A head that never ends, and a body far beyond any request's: refused
    // after the first few KiB, never answered with a page. (A GET's body is
    // never read at all.)
    std::string endless = "GET /metrics HTTP/1.1\r\nHost: x\r\n";
    while (endless.size() < 4 * 1024 * 1024)
        endless += "X-Filler: " + std::string(100, 'a') + "\r\n";
    const Exchange refused = RawExchange(endless);
    EXPECT_TRUE(refused.closed);
    EXPECT_EQ(refused.answer.find("HTTP/1.1 200"), std::string::npos)
        << refused.answer.substr(0, 200);
    const std::string body =
        "POST / HTTP/1.1\r\nHost: x\r\nContent-Length: 1000000\r\n\r\n" + std::string(1000000, 'b');
    EXPECT_EQ(RawExchange(body).answer.find("HTTP/1.1 200"), std::string::npos);

    // A client that connects and says nothing is let go; meanwhile scrapes
    // are answered.
    std::thread idle([] {
        const Exchange silent = RawExchange("", 20s);
        EXPECT_TRUE(silent.closed);
        EXPECT_EQ(silent.answer, "");
    });
    EXPECT_EQ(client.Get("/metrics")->status, 200);
    idle.join();
    EXPECT_EQ(client.Get("/metrics")->status, 200);
}

// Ranges are never served: one short request asking for thousands of
// overlapping ranges gets the page once, as a request without them does.
TEST_F(ExporterTest, AnAnswerStaysTheSizeOfItsPageWhateverRangesAreAskedFor) {
    for (int octet = 20; octet < 24; ++octet) StartReceiver(sim::Model::R40V, octet);
    StartExporter();
    ASSERT_TRUE(ScrapeUntil([](const Scrape& s) { return s.Count("r40_receiver_info") == 4; }));
    const Exchange plain = RawExchange("GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n");
    ASSERT_EQ(plain.answer.rfind("HTTP/1.1 200", 0), 0u) << plain.answer.substr(0, 100);
    std::string ranges = "bytes=0-";
    while (ranges.size() < 8000) ranges += ",0-";
    for (const std::string& header : std::vector<std::string>{
             "Range: " + ranges, "range: " + ranges, "RANGE : bytes=0-0", "Range: bytes=10-20",
             "Range: bytes=0-\r\n ,0-,0-,0-", "X-Other: 1\r\nRange: " + ranges}) {
        SCOPED_TRACE(header.substr(0, 40));
        for (const char* method : {"GET", "HEAD"}) {
            const Exchange ranged = RawExchange(
                std::string(method) + " /metrics HTTP/1.1\r\nHost: x\r\n" + header + "\r\n\r\n");
            EXPECT_EQ(ranged.answer.rfind("HTTP/1.1 200", 0), 0u) << ranged.answer.substr(0, 100);
            // The page itself grows a little between scrapes (its counters).
            EXPECT_LT(ranged.answer.size(), 2 * plain.answer.size()) << method;
        }
    }
}

// Clients that connect and say nothing, or a byte a second, hold a socket
// each and nothing a scrape needs; one address with more connections than
// its share loses its oldest idle ones, not its scrape.
TEST_F(ExporterTest, IdleAndSlowClientsNeverHoldUpAScrape) {
    StartReceiver(sim::Model::R40, 20);
    StartExporter();
    std::vector<int> idle, slow, crowd;
    for (int i = 1; i <= 50; ++i) idle.push_back(ConnectFrom({127, 0, 1, std::uint8_t(i)}));
    for (int i = 1; i <= 50; ++i) slow.push_back(ConnectFrom({127, 0, 2, std::uint8_t(i)}));
    for (int i = 0; i < 20; ++i) crowd.push_back(ConnectFrom({127, 0, 3, 1}));
    for (const std::vector<int>* group : {&idle, &slow, &crowd})
        for (int fd : *group) ASSERT_GE(fd, 0);
    std::atomic<bool> done{false};
    std::thread trickle([&] {
        const char* request = "GET /metrics HTTP/1.1\r\n";
        for (std::size_t k = 0; !done.load(); ++k) {
            for (int fd : slow) ::send(fd, request + k % std::strlen(request), 1, MSG_NOSIGNAL);
            for (int waited = 0; waited < 10 && !done.load(); ++waited)
                std::this_thread::sleep_for(100ms);
        }
    });
    // Each scrape is given less time than a silent client has to send its
    // request: it is answered while every one of them still holds its
    // connection.
    for (const sim::Ipv4& from :
         {sim::Ipv4{127, 0, 0, 1}, sim::Ipv4{127, 0, 3, 1}, sim::Ipv4{127, 0, 0, 1}}) {
        const Exchange scrape = RawExchange("GET /metrics HTTP/1.1\r\nHost: x\r\n\r\n", 2s, from);
        EXPECT_EQ(scrape.answer.rfind("HTTP/1.1 200", 0), 0u)
            << "from " << int(from[2]) << "." << int(from[3]) << ": "
            << scrape.answer.substr(0, 80);
    }
    done = true;
    trickle.join();
    for (const std::vector<int>* group : {&idle, &slow, &crowd})
        for (int fd : *group) ::close(fd);
}

TEST_F(ExporterTest, RefusesWhatItCannotDo) {
    const std::string tooMany = ::testing::TempDir() + "too-many-expected";
    {
        std::ofstream file(tooMany);
        for (int n = 0; n < 3; ++n) file << "02-5C-C1-00-01-0" << n << "\n";
    }
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* says;
    } refusals[] = {
        {{"--port", "1234"}, 2, "1234"},
        {{"--listen", "no-such-host.invalid:80"}, 2, "cannot serve HTTP on no-such-host.invalid"},
        {{"--listen", "127.0.0.1:99999"}, 2, "--listen wants"},
        {{"--listen", "127.1:9771"}, 2, "--listen wants"},
        {{"--max-receivers", "0"}, 2, "--max-receivers"},
        {{"--forget-after", "0"}, 2, "--forget-after wants"},
        {{"--forget-after", "367d"}, 2, "--forget-after wants"},
        {{"--forget-after", "1w"}, 2, "--forget-after wants"},
        {{"--expect", "00-11-22-33-44-55"}, 2, "is no receiver's MAC address"},
        {{"--expect", "02-5C-C1-00-00-14", "nonsense"}, 2, "not a MAC address: nonsense"},
        {{"--expect-file", "/nonexistent/receivers"}, 4, "/nonexistent/receivers"},
        {{"--expect-file", tooMany, "--max-receivers", "2"}, 2, "3 receivers expected"},
    };
    for (const auto& refusal : refusals) {
        std::vector<std::string> args{"exporter"};
        args.insert(args.end(), refusal.args.begin(), refusal.args.end());
        const RunResult result = RunR40ctl(args);
        EXPECT_EQ(result.exitCode, refusal.exitCode) << args[1] << ": " << result.err;
        EXPECT_NE(result.err.find(refusal.says), std::string::npos) << result.err;
    }
    std::remove(tooMany.c_str());
    // The HTTP port taken: said so, exit 2.
    StartExporter();
    const RunResult second =
        RunR40ctl({"exporter", "--listen", "127.0.0.1:" + std::to_string(HTTP_PORT)});
    EXPECT_EQ(second.exitCode, 2) << second.err;
    EXPECT_NE(second.err.find("cannot serve HTTP"), std::string::npos) << second.err;
}

}  // namespace
}  // namespace tools_test
