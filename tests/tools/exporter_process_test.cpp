// The exporter's process_* figures: read from fixed /proc texts (command
// names that hold spaces and parentheses), and from this very process,
// whose descriptors, limit and CPU time the test changes and measures
// itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "tools/r40ctl/exporter/process_figures.h"

namespace r40ctl::exporter {
namespace {

// A /proc/PID/stat line of a process named `name`: utime 250, stime 50,
// starttime 12345, vsize 104857600, rss 2560 pages; the fields between as a
// running process has them.
std::string StatLine(const std::string& name) {
    return "4242 (" + name +
           ") S 1 4242 4242 0 -1 4194560 1234 0 0 0 250 50 0 0 20 0 3 0 12345 104857600 2560 "
           "18446744073709551615 1 1 0 0 0 0 0 4096 16384 0 0 0 17 1 0 0 0 0 0\n";
}

TEST(ExporterProcess, FiguresFromProcTexts) {
    ProcFacts facts;
    facts.bootTimeUnixSeconds = 1700000000;
    facts.ticksPerSecond = 100;
    facts.pageBytes = 4096;
    for (const std::string name : {"r40ctl", "r40 ctl", "a) S 1 2 (b", ")", ""}) {
        SCOPED_TRACE(name);
        const std::optional<ProcessFigures> figures = FiguresFromStat(StatLine(name), facts);
        ASSERT_TRUE(figures);
        EXPECT_DOUBLE_EQ(figures->cpuSeconds, 3.0);
        EXPECT_DOUBLE_EQ(figures->startTimeUnixSeconds, 1700000123.45);
        EXPECT_DOUBLE_EQ(figures->virtualBytes, 104857600);
        EXPECT_DOUBLE_EQ(figures->residentBytes, 2560.0 * 4096);
    }
    facts.ticksPerSecond = 250;
    EXPECT_DOUBLE_EQ(FiguresFromStat(StatLine("x"), facts)->cpuSeconds, 300.0 / 250);

    const std::string whole = StatLine("x");
    for (const std::string& broken :
         {std::string(), std::string("4242 r40ctl S 1"), whole.substr(0, whole.find(" 2560 ")),
          std::string("4242 (x) S 1 4242 4242 0 -1 4194560 1234 0 0 0 2x0 50 0 0 20 0 3 0 12345 "
                      "104857600 2560")})
        EXPECT_FALSE(FiguresFromStat(broken, facts)) << broken;

    std::istringstream procStat(
        "cpu  1 2 3\ncpu0 1 2 3\nintr 1 2 3 4 5 6\nctxt 99\nbtime 1765432100\nprocesses 7\n");
    EXPECT_EQ(BootTimeFrom(procStat), 1765432100);
    std::istringstream noBoot("cpu 1 2 3\nbtimes 5\n");
    EXPECT_FALSE(BootTimeFrom(noBoot));
}

// This process as /proc shows it, against what the test did to it.
TEST(ExporterProcess, ThisProcess) {
    const std::optional<ProcessFigures> before = ReadProcessFigures();
    ASSERT_TRUE(before);
    ASSERT_TRUE(before->openFds);
    std::vector<int> opened;
    for (int i = 0; i < 7; ++i) opened.push_back(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    const std::optional<ProcessFigures> more = ReadProcessFigures();
    for (int fd : opened) ::close(fd);
    ASSERT_TRUE(more && more->openFds);
    EXPECT_EQ(*more->openFds - *before->openFds, 7);

    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit lowered{std::min<rlim_t>(limit.rlim_max, 777), limit.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
    const std::optional<ProcessFigures> limited = ReadProcessFigures();
    ::setrlimit(RLIMIT_NOFILE, &limit);
    ASSERT_TRUE(limited && limited->maxFds);
    EXPECT_EQ(*limited->maxFds, static_cast<double>(lowered.rlim_cur));

    // CPU time as the C library counts it, a few tenths of a second burnt.
    volatile double sink = 0;
    for (long i = 0; i < 2'000'000'000 && std::clock() < CLOCKS_PER_SEC / 3; ++i)
        sink = sink + std::sqrt(static_cast<double>(i));
    const double clockSeconds = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
    const std::optional<ProcessFigures> busy = ReadProcessFigures();
    ASSERT_TRUE(busy);
    EXPECT_NEAR(busy->cpuSeconds, clockSeconds, 0.1);
    EXPECT_GT(busy->cpuSeconds, 0.2);

    // Started after boot and before now; memory as /proc/self/statm counts it.
    const double now =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_LE(busy->startTimeUnixSeconds, now + 1);
    EXPECT_GT(busy->startTimeUnixSeconds, now - 3600) << "a test process younger than an hour";
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    EXPECT_NEAR(busy->residentBytes, resident * ::sysconf(_SC_PAGESIZE),
                0.25 * busy->residentBytes);
    EXPECT_NEAR(busy->virtualBytes, pages * ::sysconf(_SC_PAGESIZE), 0.25 * busy->virtualBytes);
}

}  // namespace
}  // namespace r40ctl::exporter
