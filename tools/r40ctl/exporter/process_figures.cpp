#include "tools/r40ctl/exporter/process_figures.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <memory>
#include <vector>

namespace r40ctl::exporter {
namespace {

// The /proc/PID/stat fields after the command name, numbered as proc(5)
// numbers them from 1 (the state is field 3).
constexpr std::size_t FIRST_FIELD = 3;
constexpr std::size_t UTIME = 14, STIME = 15, STARTTIME = 22, VSIZE = 23, RSS = 24;

std::optional<double> Number(std::string_view text) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return static_cast<double>(value);
}

// At most `most` bytes of a file; /proc files report no size.
std::string ReadSmallFile(const char* path, std::size_t most) {
    std::ifstream file(path, std::ios::binary);
    std::string text(most, '\0');
    file.read(text.data(), static_cast<std::streamsize>(most));
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

std::optional<double> OpenDescriptors() {
    struct CloseDir {
        void operator()(DIR* dir) const { ::closedir(dir); }
    };
    const std::unique_ptr<DIR, CloseDir> dir(::opendir("/proc/self/fd"));
    if (!dir) return std::nullopt;
    double count = 0;
    while (const dirent* entry = ::readdir(dir.get()))
        if (entry->d_name[0] != '.') ++count;
    return count - 1;  // the directory's own descriptor
}

}  // namespace

std::optional<double> BootTimeFrom(std::istream& procStat) {
    // Lines can be long (one number per interrupt), so they are read whole.
    constexpr std::string_view KEY = "btime ";
    std::string line;
    while (std::getline(procStat, line))
        if (std::string_view(line).substr(0, KEY.size()) == KEY)
            return Number(std::string_view(line).substr(KEY.size()));
    return std::nullopt;
}

std::optional<ProcessFigures> FiguresFromStat(std::string_view statLine, const ProcFacts& facts) {
    const std::size_t nameEnd = statLine.rfind(')');
    if (nameEnd == std::string_view::npos || facts.ticksPerSecond <= 0) return std::nullopt;
    std::vector<std::string_view> fields;
    std::string_view rest = statLine.substr(nameEnd + 1);
    while (!rest.empty() && fields.size() <= RSS - FIRST_FIELD) {
        const std::size_t start = rest.find_first_not_of(" \n");
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find_first_of(" \n"), rest.size());
        fields.push_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    if (fields.size() <= RSS - FIRST_FIELD) return std::nullopt;
    const auto field = [&](std::size_t number) { return Number(fields[number - FIRST_FIELD]); };
    const auto utime = field(UTIME), stime = field(STIME), start = field(STARTTIME),
               vsize = field(VSIZE), rss = field(RSS);
    if (!utime || !stime || !start || !vsize || !rss) return std::nullopt;
    const double ticks = static_cast<double>(facts.ticksPerSecond);
    ProcessFigures figures;
    figures.cpuSeconds = (*utime + *stime) / ticks;
    figures.startTimeUnixSeconds = facts.bootTimeUnixSeconds + *start / ticks;
    figures.virtualBytes = *vsize;
    figures.residentBytes = *rss * static_cast<double>(facts.pageBytes);
    return figures;
}

std::optional<ProcessFigures> ReadProcessFigures() {
    ProcFacts facts;
    facts.ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    facts.pageBytes = ::sysconf(_SC_PAGESIZE);
    static const std::optional<double> boot = [] {
        std::ifstream procStat("/proc/stat");
        return BootTimeFrom(procStat);
    }();
    if (!boot) return std::nullopt;
    facts.bootTimeUnixSeconds = *boot;
    std::optional<ProcessFigures> figures =
        FiguresFromStat(ReadSmallFile("/proc/self/stat", 4096), facts);
    if (!figures) return std::nullopt;
    figures->openFds = OpenDescriptors();
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        figures->maxFds = static_cast<double>(limit.rlim_cur);
    return figures;
}

}  // namespace r40ctl::exporter
