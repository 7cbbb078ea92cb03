#include "platform/window/tray_icon.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/window/balloon_tooltip.h"
#include "platform/window/messages.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"
#include "platform/window/qt/tray_icon_native.h"

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

unsigned MouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::DoubleClick:
            return WM_LBUTTONDBLCLK;
        case QSystemTrayIcon::Trigger:
            return WM_LBUTTONUP;
        case QSystemTrayIcon::Context:
            return WM_RBUTTONUP;
        case QSystemTrayIcon::MiddleClick:
            return WM_MBUTTONUP;
        default:
            return 0;
    }
}

}  // namespace

TrayIcon::TrayIcon() : m_native(std::make_unique<Native>()) {
    m_native->balloonTimer.setSingleShot(true);
    QObject::connect(&m_native->balloonTimer, &QTimer::timeout, &m_native->context, [this] {
        if (m_native->balloon) m_native->balloon->hide();
    });
}

TrayIcon::~TrayIcon() {
    Delete();
}

bool TrayIcon::Add(WindowHandle owner, unsigned callbackMessage, const Icon& icon,
                   std::string_view tip, unsigned iconId) {
    Delete();
    m_owner = owner;
    m_message = callbackMessage;
    m_iconId = iconId;
    m_tip = std::string(tip);
    m_balloonsShown = 0;
    m_lastBalloonText.clear();
    m_native->icon = std::make_unique<QSystemTrayIcon>(ToQIcon(icon));
    m_native->icon->setToolTip(ToQString(tip));
    QObject::connect(m_native->icon.get(), &QSystemTrayIcon::activated, &m_native->context,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                         if (const unsigned message = MouseMessageOf(reason)) Activated(message);
                     });
    // Without a notification area (no tray on this desktop) the icon is
    // simply not seen; nothing else changes.
    if (QSystemTrayIcon::isSystemTrayAvailable()) m_native->icon->show();
    return true;
}

bool TrayIcon::IsAdded() const {
    return m_native->icon != nullptr;
}

void TrayIcon::Delete() {
    m_native->balloonTimer.stop();
    m_native->balloon.reset();
    if (!m_native->icon) return;
    m_native->icon->hide();
    m_native->icon->disconnect(&m_native->context);
    m_native->icon.reset();
}

bool TrayIcon::ShowBalloon(std::string_view title, std::string_view text, int icon, int timeoutMs,
                           ColorRef textColor) {
    if (!m_native->icon) return false;
    ++m_balloonsShown;
    m_lastBalloonText = std::string(text);
    if (m_native->icon->isVisible() && QSystemTrayIcon::supportsMessages()) {
        m_native->icon->showMessage(ToQString(title), ToQString(text), TrayMessageIcon(icon),
                                    timeoutMs);
        return true;
    }
    auto& balloon = m_native->balloon;
    if (!balloon) balloon = std::make_unique<BalloonTipWindow>();
    balloon->SetContent(icon, ToQString(title), ToQString(text), ToQColor(textColor));
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    balloon->ShowPointingAt(area.bottomRight() - QPoint(CORNER_INSET, 0));
    m_native->balloonTimer.start(timeoutMs);
    return true;
}

}  // namespace platform::window
