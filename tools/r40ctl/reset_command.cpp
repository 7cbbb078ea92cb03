// r40ctl reset: restarts the receiver. On a terminal it asks first; without
// a terminal it needs --yes, so that no script resets a receiver by accident.
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <iostream>
#include <string>

#include "tools/r40ctl/command_support.h"
#include "tools/r40ctl/failure.h"

namespace r40ctl {

namespace {

bool StdinIsTerminal() {
#ifdef _WIN32
    // A console, not merely a character device: NUL is one of those too.
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
#else
    return ::isatty(STDIN_FILENO) != 0;
#endif
}

bool Confirmed(const DeviceInfo& entry) {
    std::fprintf(stderr, "Reset the %s? [y/N] ", DescribeReceiver(entry).c_str());
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "YES" || answer == "Yes";
}

}  // namespace

int RunReset(Context& context, const ResetOptions& options) {
    const ReceiverQuery query = RequireQuery(options.receiver);
    if (!options.yes && !StdinIsTerminal())
        throw Failure(EXIT_USAGE, "refusing to reset without --yes: stdin is not a terminal");
    const FoundReceiver found = Find(context, query);
    const DeviceInfo& entry = found.entry;
    if (!options.yes && !Confirmed(entry))
        throw Failure(EXIT_REFUSED, "reset not confirmed; nothing was sent");

    OpenReceiver receiver = Open(context, found);
    StopIfRequested();
    if (const std::int32_t rc = ResetDevice(receiver.get()); rc != 0)
        throw Refused("reset not echoed", rc);
    // The T22CA restarts without echoing the code.
    const bool echoed = entry.deviceType != TYPE_T22CA;
    if (context.json) {
        Json document = SuccessJson(entry);
        document["echoed"] = echoed;
        PrintJson(document);
    } else {
        PrintFields({{"receiver", DescribeReceiver(entry)},
                     {"reset", echoed ? "sent and echoed" : "sent (this model does not echo it)"}});
    }
    return 0;
}

}  // namespace r40ctl
