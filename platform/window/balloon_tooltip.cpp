#include "platform/window/balloon_tooltip.h"

#include <QApplication>
#include <QMouseEvent>

#include "platform/window/control_properties.h"
#include "platform/window/qt/balloon_tip_window.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"

namespace platform::window {

namespace {

constexpr int DEFAULT_INITIAL = 500;

// Statics, pictures and frames let the pointer through to what lies behind
// them, as on Win32 (only the dialog's own tool applies there).
bool LetsPointerThrough(const QWidget* widget) {
    if (!IsControl(widget)) return true;
    switch (ControlKindOf(widget)) {
        case ControlKind::Static:
        case ControlKind::Picture:
        case ControlKind::GroupBox:
        case ControlKind::Frame:
            return true;
        default:
            return false;
    }
}

}  // namespace

BalloonToolTip::BalloonToolTip() {
    m_showTimer.setSingleShot(true);
    m_popTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, &BalloonToolTip::ShowTip);
    connect(&m_popTimer, &QTimer::timeout, this, &BalloonToolTip::Pop);
}

BalloonToolTip::~BalloonToolTip() {
    if (m_owner) m_owner->removeEventFilter(this);
}

bool BalloonToolTip::Create(QWidget* owner, std::uint32_t style) {
    if (owner == nullptr) return false;
    if (m_owner) m_owner->removeEventFilter(this);
    m_owner = owner;
    m_style = style;
    owner->installEventFilter(this);
    return true;
}

void BalloonToolTip::SetTitle(int icon, const QString& title) {
    m_icon = icon;
    m_title = title;
}

bool BalloonToolTip::AddTool(QWidget* tool, const QString& text) {
    if (tool == nullptr || !IsCreated()) return false;
    for (Tool& existing : m_tools) {
        if (existing.widget == tool) {
            existing.text = text;
            return true;
        }
    }
    m_tools.push_back(Tool{tool, text});
    return true;
}

bool BalloonToolTip::AddTool(Window* tool, const QString& text) {
    return AddTool(tool != nullptr ? qt::WidgetOf(*tool) : nullptr, text);
}

void BalloonToolTip::DelTool(QWidget* tool) {
    std::erase_if(m_tools, [tool](const Tool& t) { return t.widget == tool || t.widget.isNull(); });
    if (m_current == tool) {
        m_showTimer.stop();
        Pop();
        m_current = nullptr;
    }
}

void BalloonToolTip::UpdateTipText(const QString& text, QWidget* tool) {
    for (Tool& existing : m_tools)
        if (existing.widget == tool) existing.text = text;
}

bool BalloonToolTip::HasTool(QWidget* tool) const {
    if (tool == nullptr) return false;
    for (const Tool& existing : m_tools)
        if (existing.widget == tool) return true;
    return false;
}

QString BalloonToolTip::GetText(QWidget* tool) const {
    if (tool == nullptr) return QString();
    for (const Tool& existing : m_tools)
        if (existing.widget == tool) return existing.text;
    return QString();
}

int BalloonToolTip::GetToolCount() const {
    int count = 0;
    for (const Tool& existing : m_tools)
        if (!existing.widget.isNull()) ++count;
    return count;
}

void BalloonToolTip::SetDelayTime(int which, int milliseconds) {
    const bool reset = milliseconds < 0;
    switch (which) {
        case TTDT_AUTOMATIC: {
            const int base = reset ? DEFAULT_INITIAL : milliseconds;
            m_initial = base;
            m_autoPop = base * 10;
            m_reshow = base / 5;
            break;
        }
        case TTDT_INITIAL:
            m_initial = reset ? DEFAULT_INITIAL : milliseconds;
            break;
        case TTDT_AUTOPOP:
            m_autoPop = reset ? DEFAULT_INITIAL * 10 : milliseconds;
            break;
        case TTDT_RESHOW:
            m_reshow = reset ? DEFAULT_INITIAL / 5 : milliseconds;
            break;
        default:
            break;
    }
}

int BalloonToolTip::GetDelayTime(int which) const {
    switch (which) {
        case TTDT_INITIAL:
            return m_initial;
        case TTDT_AUTOPOP:
            return m_autoPop;
        case TTDT_RESHOW:
            return m_reshow;
        default:
            return m_initial;
    }
}

void BalloonToolTip::Activate(bool active) {
    m_active = active;
    if (!active) {
        m_showTimer.stop();
        Pop();
    }
}

bool BalloonToolTip::IsTipShown() const {
    return m_window != nullptr && m_window->isVisible();
}

void BalloonToolTip::Pop() {
    m_popTimer.stop();
    if (m_window) m_window->hide();
}

QWidget* BalloonToolTip::ToolAt(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (HasTool(w)) return w;
        if (w == m_owner || w->isWindow()) return nullptr;
        // A control without a tool of its own shows no tip, unless the
        // pointer passes through it to the window behind.
        if (!LetsPointerThrough(w)) return nullptr;
    }
    return nullptr;
}

void BalloonToolTip::RelayEvent(QObject* target, QEvent* event) {
    if (!IsCreated() || !m_active) return;
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr || widget->window() != m_owner->window()) return;
    switch (event->type()) {
        case QEvent::MouseMove: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Track(ToolAt(widget), mouse->globalPosition().toPoint());
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // A click puts the tip away; it comes back only for another tool.
            m_showTimer.stop();
            Pop();
            break;
        default:
            break;
    }
}

void BalloonToolTip::Track(QWidget* tool, const QPoint& globalPos) {
    if (tool == nullptr) {
        m_current = nullptr;
        m_showTimer.stop();
        Pop();
        return;
    }
    if (tool == m_current) {
        if (m_showTimer.isActive()) m_lastPos = globalPos;
        return;
    }
    const bool wasShown = IsTipShown();
    Pop();
    m_current = tool;
    m_lastPos = globalPos;
    m_showTimer.start(wasShown ? m_reshow : m_initial);
}

void BalloonToolTip::ShowTip() {
    if (!m_active || m_current.isNull() || m_owner.isNull() || !m_owner->isVisible()) return;
    // Without the always-tip style, tips show only while the window is active.
    if ((m_style & TTS_ALWAYSTIP) == 0 && !m_owner->isActiveWindow()) return;
    const QString text = GetText(m_current);
    if (text.isEmpty()) return;
    if (!m_window) m_window = std::make_unique<BalloonTipWindow>();
    m_window->setFont(QApplication::font("QToolTip"));
    m_window->SetContent(m_icon, m_title, text, ToQColor(m_color));
    // The stem points just below the pointer's tip, where the cursor ends.
    m_window->ShowPointingAt(m_lastPos + QPoint(0, 16));
    if (m_autoPop > 0) m_popTimer.start(m_autoPop);
}

bool BalloonToolTip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_owner) {
        switch (event->type()) {
            case QEvent::Hide:
            case QEvent::Leave:
            case QEvent::WindowDeactivate:
                if (event->type() != QEvent::WindowDeactivate || (m_style & TTS_ALWAYSTIP) == 0) {
                    m_showTimer.stop();
                    Pop();
                    m_current = nullptr;
                }
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace platform::window
