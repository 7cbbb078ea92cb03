// Window handles on Win32: the layer's never-reused numbers, each naming a
// native window and the queue of messages posted to it. A posted message
// waits in the queue (with its payload) and the HWND gets a wake message;
// when the window is unregistered (before its HWND goes) the queue and its
// payloads are freed, and a wake that still arrives finds nothing.
#include <deque>
#include <mutex>
#include <unordered_map>

#include "platform/window/win32/native_window.h"

namespace platform::window {

namespace {

struct Entry {
    NativeWindow* window = nullptr;
    HWND hwnd = nullptr;
    std::deque<Message> posted;
};

struct Registry {
    std::mutex lock;
    std::uint64_t lastHandle = 0;
    std::unordered_map<std::uint64_t, Entry> windows;
};

// Never destroyed: a worker still running while the process exits may post,
// and must find a registry (with nothing in it) rather than a freed one.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

namespace win32 {

UINT PostedMessageWake() {
    static const UINT wake = RegisterWindowMessageW(L"R40.PostedMessage");
    return wake;
}

WindowHandle RegisterWindow(NativeWindow& window) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const WindowHandle handle(++registry.lastHandle);
    Entry& entry = registry.windows[handle.Value()];
    entry.window = &window;
    entry.hwnd = window.Hwnd();
    return handle;
}

void UnregisterWindow(WindowHandle handle) {
    if (!handle) return;
    std::deque<Message> dropped;  // freed outside the lock: payloads may be large
    Registry& registry = TheRegistry();
    {
        std::lock_guard guard(registry.lock);
        const auto found = registry.windows.find(handle.Value());
        if (found == registry.windows.end()) return;
        dropped.swap(found->second.posted);
        registry.windows.erase(found);
    }
}

NativeWindow* LookupWindow(WindowHandle handle) {
    if (!handle) return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.windows.find(handle.Value());
    return found == registry.windows.end() ? nullptr : found->second.window;
}

bool TakePosted(WindowHandle handle, Message& message) {
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.windows.find(handle.Value());
    if (found == registry.windows.end() || found->second.posted.empty()) return false;
    message = std::move(found->second.posted.front());
    found->second.posted.pop_front();
    return true;
}

}  // namespace win32

Window* FromHandle(WindowHandle handle) {
    NativeWindow* native = win32::LookupWindow(handle);
    return native != nullptr ? native->Owner() : nullptr;
}

bool PostMessage(WindowHandle window, Message message) {
    if (!window) return false;
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.windows.find(window.Value());
    if (found == registry.windows.end()) return false;  // the payload goes with `message`
    // The HWND cannot be destroyed while the lock is held: the window
    // unregisters before it goes.
    if (::PostMessageW(found->second.hwnd, win32::PostedMessageWake(), 0, 0) == FALSE)
        return false;  // the thread's queue is full
    found->second.posted.push_back(std::move(message));
    return true;
}

std::intptr_t SendMessage(WindowHandle window, unsigned id, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    NativeWindow* native = win32::LookupWindow(window);
    if (native == nullptr) return 0;
    if (GetWindowThreadProcessId(native->Hwnd(), nullptr) != GetCurrentThreadId()) return 0;
    Message message{id, wParam, lParam, MessagePayload()};
    return native->HandleLayerMessage(message);
}

}  // namespace platform::window
