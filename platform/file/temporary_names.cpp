#include "platform/file/temporary_names.h"

namespace platform::file {

std::string TemporaryPrefix(const std::string& name) {
    if (name.size() <= TEMPORARY_PREFIX_BYTES) return name;
    std::size_t cut = TEMPORARY_PREFIX_BYTES;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

std::string TemporaryName(const std::string& name, unsigned long processId, unsigned sequence,
                          long long stamp) {
    return TemporaryPrefix(name) + TEMPORARY_MARK + std::to_string(processId) + "-" +
           std::to_string(sequence) + "-" + std::to_string(stamp % 1000000);
}

bool IsTemporaryName(const std::string& name) {
    const auto mark = name.rfind(TEMPORARY_MARK);
    if (mark == std::string::npos || mark == 0) return false;
    int dashes = 0;
    std::size_t digits = 0;
    for (std::size_t i = mark + sizeof TEMPORARY_MARK - 1; i < name.size(); ++i) {
        if (name[i] >= '0' && name[i] <= '9') {
            ++digits;
        } else if (name[i] == '-' && digits > 0 && dashes < 2) {
            ++dashes;
            digits = 0;
        } else {
            return false;
        }
    }
    return dashes == 2 && digits > 0;
}

}  // namespace platform::file
