// Prints how long the configuration document takes for what the console does
// with it, and for the worst files it still accepts or refuses. Figures only:
// nothing here passes or fails.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "config/document_text.h"
#include "config/r40_settings_to_xml_doc.h"

namespace {

namespace fs = std::filesystem;

double MillisecondsPerRun(int runs, const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i) run();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / runs;
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Repeat(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

// The eight writes that create a configuration from a receiver's status.
void CreateFromStatus(const std::string& path) {
    CR40SettingsToXmlDoc doc;
    doc.OpenForWriting(path);
    const std::uint8_t mac[3] = {0, 96, 53};
    const std::uint8_t address[4] = {192, 168, 0, 50};
    doc.WriteMACBytes(mac);
    doc.WriteDefaultGW(address);
    doc.WriteDeviceIP(address);
    doc.WriteDeviceSubNet(address);
    doc.WriteUnicastStatus(address);
    doc.WriteUseIGMP(false);
    doc.WriteChannel(14);
    TrevanPidListRecord list{};
    list.count = MAX_PIDS;
    for (int i = 0; i < MAX_PIDS; ++i) list.pid[i] = static_cast<std::uint16_t>(0x100 + i);
    doc.WritePIDListWithDestinations(list);
}

void ReadEverything(const std::string& path) {
    CR40SettingsToXmlDoc doc;
    doc.Load(path);
    std::uint8_t address[4];
    std::int32_t value;
    doc.ReadDeviceIP(address);
    doc.ReadDeviceSubNet(address);
    doc.ReadDefaultGW(address);
    doc.ReadUnicastStatus(address);
    doc.ReadUseIGMP(value);
    doc.ReadChannel(value);
    TrevanPidListRecord list{};
    doc.ReadPIDListWithDestinations(list);
}

void LoadOnly(const std::string& path) {
    CR40SettingsToXmlDoc doc;
    doc.Load(path);
}

}  // namespace

int main() {
    const fs::path dir =
        fs::temp_directory_path() /
        ("r40-config-bench-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(dir);
    const std::string full = (dir / "full.xml").string();

    std::printf("configuration document (per run)\n");
    std::printf("  create from status, 8 saves with flush: %8.2f ms\n", MillisecondsPerRun(20, [&] {
                    fs::remove(full);
                    CreateFromStatus(full);
                }));
    std::printf("  size of a full 32-entry configuration:  %8ju bytes\n",
                static_cast<std::uintmax_t>(fs::file_size(full)));
    std::printf("  load and read everything:               %8.3f ms\n",
                MillisecondsPerRun(500, [&] { ReadEverything(full); }));
    std::printf("  load and save under another name:       %8.2f ms\n", MillisecondsPerRun(20, [&] {
                    CR40SettingsToXmlDoc doc;
                    doc.Load(full);
                    doc.SaveAs((dir / "copy.xml").string());
                }));

    struct Worst {
        const char* what;
        std::string text;
    };
    const std::size_t elements = config::MAX_DOCUMENT_ELEMENTS;
    const Worst worst[] = {
        {"nesting just inside the element limit",
         Repeat("<a>", elements - 1) + Repeat("</a>", elements - 1)},
        {"one element with the most attributes",
         [] {
             std::string text = "<a";
             for (std::size_t i = 0; i + 1 < config::MAX_DOCUMENT_ATTRIBUTES; ++i)
                 text += " a" + std::to_string(i) + "=\"1\"";
             return text + " />";
         }()},
        {"largest file (one long comment)",
         "<a><!--" + std::string(config::MAX_DOCUMENT_BYTES - 20, 'x') + "--></a>"},
        {"10 MB file, refused", std::string(10 * 1024 * 1024, ' ') + "<a/>"},
        {"deep nesting beyond the limit, refused", Repeat("<a>", 300000)},
    };
    std::printf("worst files (load, per run)\n");
    for (const Worst& w : worst) {
        const std::string path = (dir / "worst.xml").string();
        Write(path, w.text);
        std::printf("  %-40s %8.2f ms\n", w.what, MillisecondsPerRun(5, [&] { LoadOnly(path); }));
    }
    fs::remove_all(dir);
    return 0;
}
