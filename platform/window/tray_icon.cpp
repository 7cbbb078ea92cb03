#include "platform/window/tray_icon.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>

#include "platform/window/balloon_tooltip.h"
#include "platform/window/messages.h"
#include "platform/window/qt/balloon_tip_window.h"
#include "platform/window/qt/conversions.h"

namespace platform::window {

namespace {

// The stand-in balloon's stem points this far inside the screen's corner.
constexpr int CORNER_INSET = 24;

QSystemTrayIcon::MessageIcon TrayMessageIcon(int icon) {
    switch (icon) {
        case TTI_INFO:
            return QSystemTrayIcon::Information;
        case TTI_WARNING:
            return QSystemTrayIcon::Warning;
        case TTI_ERROR:
            return QSystemTrayIcon::Critical;
        default:
            return QSystemTrayIcon::NoIcon;
    }
}

}  // namespace

TrayIcon::TrayIcon() {
    m_balloonTimer.setSingleShot(true);
    connect(&m_balloonTimer, &QTimer::timeout, this, [this] {
        if (m_balloon) m_balloon->hide();
    });
}

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
    m_balloonsShown = 0;
    m_lastBalloonText.clear();
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
    m_balloonTimer.stop();
    m_balloon.reset();
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

bool TrayIcon::ShowBalloon(const QString& title, const QString& text, int icon, int timeoutMs,
                           ColorRef textColor) {
    if (!m_icon) return false;
    ++m_balloonsShown;
    m_lastBalloonText = text;
    if (m_icon->isVisible() && QSystemTrayIcon::supportsMessages()) {
        m_icon->showMessage(title, text, TrayMessageIcon(icon), timeoutMs);
        return true;
    }
    if (!m_balloon) m_balloon = std::make_unique<BalloonTipWindow>();
    m_balloon->SetContent(icon, title, text, ToQColor(textColor));
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    m_balloon->ShowPointingAt(area.bottomRight() - QPoint(CORNER_INSET, 0));
    m_balloonTimer.start(timeoutMs);
    return true;
}

}  // namespace platform::window
