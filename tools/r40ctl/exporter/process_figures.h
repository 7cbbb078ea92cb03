// The exporter's own process as Prometheus' client libraries show theirs
// (the process_* metrics): CPU time, memory, descriptors and start time,
// read from /proc at each scrape.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace r40ctl::exporter {

struct ProcessFigures {
    double cpuSeconds = 0;  // user and system
    double residentBytes = 0;
    double virtualBytes = 0;
    double startTimeUnixSeconds = 0;
    std::optional<double> openFds;  // none where /proc/self/fd cannot be read
    std::optional<double> maxFds;   // the soft limit; none when unlimited
};

// The system's facts the figures are computed with.
struct ProcFacts {
    double bootTimeUnixSeconds = 0;  // "btime" of /proc/stat
    long ticksPerSecond = 100;       // sysconf(_SC_CLK_TCK)
    long pageBytes = 4096;           // sysconf(_SC_PAGESIZE)
};

// The boot time from /proc/stat; none without a "btime" line.
std::optional<double> BootTimeFrom(std::istream& procStat);

// CPU time, memory and start time from the one line of /proc/PID/stat. The
// command name in it is in parentheses and may itself hold spaces and
// parentheses: the fields begin after the last ')'. None when the line is
// not of that form.
std::optional<ProcessFigures> FiguresFromStat(std::string_view statLine, const ProcFacts& facts);

// This process now; none without /proc.
std::optional<ProcessFigures> ReadProcessFigures();

}  // namespace r40ctl::exporter
