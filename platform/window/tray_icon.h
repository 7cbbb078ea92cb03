// The notification-area icon. Its mouse actions reach the owner window as a
// posted callback message whose lParam is the mouse message
// (WM_LBUTTONDBLCLK for a double click, WM_LBUTTONUP for a click,
// WM_RBUTTONUP for the context click), as Shell_NotifyIcon delivers them;
// a double-click callback can be given as well.
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "platform/window/window_handle.h"

class QSystemTrayIcon;

namespace platform::window {

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

  private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    WindowHandle m_owner;
    unsigned m_message = 0;
    unsigned m_iconId = 0;
    QString m_tip;
    std::function<void()> m_onDoubleClick;
};

}  // namespace platform::window
