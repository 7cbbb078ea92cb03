#include "platform/window/tray_icon.h"

#include <QSystemTrayIcon>

#include "platform/window/messages.h"

namespace platform::window {

TrayIcon::TrayIcon() = default;

TrayIcon::~TrayIcon() {
    Delete();
}

bool TrayIcon::Add(WindowHandle owner, unsigned callbackMessage, const QIcon& icon,
                   const QString& tip, unsigned iconId) {
    Delete();
    m_owner = owner;
    m_message = callbackMessage;
    m_iconId = iconId;
    m_tip = tip;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
    // Without a notification area (no tray on this desktop) the icon is
    // simply not seen; nothing else changes.
    if (QSystemTrayIcon::isSystemTrayAvailable()) m_icon->show();
    return true;
}

void TrayIcon::Delete() {
    if (!m_icon) return;
    m_icon->hide();
    m_icon->disconnect(this);
    m_icon.reset();
}

void TrayIcon::Activated(int reason) {
    unsigned mouseMessage = 0;
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            mouseMessage = WM_LBUTTONDBLCLK;
            break;
        case QSystemTrayIcon::Trigger:
            mouseMessage = WM_LBUTTONUP;
            break;
        case QSystemTrayIcon::Context:
            mouseMessage = WM_RBUTTONUP;
            break;
        case QSystemTrayIcon::MiddleClick:
            mouseMessage = WM_MBUTTONUP;
            break;
        default:
            return;
    }
    if (m_message != 0) PostMessage(m_owner, m_message, m_iconId, mouseMessage);
    if (mouseMessage == WM_LBUTTONDBLCLK && m_onDoubleClick) m_onDoubleClick();
}

}  // namespace platform::window
