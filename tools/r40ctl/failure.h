// How r40ctl ends when a command cannot do what it was asked: an exit code
// from the documented set and a one-line message, with the library's result
// code when the library gave one.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace r40ctl {

// The documented exit codes (r40ctl.1, EXIT STATUS), besides 0 for success
// and 128 + the signal for a run stopped before it sent anything.
inline constexpr int EXIT_REFUSED = 1;    // the receiver refused or did not confirm
inline constexpr int EXIT_USAGE = 2;      // bad arguments, or a command the model does not offer
inline constexpr int EXIT_NOT_FOUND = 3;  // no such receiver answered discovery
inline constexpr int EXIT_FILE = 4;       // a configuration file cannot be read or written

class Failure : public std::runtime_error {
  public:
    Failure(int exitCode, const std::string& message,
            std::optional<std::int32_t> result = std::nullopt)
        : std::runtime_error(message), m_exitCode(exitCode), m_result(result) {}

    int ExitCode() const { return m_exitCode; }
    // The library's result code behind the failure, if any.
    std::optional<std::int32_t> Result() const { return m_result; }

  private:
    int m_exitCode;
    std::optional<std::int32_t> m_result;
};

// "result 0x400F (16399): The receiver's status does not show the new tuning."
std::string DescribeResult(std::int32_t result);

// A failure of the receiver or the library: `what` followed by the result.
Failure Refused(const std::string& what, std::int32_t result);

}  // namespace r40ctl
