// Balloon tooltips as a Win32 tooltip control with the always-tip and
// balloon styles: per-tool texts (a tool is a control, or the dialog itself
// for the places no control covers), a title with an icon, the text colour,
// and the initial, show (auto-pop) and reshow times. The owner relays its
// mouse moves, presses and releases with RelayEvent (from
// Dialog::PreTranslateMessage); a tip appears when the pointer has rested on
// a tool for the initial time, goes after the show time or on a click, and
// moving to another tool while a tip is up shows the next after the reshow
// time.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/window/geometry.h"
#include "platform/window/styles.h"
#include "platform/window/window.h"

namespace platform::window {

class BalloonTipWindow;

// Title icons.
inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

// Delay kinds of SetDelayTime.
inline constexpr int TTDT_AUTOMATIC = 0;
inline constexpr int TTDT_RESHOW = 1;
inline constexpr int TTDT_AUTOPOP = 2;
inline constexpr int TTDT_INITIAL = 3;

class BalloonToolTip : public QObject {
    Q_OBJECT

  public:
    BalloonToolTip();
    ~BalloonToolTip() override;

    bool Create(QWidget* owner, std::uint32_t style = TTS_ALWAYSTIP | TTS_BALLOON);
    bool IsCreated() const { return !m_owner.isNull(); }

    void SetTitle(int icon, const QString& title);
    QString GetTitle() const { return m_title; }
    int GetTitleIcon() const { return m_icon; }

    // A tool per widget; adding a tool again replaces its text.
    bool AddTool(QWidget* tool, const QString& text);
    // A control that is a Window (null adds nothing).
    bool AddTool(Window* tool, const QString& text);
    void DelTool(QWidget* tool);
    void UpdateTipText(const QString& text, QWidget* tool);
    bool HasTool(QWidget* tool) const;
    QString GetText(QWidget* tool) const;
    int GetToolCount() const;

    void SetTipTextColor(ColorRef color) { m_color = color; }
    ColorRef GetTipTextColor() const { return m_color; }

    // Milliseconds; a negative time restores the default of its kind.
    void SetDelayTime(int which, int milliseconds);
    int GetDelayTime(int which) const;

    // An inactive tooltip shows nothing until activated again.
    void Activate(bool active);

    void RelayEvent(QObject* target, QEvent* event);

    // Hides the tip if one is shown.
    void Pop();

    bool IsTipShown() const;
    QWidget* CurrentTool() const { return m_current.data(); }
    // The balloon window (exists once a tip has been shown).
    BalloonTipWindow* TipWindow() const { return m_window.get(); }

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* ToolAt(QWidget* widget) const;
    void Track(QWidget* tool, const QPoint& globalPos);
    void ShowTip();

    struct Tool {
        QPointer<QWidget> widget;
        QString text;
    };

    QPointer<QWidget> m_owner;
    std::uint32_t m_style = 0;
    std::vector<Tool> m_tools;
    QString m_title;
    int m_icon = TTI_NONE;
    ColorRef m_color = 0;  // black
    int m_initial = 500;
    int m_autoPop = 5000;
    int m_reshow = 100;
    bool m_active = true;
    QPointer<QWidget> m_current;  // tool under the pointer
    QPoint m_lastPos;             // last relayed pointer position (screen)
    QTimer m_showTimer;
    QTimer m_popTimer;
    std::unique_ptr<BalloonTipWindow> m_window;
};

}  // namespace platform::window
