// The notification-area icon. Its mouse actions reach the owner window as a
// posted callback message whose lParam is the mouse message
// (WM_LBUTTONDBLCLK for a double click, WM_LBUTTONUP for a click,
// WM_RBUTTONUP for the context click), as Shell_NotifyIcon delivers them;
// a double-click callback can be given as well.
#pragma once

#include <QColor>
#include <QIcon>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

#include "platform/window/geometry.h"
#include "platform/window/window_handle.h"

class QSystemTrayIcon;

namespace platform::window {

class BalloonTipWindow;

class TrayIcon : public QObject {
    Q_OBJECT

  public:
    TrayIcon();
    ~TrayIcon() override;

    // Adds the icon (NIM_ADD). `iconId` comes back as wParam.
    bool Add(WindowHandle owner, unsigned callbackMessage, const QIcon& icon, const QString& tip,
             unsigned iconId = 0);
    // Removes it (NIM_DELETE); also done on destruction.
    void Delete();
    bool IsAdded() const { return m_icon != nullptr; }

    void SetDoubleClickCallback(std::function<void()> callback) {
        m_onDoubleClick = std::move(callback);
    }

    QString Tip() const { return m_tip; }
    // The Qt icon while added, for tests that act as the operator.
    QSystemTrayIcon* Icon() const { return m_icon.get(); }

    // What the operator did with the icon, as the window system reports it.
    void Activated(int reason);

    // A balloon from the icon (NIF_INFO): a title with an icon (TTI_INFO,
    // TTI_WARNING, TTI_ERROR) and text, gone after `timeoutMs`. Where the
    // desktop has no notification area it stands in the bottom-right corner
    // of the screen, where one would be, so the operator still sees it.
    // False when the icon is not added.
    bool ShowBalloon(const QString& title, const QString& text, int icon, int timeoutMs = 10000,
                     ColorRef textColor = Rgb(0, 0, 0));
    // The balloons shown since the icon was added, and the last one's text.
    int BalloonsShown() const { return m_balloonsShown; }
    QString LastBalloonText() const { return m_lastBalloonText; }
    // The stand-in balloon's window (null until one was needed).
    BalloonTipWindow* BalloonWindow() const { return m_balloon.get(); }

  private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    WindowHandle m_owner;
    unsigned m_message = 0;
    unsigned m_iconId = 0;
    QString m_tip;
    std::function<void()> m_onDoubleClick;
    int m_balloonsShown = 0;
    QString m_lastBalloonText;
    std::unique_ptr<BalloonTipWindow> m_balloon;
    QTimer m_balloonTimer;
};

}  // namespace platform::window
