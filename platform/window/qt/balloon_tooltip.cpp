#include "platform/window/balloon_tooltip.h"

#include <QApplication>

#include "platform/window/qt/balloon_tooltip_native.h"
#include "platform/window/qt/control_properties.h"
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

// ---- Native -----------------------------------------------------------------

BalloonToolTip::Native::Native() {
    showTimer.setSingleShot(true);
    popTimer.setSingleShot(true);
    connect(&showTimer, &QTimer::timeout, this, [this] { ShowTip(); });
    connect(&popTimer, &QTimer::timeout, this, [this] { Pop(); });
}

const BalloonToolTip::Native::Tool* BalloonToolTip::Native::FindTool(const Window* tool) const {
    for (const Tool& existing : tools)
        if (existing.window == tool && !existing.widget.isNull()) return &existing;
    return nullptr;
}

BalloonToolTip::Native::Tool* BalloonToolTip::Native::FindTool(const Window* tool) {
    return const_cast<Tool*>(std::as_const(*this).FindTool(tool));
}

const BalloonToolTip::Native::Tool* BalloonToolTip::Native::ToolAt(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        for (const Tool& tool : tools)
            if (tool.widget == w) return &tool;
        if (w == owner || w->isWindow()) return nullptr;
        // A control without a tool of its own shows no tip, unless the
        // pointer passes through it to the window behind.
        if (!LetsPointerThrough(w)) return nullptr;
    }
    return nullptr;
}

void BalloonToolTip::Native::Track(const Tool* tool, const QPoint& globalPos) {
    if (tool == nullptr) {
        current = nullptr;
        currentWidget = nullptr;
        showTimer.stop();
        Pop();
        return;
    }
    if (tool->window == current && !currentWidget.isNull()) {
        if (showTimer.isActive()) lastPos = globalPos;
        return;
    }
    const bool wasShown = IsTipShown();
    Pop();
    current = tool->window;
    currentWidget = tool->widget;
    lastPos = globalPos;
    showTimer.start(wasShown ? reshow : initial);
}

void BalloonToolTip::Native::ShowTip() {
    if (!active || currentWidget.isNull() || owner.isNull() || !owner->isVisible()) return;
    // Without the always-tip style, tips show only while the window is active.
    if ((style & TTS_ALWAYSTIP) == 0 && !owner->isActiveWindow()) return;
    const Tool* tool = FindTool(current);
    if (tool == nullptr || tool->text.isEmpty()) return;
    if (!window) window = std::make_unique<BalloonTipWindow>();
    window->setFont(QApplication::font("QToolTip"));
    window->SetContent(icon, title, tool->text, ToQColor(color));
    // The stem points just below the pointer's tip, where the cursor ends.
    window->ShowPointingAt(lastPos + QPoint(0, 16));
    if (autoPop > 0) popTimer.start(autoPop);
}

void BalloonToolTip::Native::Pop() {
    popTimer.stop();
    if (window) window->hide();
}

