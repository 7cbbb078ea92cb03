// r40ctl discover: one discovery pass, one receiver per line.
#include <vector>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

int RunDiscover(Context& context) {
    DeviceList list{};
    DiscoveryCounts counts{};
    DiscoverDevicesKeeping(&list, nullptr, &counts);
    std::vector<DeviceInfo> heard;
    for (int i = 0; i < list.count && i < MAX_DEVICES; ++i)
        if (!context.port || list.entries[i].statusPort == *context.port)
            heard.push_back(list.entries[i]);

    if (context.json) {
        Json receivers = Json::array();
        for (const DeviceInfo& entry : heard) receivers.push_back(ReceiverJson(entry));
        PrintJson(Json{{"ok", true}, {"receivers", receivers}, {"refused", RefusedJson(counts)}});
    } else {
        std::vector<std::vector<std::string>> rows;
        for (const DeviceInfo& entry : heard)
            rows.push_back({FormatIpv4(entry.address), FormatMac(entry.mac),
                            ModelName(entry.deviceType), std::to_string(entry.statusPort)});
        PrintRows(rows);
    }
    if (heard.empty()) Message("no receiver answered");
    if (const std::string refused = RefusedText(counts); !refused.empty())
        Message("warning: " + refused);
    return 0;
}

}  // namespace r40ctl
