// A configuration file as found on the disk: loaded, every value read, the
// values an apply would send judged (for both PID list forms), and saved
// again, which must give a file that loads.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/r40_settings_to_xml_doc.h"
#include "config/values_to_send.h"

namespace {

struct Files {
    Files() {
        const char* shm = "/dev/shm";
        std::string pattern =
            std::string(access(shm, W_OK) == 0 ? shm : "/tmp") + "/r40-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
        directory = pattern;
        input = directory + "/in.xml";
        saved = directory + "/saved.xml";
    }
    ~Files() {
        std::remove(input.c_str());
        std::remove(saved.c_str());
        rmdir(directory.c_str());
    }
    std::string directory, input, saved;
};

void ReadEverything(const CR40SettingsToXmlDoc& doc) {
    std::uint8_t address[4];
    doc.ReadDeviceIP(address);
    doc.ReadDeviceSubNet(address);
    doc.ReadDefaultGW(address);
    doc.ReadUnicastStatus(address);
    std::int32_t value = 0;
    doc.ReadUseIGMP(value);
    doc.ReadChannel(value);
    PidListRecord standard{};
    if (doc.ReadPIDList(standard) && (standard.count < 0 || standard.count > MAX_PIDS))
        __builtin_trap();
    TrevanPidListRecord forwarding{};
    if (doc.ReadPIDListWithDestinations(forwarding) &&
        (forwarding.count < 0 || forwarding.count > MAX_PIDS))
        __builtin_trap();
    // A fault always names an element and why.
    for (const std::uint16_t type : {TYPE_R40, TYPE_R40_TREVAN})
        if (const auto fault = config::CheckValuesToSend(doc, type))
            if (fault->element.empty() || fault->why.empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Files files;
    FILE* out = std::fopen(files.input.c_str(), "wb");
    if (out == nullptr) __builtin_trap();
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    CR40SettingsToXmlDoc doc;
    if (!doc.Load(files.input)) return 0;
    ReadEverything(doc);
    // Everything saved can be loaded again.
    if (doc.SaveAs(files.saved)) {
        CR40SettingsToXmlDoc again;
        if (!again.Load(files.saved)) __builtin_trap();
        ReadEverything(again);
    }
    return 0;
}
