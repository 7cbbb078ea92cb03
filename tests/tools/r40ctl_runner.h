// Runs the real r40ctl program as a child process in the test's network
// namespace: arguments in, exit code, stdout and stderr out, with a hard
// deadline so that a hang fails the test instead of stalling it. On Windows
// the child's CR LF line ends come back as LF.
#pragma once

#ifndef _WIN32
#include <sys/types.h>
#endif

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tools_test {

using std::chrono::milliseconds;

struct RunResult {
    int exitCode = -1;      // -1 when it ended by a signal or was killed
    int signal = 0;         // the signal that ended it
    bool timedOut = false;  // killed at the deadline
    std::string out, err;
    milliseconds took{0};
};

enum class Input {
    Null,      // /dev/null (NUL): not a terminal
    Pipe,      // `input` written to a pipe, then closed
    Terminal,  // a pseudo-terminal; `input` typed into it (not on Windows)
};

// Whether Input::Terminal can be given here.
bool TerminalInputAvailable();

struct RunOptions {
    Input stdinKind = Input::Null;
    std::string input;
    milliseconds deadline{30000};
    std::string workingDirectory;  // empty: the test's own
    // Another program of the build, beside r40ctl ("r40-discover"); empty:
    // r40ctl.
    std::string program;
};

RunResult RunR40ctl(const std::vector<std::string>& args, const RunOptions& options = {});

// A child that keeps running (status --watch) and is read line by line.
class RunningR40ctl {
  public:
    explicit RunningR40ctl(const std::vector<std::string>& args);
    ~RunningR40ctl();  // kills the child if it still runs
    RunningR40ctl(const RunningR40ctl&) = delete;
    RunningR40ctl& operator=(const RunningR40ctl&) = delete;

    // The next complete stdout line, or nullopt when none came in time or
    // stdout ended.
    std::optional<std::string> ReadLine(milliseconds timeout);
    // SIGINT or SIGTERM (on Windows: a Ctrl+Break to the child's process
    // group, which r40ctl takes as SIGTERM), or SIGKILL.
    void Signal(int signal);
#ifndef _WIN32
    pid_t Pid() const {
        return m_pid;
    }
#endif
    // Waits for the end; whatever stdout held after the last ReadLine is in
    // `out`. Kills it and sets timedOut after `deadline`.
    RunResult Wait(milliseconds deadline);

  private:
#ifdef _WIN32
    struct Child;
    std::unique_ptr<Child> m_child;
#else
    pid_t m_pid = -1;
    int m_out = -1, m_err = -1;
    std::string m_pending, m_errText;
    bool m_outEnded = false;
#endif
};

// The r40ctl program under test.
const char* R40ctlPath();
// A program of the build beside it, by name ("r40-discover").
std::string ProgramPath(const std::string& name);

}  // namespace tools_test
