// How the Qt backend carries posted and sent messages: a QEvent to the
// window's widget, registered under its handle. Backend-private.
#pragma once

#include <QEvent>
#include <QObject>

#include <cstdint>

#include "platform/window/window_handle.h"

namespace platform::window {

// The event that carries a message to its window on the window's thread.
class MessageEvent : public QEvent {
  public:
    MessageEvent(WindowHandle target, Message message);

    static QEvent::Type EventType();

    WindowHandle Target() const { return m_target; }
    Message& Get() { return m_message; }
    std::intptr_t result = 0;  // what the handler returned (sent messages)

  private:
    WindowHandle m_target;
    Message m_message;
};

// Gives `receiver` a fresh handle. The receiver handles MessageEvent in its
// event() and must call UnregisterWindow before it is destroyed.
WindowHandle RegisterWindow(QObject* receiver);
void UnregisterWindow(WindowHandle handle);

// The object a live handle names; null for a dead or null handle. Only for
// the thread the window lives on: another thread could see it destroyed.
QObject* LookupWindow(WindowHandle handle);

}  // namespace platform::window
