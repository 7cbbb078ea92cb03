// The Qt side of the tray icon: a QSystemTrayIcon while added, and the
// balloon window that stands in where the desktop has no notification area.
// Private to the backend and to the tests that act as the operator.
#pragma once

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

#include "platform/window/qt/balloon_tip_window.h"
#include "platform/window/tray_icon.h"

namespace platform::window {

struct TrayIcon::Native {
    QObject context;  // owns the connections, which die with it
    std::unique_ptr<QSystemTrayIcon> icon;
    std::unique_ptr<BalloonTipWindow> balloon;
    QTimer balloonTimer;
};

}  // namespace platform::window
