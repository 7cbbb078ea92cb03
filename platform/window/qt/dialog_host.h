// The native window of a Dialog: a top-level QWidget that hands the dialog
// its posted messages, timers, Enter and Escape, show, hide, move and close,
// the input of the window and its controls (PreTranslateMessage), its
// controls' clicks, and the drag of a caption-less window. Backend-private.
#pragma once

#include <QEventLoop>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <optional>

#include "platform/window/dialog.h"
#include "platform/window/handler_depth.h"
#include "platform/window/qt/host.h"
#include "platform/window/qt/window_frame.h"

namespace platform::window {

class DialogHost : public qt::Host<QWidget> {
    Q_OBJECT

  public:
    DialogHost(Dialog& dialog, QWidget* parent);

    Dialog* Owner() const { return static_cast<Dialog*>(NativeWindow::Owner()); }

    // Connects a control's clicked() signal, if it has one, to BN_CLICKED.
    void ConnectNotifications(QWidget* control);

    // Puts `fresh` in the place of the control `old`, taking over its id,
    // style, kind, geometry, font, state, text and stacking position; `old`
    // goes.
    void ReplaceControl(QWidget* old, QWidget* fresh);
    // Asks the dialog's OnCtlColor for the control and applies the answer.
    void ApplyControlColors(QWidget* control);
    // Takes a control out of the dialog and frees it, later when one of
    // the dialog's handlers is running (it may be the control's own).
    void DeleteControl(QWidget* control);

    QEventLoop* loop = nullptr;   // the modal run's loop while it runs
    QPointer<WindowFrame> frame;  // the frame of a caption-less window
    std::optional<QPoint> dragOffset;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private slots:
    void ControlClicked();
};

}  // namespace platform::window
