#include "platform/window/window_handle.h"

#include <QCoreApplication>
#include <QThread>
#include <QWidget>

#include <mutex>
#include <unordered_map>

#include "platform/window/qt/message_event.h"
#include "platform/window/qt/native.h"

namespace platform::window {

namespace {

struct Registry {
    std::mutex lock;
    std::uint64_t lastHandle = 0;
    std::unordered_map<std::uint64_t, QObject*> windows;
};

#if defined(__SANITIZE_THREAD__)
// Qt delivers a posted event after it was posted, but orders the two with
// futexes inside Qt, which ThreadSanitizer cannot see; it would take every
// message from a worker for a race. The event's address carries the order
// instead: released where the event is posted, acquired where Qt begins to
// deliver an event, before any filter reads it.
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);

bool AcquireDeliveredEvent(void** data) {
    __tsan_acquire(data[1]);  // { receiver, event, result }
    return false;             // delivered as usual
}

// On the window's thread, before any window can be posted to: Qt's table of
// callbacks has no lock of its own.
void TellSanitizerHowEventsAreOrdered() {
    static const bool registered =
        QInternal::registerCallback(QInternal::EventNotifyCallback, AcquireDeliveredEvent);
    (void)registered;
}
#endif

// Never destroyed: a worker still running while the process exits may post,
// and must find a registry (with nothing in it) rather than a freed one.
Registry& TheRegistry() {
    static Registry* registry = new Registry;
    return *registry;
}

}  // namespace

MessageEvent::MessageEvent(WindowHandle target, Message message)
    : QEvent(EventType()), m_target(target), m_message(std::move(message)) {}

QEvent::Type MessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

WindowHandle RegisterWindow(QObject* receiver) {
#if defined(__SANITIZE_THREAD__)
    TellSanitizerHowEventsAreOrdered();
#endif
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const WindowHandle handle(++registry.lastHandle);
    registry.windows.emplace(handle.Value(), receiver);
    return handle;
}

void UnregisterWindow(WindowHandle handle) {
    if (!handle) return;
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    registry.windows.erase(handle.Value());
}

QObject* LookupWindow(WindowHandle handle) {
    if (!handle) return nullptr;
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.windows.find(handle.Value());
    return found == registry.windows.end() ? nullptr : found->second;
}

Window* FromHandle(WindowHandle handle) {
    return qt::WindowOf(qobject_cast<QWidget*>(LookupWindow(handle)));
}

bool PostMessage(WindowHandle window, Message message) {
    if (!window) return false;
    // Built before taking the lock so that no allocation happens under it;
    // if the window is gone the event (and its payload) is freed here.
    auto event = std::make_unique<MessageEvent>(window, std::move(message));
    Registry& registry = TheRegistry();
    std::lock_guard guard(registry.lock);
    const auto found = registry.windows.find(window.Value());
    if (found == registry.windows.end()) return false;
        // The window cannot be destroyed while the lock is held (it unregisters
        // first), and Qt drops events still queued for an object it destroys.
#if defined(__SANITIZE_THREAD__)
    __tsan_release(event.get());
#endif
    QCoreApplication::postEvent(found->second, event.release());
    return true;
}

std::intptr_t SendMessage(WindowHandle window, unsigned id, std::uintptr_t wParam,
                          std::intptr_t lParam) {
    QObject* receiver = LookupWindow(window);
    if (receiver == nullptr || receiver->thread() != QThread::currentThread()) return 0;
    MessageEvent event(window, Message{id, wParam, lParam, MessagePayload()});
    QCoreApplication::sendEvent(receiver, &event);
    return event.result;
}

}  // namespace platform::window