bool BalloonToolTip::Native::eventFilter(QObject* watched, QEvent* event) {
    if (watched == owner) {
        switch (event->type()) {
            case QEvent::Hide:
            case QEvent::Leave:
            case QEvent::WindowDeactivate:
                if (event->type() != QEvent::WindowDeactivate || (style & TTS_ALWAYSTIP) == 0) {
                    showTimer.stop();
                    Pop();
                    current = nullptr;
                    currentWidget = nullptr;
                }
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- BalloonToolTip -----------------------------------------------------------

BalloonToolTip::BalloonToolTip() : m_native(std::make_unique<Native>()) {}

BalloonToolTip::~BalloonToolTip() {
    if (m_native->owner) m_native->owner->removeEventFilter(m_native.get());
}

bool BalloonToolTip::Create(Window* owner, std::uint32_t style) {
    QWidget* widget = owner != nullptr ? qt::WidgetOf(*owner) : nullptr;
    if (widget == nullptr) return false;
    Native& native = *m_native;
    if (native.owner) native.owner->removeEventFilter(&native);
    native.owner = widget;
    native.style = style;
    widget->installEventFilter(&native);
    return true;
}

bool BalloonToolTip::IsCreated() const {
    return !m_native->owner.isNull();
}

void BalloonToolTip::SetTitle(int icon, std::string_view title) {
    m_native->icon = icon;
    m_native->title = ToQString(title);
}

std::string BalloonToolTip::GetTitle() const {
    return ToUtf8(m_native->title);
}

int BalloonToolTip::GetTitleIcon() const {
    return m_native->icon;
}

bool BalloonToolTip::AddTool(Window* tool, std::string_view text) {
    QWidget* widget = tool != nullptr ? qt::WidgetOf(*tool) : nullptr;
    if (widget == nullptr || !IsCreated()) return false;
    Native& native = *m_native;
    std::erase_if(native.tools, [](const Native::Tool& t) { return t.widget.isNull(); });
    if (Native::Tool* existing = native.FindTool(tool)) {
        existing->text = ToQString(text);
        return true;
    }
    native.tools.push_back(Native::Tool{tool, widget, ToQString(text)});
    return true;
}

void BalloonToolTip::DelTool(Window* tool) {
    Native& native = *m_native;
    std::erase_if(native.tools,
                  [tool](const Native::Tool& t) { return t.window == tool || t.widget.isNull(); });
    if (native.current == tool) {
        native.showTimer.stop();
        native.Pop();
        native.current = nullptr;
        native.currentWidget = nullptr;
    }
}

void BalloonToolTip::UpdateTipText(std::string_view text, Window* tool) {
    if (Native::Tool* existing = m_native->FindTool(tool)) existing->text = ToQString(text);
}

bool BalloonToolTip::HasTool(Window* tool) const {
    return tool != nullptr && m_native->FindTool(tool) != nullptr;
}

std::string BalloonToolTip::GetText(Window* tool) const {
    const Native::Tool* existing = m_native->FindTool(tool);
    return existing != nullptr ? ToUtf8(existing->text) : std::string();
}

int BalloonToolTip::GetToolCount() const {
    int count = 0;
    for (const Native::Tool& existing : m_native->tools)
        if (!existing.widget.isNull()) ++count;
    return count;
}

void BalloonToolTip::SetTipTextColor(ColorRef color) {
    m_native->color = color;
}

ColorRef BalloonToolTip::GetTipTextColor() const {
    return m_native->color;
}

void BalloonToolTip::SetDelayTime(int which, int milliseconds) {
    Native& native = *m_native;
    const bool reset = milliseconds < 0;
    switch (which) {
        case TTDT_AUTOMATIC: {
            const int base = reset ? DEFAULT_INITIAL : milliseconds;
            native.initial = base;
            native.autoPop = base * 10;
            native.reshow = base / 5;
            break;
        }
        case TTDT_INITIAL:
            native.initial = reset ? DEFAULT_INITIAL : milliseconds;
            break;
        case TTDT_AUTOPOP:
            native.autoPop = reset ? DEFAULT_INITIAL * 10 : milliseconds;
            break;
        case TTDT_RESHOW:
            native.reshow = reset ? DEFAULT_INITIAL / 5 : milliseconds;
            break;
        default:
            break;
    }
}

int BalloonToolTip::GetDelayTime(int which) const {
    switch (which) {
        case TTDT_AUTOPOP:
            return m_native->autoPop;
        case TTDT_RESHOW:
            return m_native->reshow;
        default:
            return m_native->initial;
    }
}

void BalloonToolTip::Activate(bool active) {
    m_native->active = active;
    if (!active) {
        m_native->showTimer.stop();
        m_native->Pop();
    }
}

bool BalloonToolTip::IsTipShown() const {
    return m_native->IsTipShown();
}

Window* BalloonToolTip::CurrentTool() const {
    return m_native->currentWidget.isNull() ? nullptr : m_native->current;
}

void BalloonToolTip::Pop() {
    m_native->Pop();
}

void BalloonToolTip::RelayEvent(const InputMessage& message) {
    Native& native = *m_native;
    if (!IsCreated() || !native.active) return;
    QWidget* widget = message.window != nullptr ? qt::WidgetOf(*message.window) : nullptr;
    if (widget == nullptr || widget->window() != native.owner->window()) return;
    switch (message.message) {
        case WM_MOUSEMOVE:
            native.Track(native.ToolAt(widget), ToQPoint(message.point));
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            // A click puts the tip away; it comes back only for another tool.
            native.showTimer.stop();
            native.Pop();
            break;
        default:
            break;
    }
}

}  // namespace platform::window
