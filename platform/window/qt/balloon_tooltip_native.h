// The Qt side of a BalloonToolTip: the tools' widgets (watched, so a tool
// whose window has gone counts no more), the show and pop timers, the
// owner's leave, hide and deactivation, and the balloon window. Private to
// the backend and to the tests that drive it.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

#include "platform/window/balloon_tooltip.h"
#include "platform/window/qt/balloon_tip_window.h"

namespace platform::window {

struct BalloonToolTip::Native : QObject {
    struct Tool {
        Window* window = nullptr;
        QPointer<QWidget> widget;  // null once the tool's window has gone
        QString text;
    };

    Native();
    bool eventFilter(QObject* watched, QEvent* event) override;

    const Tool* FindTool(const Window* window) const;
    Tool* FindTool(const Window* window);
    // The tool whose tip applies at `widget`: its own, or, through the
    // controls that let the pointer through, the owner's.
    const Tool* ToolAt(QWidget* widget) const;
    void Track(const Tool* tool, const QPoint& globalPos);
    void ShowTip();
    void Pop();
    bool IsTipShown() const { return window != nullptr && window->isVisible(); }

    QPointer<QWidget> owner;
    std::uint32_t style = 0;
    std::vector<Tool> tools;
    QString title;
    int icon = TTI_NONE;
    ColorRef color = 0;  // black
    int initial = 500;
    int autoPop = 5000;
    int reshow = 100;
    bool active = true;
    Window* current = nullptr;  // tool under the pointer
    QPointer<QWidget> currentWidget;
    QPoint lastPos;  // last relayed pointer position (screen)
    QTimer showTimer;
    QTimer popTimer;
    std::unique_ptr<BalloonTipWindow> window;
};

}  // namespace platform::window
