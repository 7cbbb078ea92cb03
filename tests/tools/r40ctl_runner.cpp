#include "tests/tools/r40ctl_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace tools_test {

namespace {

using Clock = std::chrono::steady_clock;

struct Pipe {
    int read = -1, write = -1;
    Pipe() {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
        read = fds[0];
        write = fds[1];
    }
};

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

struct Spawned {
    pid_t pid = -1;
    int out = -1, err = -1;
    int in = -1;  // our end of the child's stdin (pipe or terminal master), or -1
};

Spawned Spawn(const std::vector<std::string>& args, const RunOptions& options) {
    Pipe out, err;
    int childIn = -1, ourIn = -1;
    switch (options.stdinKind) {
        case Input::Null:
            childIn = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
            break;
        case Input::Pipe: {
            Pipe in;
            childIn = in.read;
            ourIn = in.write;
            break;
        }
        case Input::Terminal: {
            int master = -1, slave = -1;
            if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
                throw std::runtime_error("openpty failed");
            ::fcntl(master, F_SETFD, FD_CLOEXEC);
            ::fcntl(slave, F_SETFD, FD_CLOEXEC);
            childIn = slave;
            ourIn = master;
            break;
        }
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childIn, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);
    if (!options.workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());

    const std::string program =
        options.program.empty() ? std::string(R40ctlPath()) : ProgramPath(options.program);
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);

    Spawned child;
    const int rc =
        ::posix_spawn(&child.pid, program.c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(childIn);
    ::close(out.write);
    ::close(err.write);
    if (rc != 0) throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(rc));
    child.out = out.read;
    child.err = err.read;
    child.in = ourIn;
    return child;
}

// Reads what is there from `fd` into `text`; false at end of file.
bool Drain(int fd, std::string& text) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
    return n < 0 && (errno == EINTR || errno == EAGAIN);
}

// Reads stdout and stderr until both end or the deadline passes.
bool ReadUntilEnd(int& out, int& err, std::string& outText, std::string& errText,
                  Clock::time_point deadline) {
    while (out >= 0 || err >= 0) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
        const int n = ::poll(fds, 2, static_cast<int>(left.count()));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) continue;
        if (out >= 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) && !Drain(out, outText))
            CloseFd(out);
        if (err >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && !Drain(err, errText))
            CloseFd(err);
    }
    return true;
}

void Reap(pid_t pid, RunResult& result) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
}

}  // namespace

const char* R40ctlPath() {
    return R40CTL_PATH;
}

std::string ProgramPath(const std::string& name) {
    const std::string r40ctl = R40ctlPath();
    return r40ctl.substr(0, r40ctl.find_last_of('/') + 1) + name;
}

bool TerminalInputAvailable() {
    return true;
}

RunResult RunR40ctl(const std::vector<std::string>& args, const RunOptions& options) {
    const auto started = Clock::now();
    Spawned child = Spawn(args, options);
    if (child.in >= 0 && !options.input.empty()) {
        // r40ctl may have refused and ended before it read anything: a pipe
        // without a reader is EPIPE here, not a signal that ends the test.
        static const bool pipeSignalIgnored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
        (void)pipeSignalIgnored;
        const ssize_t written = ::write(child.in, options.input.data(), options.input.size());
        (void)written;
    }
    // A pipe ends with the input; a terminal stays open while the child runs.
    if (options.stdinKind == Input::Pipe) CloseFd(child.in);

    RunResult result;
    if (!ReadUntilEnd(child.out, child.err, result.out, result.err, started + options.deadline)) {
        result.timedOut = true;
        ::kill(child.pid, SIGKILL);
        ReadUntilEnd(child.out, child.err, result.out, result.err,
                     Clock::now() + milliseconds(2000));
    }
    Reap(child.pid, result);
    CloseFd(child.in);
    CloseFd(child.out);
    CloseFd(child.err);
    result.took = std::chrono::duration_cast<milliseconds>(Clock::now() - started);
    return result;
}

RunningR40ctl::RunningR40ctl(const std::vector<std::string>& args) {
    Spawned child = Spawn(args, RunOptions{});
    m_pid = child.pid;
    m_out = child.out;
    m_err = child.err;
    ::fcntl(m_err, F_SETFL, ::fcntl(m_err, F_GETFL) | O_NONBLOCK);
}

RunningR40ctl::~RunningR40ctl() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        RunResult ignored;
        Reap(m_pid, ignored);
    }
    CloseFd(m_out);
    CloseFd(m_err);
}

std::optional<std::string> RunningR40ctl::ReadLine(milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const std::size_t end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            return line;
        }
        if (m_outEnded) return std::nullopt;
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd fds[2] = {{m_out, POLLIN, 0}, {m_err, POLLIN, 0}};
        if (::poll(fds, m_err >= 0 ? 2 : 1, static_cast<int>(left.count())) <= 0) continue;
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR))
            if (!Drain(m_out, m_pending)) m_outEnded = true;
        // stderr is kept so that a full pipe never blocks the child.
        if (m_err >= 0 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            if (!Drain(m_err, m_errText)) CloseFd(m_err);
    }
}

void RunningR40ctl::Signal(int signal) {
    if (m_pid > 0) ::kill(m_pid, signal);
}

RunResult RunningR40ctl::Wait(milliseconds deadline) {
    RunResult result;
    result.out = m_pending;
    result.err = m_errText;
    m_pending.clear();
    if (m_outEnded) CloseFd(m_out);
    if (!ReadUntilEnd(m_out, m_err, result.out, result.err, Clock::now() + deadline)) {
        result.timedOut = true;
        ::kill(m_pid, SIGKILL);
    }
    Reap(m_pid, result);
    m_pid = -1;
    return result;
}

}  // namespace tools_test
