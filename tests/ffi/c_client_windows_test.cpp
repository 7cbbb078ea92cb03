// A plain C program linked against devicelib.dll through its import library
// discovers and opens an emulated receiver: the DLL's exports, the header's
// dllimport side and the packed records all hold on Windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "sim/emulated_receiver.h"

namespace {

using namespace std::chrono_literals;

// The C client beside this test program (both land in bin/).
std::wstring ClientPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            std::wstring self(path.data(), n);
            return self.substr(0, self.find_last_of(L"\\/") + 1) + L"devicelib_c_client.exe";
        }
        path.resize(path.size() * 2);
    }
}

struct Finished {
    bool ran = false;
    DWORD exitCode = 0;
    std::string output;  // stdout and stderr
};

// Runs the client with its output in a pipe; kills it after `deadline`.
Finished RunClient(std::chrono::milliseconds deadline) {
    Finished finished;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0)) return finished;
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = write;
    startup.hStdError = write;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + ClientPath() + L"\"";
    const BOOL created = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, nullptr, &startup, &process);
    ::CloseHandle(write);
    if (!created) {
        ::CloseHandle(read);
        finished.output = "CreateProcessW failed: " + std::to_string(::GetLastError());
        return finished;
    }
    std::thread reader([&] {
        char buffer[1024];
        DWORD n = 0;
        while (::ReadFile(read, buffer, sizeof buffer, &n, nullptr) && n > 0)
            finished.output.append(buffer, n);
    });
    if (::WaitForSingleObject(process.hProcess, static_cast<DWORD>(deadline.count())) !=
        WAIT_OBJECT_0) {
        ::TerminateProcess(process.hProcess, 124);
        ::WaitForSingleObject(process.hProcess, INFINITE);
    } else {
        finished.ran = ::GetExitCodeProcess(process.hProcess, &finished.exitCode) != FALSE;
    }
    reader.join();
    ::CloseHandle(read);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return finished;
}

TEST(CClientOnWindows, DiscoversOpensAndTunesAnEmulatedR40ThroughTheDll) {
    // One receiver, at 127.0.0.1: Wine binds a UDP socket on any other
    // loopback address to the wildcard address, so its replies would come
    // from 127.0.0.1 and a second receiver could not have the same ports.
    sim::ReceiverConfig config = sim::ReceiverConfig::For(sim::Model::R40, {127, 0, 0, 1});
    config.statusInterval = 50ms;
    config.resetPause = 200ms;
    sim::EmulatedReceiver receiver(config);
    std::string error;
    ASSERT_TRUE(receiver.Start(&error)) << error;
    ASSERT_TRUE(receiver.WaitForNewStatuses(2, 5s));

    const Finished client = RunClient(60s);
    ASSERT_TRUE(client.ran) << client.output;
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_NE(client.output.find("c_client: R40 at 127.0.0.1 type 5 channel"), std::string::npos)
        << client.output;
    // The client's tuning went through the DLL to the receiver and was confirmed.
    EXPECT_EQ(receiver.Channel(), 33);
}

}  // namespace
