#include "tools/r40ctl/failure.h"

#include <cstdio>

#include "devicelib/devicelib.h"

namespace r40ctl {

std::string DescribeResult(std::int32_t result) {
    char number[48];
    if (result < 0)
        std::snprintf(number, sizeof number, "result %d", static_cast<int>(result));
    else
        std::snprintf(number, sizeof number, "result 0x%04X (%d)", static_cast<unsigned>(result),
                      static_cast<int>(result));
    return std::string(number) + ": " + DeviceResultText(result);
}

Failure Refused(const std::string& what, std::int32_t result) {
    return Failure(EXIT_REFUSED, what + ": " + DescribeResult(result), result);
}

}  // namespace r40ctl
