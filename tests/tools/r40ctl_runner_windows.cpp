// The r40ctl runner on Windows: CreateProcessW with pipes for the standard
// handles, a reader thread per output pipe, TerminateProcess at the deadline.
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "tests/tools/r40ctl_runner.h"

namespace tools_test {

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n =
        ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

// One argument as the C runtime's command-line parser reads it back.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    for (std::size_t i = 0;; ++i) {
        std::size_t backslashes = 0;
        while (i < arg.size() && arg[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == arg.size()) {
            quoted.append(backslashes * 2, L'\\');
            break;
        }
        if (arg[i] == L'"') {
            quoted.append(backslashes * 2 + 1, L'\\');
        } else {
            quoted.append(backslashes, L'\\');
        }
        quoted += arg[i];
    }
    return quoted + L"\"";
}

void CloseHandleOnce(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    handle = nullptr;
}

// Everything one output pipe brings, gathered by a thread of its own.
class Collected {
  public:
    explicit Collected(HANDLE pipe) : m_pipe(pipe), m_reader([this] { Read(); }) {}
    ~Collected() {
        m_reader.join();
        CloseHandleOnce(m_pipe);
    }

    // Waits until `ready(text)` holds or the pipe ended or the deadline passed;
    // then calls `take(text, ended)` under the lock.
    template <class Ready, class Take>
    void WaitThen(Clock::time_point deadline, Ready ready, Take take) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_until(lock, deadline, [&] { return m_ended || ready(m_text); });
        take(m_text, m_ended);
    }

    bool WaitForEnd(Clock::time_point deadline) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_until(lock, deadline, [&] { return m_ended; });
    }

    std::string Text() {
        std::lock_guard lock(m_mutex);
        return m_text;
    }

  private:
    void Read() {
        char buffer[4096];
        DWORD n = 0;
        bool carriageReturn = false;  // the last byte read, held back
        while (::ReadFile(m_pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) {
            std::lock_guard lock(m_mutex);
            for (DWORD i = 0; i < n; ++i) {
                if (carriageReturn && buffer[i] != '\n') m_text += '\r';
                carriageReturn = buffer[i] == '\r';
                if (!carriageReturn) m_text += buffer[i];
            }
            m_changed.notify_all();
        }
        std::lock_guard lock(m_mutex);
        if (carriageReturn) m_text += '\r';
        m_ended = true;
        m_changed.notify_all();
    }

    HANDLE m_pipe;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_text;
    bool m_ended = false;
    std::thread m_reader;
};

// Our end of the child's stdin stays ours: every handle made here is
// non-inheritable until it is handed to the child.
void MakePipe(HANDLE& read, HANDLE& write) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (!::CreatePipe(&read, &write, &inherit, 0)) throw std::runtime_error("CreatePipe failed");
}

// The child process with its pipes.
struct ChildProcess {
    PROCESS_INFORMATION process{};
    HANDLE in = nullptr;  // our end of the child's stdin, or null
    std::unique_ptr<Collected> out, err;
    std::string pending;  // stdout not yet handed out by ReadLine
    std::size_t taken = 0;

