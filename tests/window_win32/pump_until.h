// Handles the thread's window messages until `done` holds; false when it
// has not after `timeoutMs`.
#pragma once

#include "platform/window/win32/win32_api.h"

#include <functional>

#include "platform/window/application.h"

namespace win32_test {

inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const ULONGLONG until = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!done()) {
        if (GetTickCount64() > until) return false;
        platform::window::PumpMessages(10);
        Sleep(1);
    }
    return true;
}

}  // namespace win32_test
