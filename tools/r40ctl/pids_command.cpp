// r40ctl pids: read the receiver's PID table, or write a new list (the
// library reads it back to verify it).
#include <algorithm>
#include <string>
#include <vector>

#include "config/pid_list_form.h"
#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"
#include "tools/r40ctl/receiver_status.h"
#include "tools/r40ctl/text_values.h"

namespace r40ctl {

namespace {

// Control values as the console's content dialog sets them: 1 for a PID the
// receiver passes, 0 for a video PID forwarded to its destination.
constexpr std::uint8_t CONTROL_PASSED = 1;
constexpr std::uint8_t CONTROL_FORWARDED = 0;

std::vector<PidRequest> ParseRequests(const std::vector<std::string>& texts) {
    if (texts.size() > MAX_PIDS)
        throw Failure(EXIT_USAGE, std::to_string(texts.size()) +
                                      " PIDs given; a list holds at most " +
                                      std::to_string(MAX_PIDS));
    std::vector<PidRequest> requests;
    for (const std::string& text : texts) {
        std::string why;
        const auto request = ParsePidRequest(text, &why);
        if (!request) throw Failure(EXIT_USAGE, why);
        for (const PidRequest& earlier : requests)
            if (earlier.pid == request->pid)
                throw Failure(EXIT_USAGE, "PID " + FormatPid(request->pid) + " is given twice");
        requests.push_back(*request);
    }
    return requests;
}

void Print(const Context& context, const DeviceInfo& entry, const std::vector<PidLine>& pids) {
    if (context.json) {
        Json document = SuccessJson(entry);
        document["pids"] = PidsJson(pids);
        PrintJson(document);
    } else {
        PrintRows(PidRows(pids));
    }
}

}  // namespace

int RunPids(Context& context, const PidsOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    const bool writing = options.clear || !options.set.empty();
    if (options.clear && !options.set.empty())
        throw Failure(EXIT_USAGE, "give --set or --clear, not both");
    const std::vector<PidRequest> requests = ParseRequests(options.set);
    const FoundReceiver found = Find(context, query);
    const DeviceInfo& entry = found.entry;
    const bool destinations = config::TakesForwardingPidList(entry.deviceType);
    if (!destinations)
        for (const PidRequest& request : requests)
            if (request.destination)
                throw Failure(EXIT_USAGE, std::string("the ") + DeviceTypeName(entry.deviceType) +
                                              " forwards no PIDs: give PIDs without =ADDRESS:PORT");

    OpenReceiver receiver = Open(context, found);
    StopIfRequested();
    // The library takes the list only in the form of the device type.
    TrevanPidListRecord forwarding{};
    PidListRecord standard{};
    std::fill(std::begin(forwarding.pid), std::end(forwarding.pid), std::uint16_t{NULL_PID});
    std::fill(std::begin(standard.pid), std::end(standard.pid), std::uint16_t{NULL_PID});
    void* list = destinations ? static_cast<void*>(&forwarding) : static_cast<void*>(&standard);

    if (!writing) {
        if (const std::int32_t rc = GetPidList(receiver.get(), list); rc != 0)
            throw Refused("the receiver did not answer the PID table read", rc);
        Print(context, entry, PidLines(entry.deviceType, list));
        return 0;
    }

    const auto count = static_cast<std::int32_t>(requests.size());
    for (std::size_t i = 0; i < requests.size(); ++i) {
        const PidRequest& r = requests[i];
        if (destinations) {
            forwarding.pid[i] = r.pid;
            forwarding.control[i] = r.destination ? CONTROL_FORWARDED : CONTROL_PASSED;
            if (r.destination) forwarding.destination[i] = *r.destination;
        } else {
            standard.pid[i] = r.pid;
            standard.control[i] = CONTROL_PASSED;
        }
    }
    forwarding.count = standard.count = count;
    // An entry no receiver can take is a usage error; a list longer than the
    // model's table is left to the library, as documented.
    std::int32_t bad = -1;
    if (const std::int32_t refused = CheckPidList(entry.deviceType, list, &bad);
        refused != 0 && bad >= 0)
        throw Failure(EXIT_USAGE,
                      "--set " + options.set[static_cast<std::size_t>(bad)] +
                          " cannot be given to a receiver: " + DeviceResultText(refused));
    const std::vector<PidLine> written = PidLines(entry.deviceType, list);
    if (const std::int32_t rc = SetPidList(receiver.get(), list); rc != 0)
        throw Refused("PID list not confirmed", rc);
    Print(context, entry, written);
    return 0;
}

}  // namespace r40ctl