    ChildProcess(const std::vector<std::string>& args, const RunOptions& options) {
        HANDLE childIn = nullptr, outRead = nullptr, outWrite = nullptr, errRead = nullptr,
               errWrite = nullptr;
        switch (options.stdinKind) {
            case Input::Null: {
                SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
                childIn = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        &inherit, OPEN_EXISTING, 0, nullptr);
                break;
            }
            case Input::Pipe:
                MakePipe(childIn, in);
                ::SetHandleInformation(in, HANDLE_FLAG_INHERIT, 0);
                break;
            case Input::Terminal:
                throw std::runtime_error("no terminal input on Windows");
        }
        MakePipe(outRead, outWrite);
        MakePipe(errRead, errWrite);
        ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);

        const std::string program =
            options.program.empty() ? std::string(R40ctlPath()) : ProgramPath(options.program);
        std::wstring commandLine = Quoted(Wide(program));
        for (const std::string& arg : args) commandLine += L" " + Quoted(Wide(arg));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childIn;
        startup.hStdOutput = outWrite;
        startup.hStdError = errWrite;
        const std::wstring directory = Wide(options.workingDirectory);
        // A process group of its own, so that a Ctrl+Break reaches it alone.
        // Wine, loaded by many test programs starting at once, now and then
        // fails a start with ERROR_INTERNAL_ERROR; a moment later it works.
        BOOL created = FALSE;
        for (int attempt = 0; attempt < 3 && !created; ++attempt) {
            if (attempt > 0) {
                if (::GetLastError() != ERROR_INTERNAL_ERROR) break;
                ::Sleep(200);
            }
            created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                                       CREATE_NEW_PROCESS_GROUP, nullptr,
                                       directory.empty() ? nullptr : directory.c_str(), &startup,
                                       &process);
        }
        CloseHandleOnce(childIn);
        CloseHandleOnce(outWrite);
        CloseHandleOnce(errWrite);
        if (!created) {
            CloseHandleOnce(outRead);
            CloseHandleOnce(errRead);
            CloseHandleOnce(in);
            throw std::runtime_error("CreateProcessW failed: " + std::to_string(::GetLastError()));
        }
        CloseHandleOnce(process.hThread);
        out = std::make_unique<Collected>(outRead);
        err = std::make_unique<Collected>(errRead);
    }

    ~ChildProcess() {
        Kill();
        out.reset();
        err.reset();
        CloseHandleOnce(in);
        CloseHandleOnce(process.hProcess);
    }

    void Kill() {
        if (process.hProcess == nullptr) return;
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process.hProcess, 137);
            ::WaitForSingleObject(process.hProcess, 5000);
        }
    }

    // Waits for both pipes to end and the process to exit; kills it at the
    // deadline.
    RunResult Finish(Clock::time_point deadline) {
        RunResult result;
        const bool ended = out->WaitForEnd(deadline) && err->WaitForEnd(deadline);
        if (!ended) {
            result.timedOut = true;
            Kill();
        }
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now());
        if (::WaitForSingleObject(process.hProcess, static_cast<DWORD>(std::max<long long>(
                                                        left.count(), 0))) != WAIT_OBJECT_0) {
            result.timedOut = true;
            Kill();
        }
        out->WaitForEnd(Clock::now() + milliseconds(2000));
        err->WaitForEnd(Clock::now() + milliseconds(2000));
        DWORD code = 0;
        if (!result.timedOut && ::GetExitCodeProcess(process.hProcess, &code))
            result.exitCode = static_cast<int>(code);
        result.out = out->Text().substr(taken);
        result.err = err->Text();
        return result;
    }
};

}  // namespace

struct RunningR40ctl::Child : ChildProcess {
    using ChildProcess::ChildProcess;
};

const char* R40ctlPath() {
    // Beside this test program (both land in bin/): the build machine's path
    // in R40CTL_PATH means nothing to Windows.
    static const std::string path = [] {
        std::vector<char> self(MAX_PATH);
        for (;;) {
            const DWORD n =
                ::GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size()));
            if (n < self.size()) {
                const std::string me(self.data(), n);
                return me.substr(0, me.find_last_of("\\/") + 1) + "r40ctl.exe";
            }
            self.resize(self.size() * 2);
        }
    }();
    return path.c_str();
}

bool TerminalInputAvailable() {
    return false;
}

RunResult RunR40ctl(const std::vector<std::string>& args, const RunOptions& options) {
    const auto started = Clock::now();
    ChildProcess child(args, options);
    if (child.in != nullptr) {
        DWORD written = 0;
        if (!options.input.empty())
            ::WriteFile(child.in, options.input.data(), static_cast<DWORD>(options.input.size()),
                        &written, nullptr);
        CloseHandleOnce(child.in);  // a pipe ends with the input
    }
    RunResult result = child.Finish(started + options.deadline);
    result.took = std::chrono::duration_cast<milliseconds>(Clock::now() - started);
    return result;
}

RunningR40ctl::RunningR40ctl(const std::vector<std::string>& args)
    : m_child(std::make_unique<Child>(args, RunOptions{})) {}

RunningR40ctl::~RunningR40ctl() = default;

std::optional<std::string> RunningR40ctl::ReadLine(milliseconds timeout) {
    std::optional<std::string> line;
    Child& child = *m_child;
    child.out->WaitThen(
        Clock::now() + timeout,
        [&](const std::string& text) { return text.find('\n', child.taken) != std::string::npos; },
        [&](const std::string& text, bool) {
            const std::size_t end = text.find('\n', child.taken);
            if (end == std::string::npos) return;
            line = text.substr(child.taken, end - child.taken);
            child.taken = end + 1;
        });
    return line;
}

void RunningR40ctl::Signal(int signal) {
    if (signal == SIGINT || signal == SIGTERM) {
        ::GenerateConsoleCtrlEvent(CTRL_BREAK_EVENT, m_child->process.dwProcessId);
    } else {
        m_child->Kill();
    }
}

RunResult RunningR40ctl::Wait(milliseconds deadline) {
    return m_child->Finish(Clock::now() + deadline);
}

}  // namespace tools_test

namespace tools_test {

std::string ProgramPath(const std::string& name) {
    const std::string r40ctl = R40ctlPath();
    return r40ctl.substr(0, r40ctl.find_last_of("\\/") + 1) + name + ".exe";
}

}  // namespace tools_test
