#include "platform/window/tray_icon.h"

#include "platform/window/messages.h"

namespace platform::window {

void TrayIcon::Activated(unsigned mouseMessage) {
    if (m_message != 0) PostMessage(m_owner, m_message, m_iconId, mouseMessage);
    if (mouseMessage == WM_LBUTTONDBLCLK && m_onDoubleClick) m_onDoubleClick();
}

}  // namespace platform::window
