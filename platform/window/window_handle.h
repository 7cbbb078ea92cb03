// Window handles and posted messages. A handle is a small number looked up
// in a process-wide registry under a lock; it is never reused, so a handle
// kept by a worker after its window has gone names nothing. Posting to such
// a handle is a no-op that reports false, never a dangling pointer.
#pragma once

#include <cstdint>
#include <memory>
#include <typeindex>
#include <typeinfo>
#include <utility>

namespace platform::window {

class Window;

class WindowHandle {
  public:
    constexpr WindowHandle() = default;
    constexpr explicit WindowHandle(std::uint64_t value) : m_value(value) {}

    constexpr std::uint64_t Value() const { return m_value; }
    constexpr explicit operator bool() const { return m_value != 0; }
    constexpr bool operator==(const WindowHandle&) const = default;

  private:
    std::uint64_t m_value = 0;
};

// Data owned by a message while it travels: freed with the message when the
// window is gone before the message is handled, or taken by the handler.
class MessagePayload {
  public:
    MessagePayload() = default;

    template <class T>
    explicit MessagePayload(std::unique_ptr<T> data)
        : m_data(data.release(), [](void* p) { delete static_cast<T*>(p); }), m_type(typeid(T)) {}

    bool Empty() const { return m_data == nullptr; }

    template <class T>
    bool Holds() const {
        return m_data != nullptr && m_type == std::type_index(typeid(T));
    }

    // The data, now owned by the caller; null when there is none of type T.
    template <class T>
    std::unique_ptr<T> Take() {
        if (!Holds<T>()) return nullptr;
        return std::unique_ptr<T>(static_cast<T*>(m_data.release()));
    }

  private:
    std::unique_ptr<void, void (*)(void*)> m_data{nullptr, [](void*) {}};
    std::type_index m_type{typeid(void)};
};

struct Message {
    unsigned id = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    MessagePayload payload;
};

// The window object a live handle names (CWnd::FromHandle); null for a
// dead or null handle. Only for the thread the window lives on: another
// thread could see it destroyed.
Window* FromHandle(WindowHandle handle);

// Queues a message for the window from any thread. False, with the payload
// freed, when the handle names no live window.
bool PostMessage(WindowHandle window, Message message);

inline bool PostMessage(WindowHandle window, unsigned id, std::uintptr_t wParam = 0,
                        std::intptr_t lParam = 0) {
    return PostMessage(window, Message{id, wParam, lParam, MessagePayload()});
}

template <class T>
bool PostMessage(WindowHandle window, unsigned id, std::uintptr_t wParam, std::intptr_t lParam,
                 std::unique_ptr<T> payload) {
    return PostMessage(window, Message{id, wParam, lParam, MessagePayload(std::move(payload))});
}

// Hands a message to the window at once and returns the handler's result.
// Only on the window's own thread; from any other thread, or for a dead
// handle, nothing happens and the result is 0.
std::intptr_t SendMessage(WindowHandle window, unsigned id, std::uintptr_t wParam = 0,
                          std::intptr_t lParam = 0);

}  // namespace platform::window
