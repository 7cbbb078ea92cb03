#include "platform/window/qt/ip_address_host.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

#include <algorithm>

#include "platform/window/by_code_guard.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

qt::IpAddressHost* HostOf(const IpAddressControl& control) {
    return dynamic_cast<qt::IpAddressHost*>(control.Native());
}

}  // namespace

void IpAddressControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    if (qt::IpAddressHost* host = HostOf(*this)) host->ApplyStyle(style, exStyle);
}

void IpAddressControl::SetAddress(std::uint32_t address) {
    SetAddress(static_cast<int>((address >> 24) & 0xFF), static_cast<int>((address >> 16) & 0xFF),
               static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF));
}

void IpAddressControl::SetAddress(int b1, int b2, int b3, int b4) {
    qt::IpAddressHost* host = HostOf(*this);
    if (host == nullptr) return;
    const int values[4] = {b1, b2, b3, b4};
    {
        ByCode guard(host->byCode);
        for (int i = 0; i < 4; ++i) host->Field(i)->setText(QString::number(values[i] & 0xFF));
    }
    NotifyParent(host, EN_CHANGE);
}

int IpAddressControl::GetAddress(std::uint32_t& address) const {
    const qt::IpAddressHost* host = HostOf(*this);
    int filled = 0;
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && host != nullptr; ++i) {
        const int value = host->FieldValue(i);
        if (value >= 0) {
            values[i] = value;
            ++filled;
        }
    }
    address = MakeIpAddress(values[0], values[1], values[2], values[3]);
    return filled;
}

void IpAddressControl::ClearAddress() {
    qt::IpAddressHost* host = HostOf(*this);
    if (host == nullptr) return;
    {
        ByCode guard(host->byCode);
        for (int i = 0; i < 4; ++i) host->Field(i)->clear();
    }
    NotifyParent(host, EN_CHANGE);
}

bool IpAddressControl::IsBlank() const {
    const qt::IpAddressHost* host = HostOf(*this);
    for (int i = 0; i < 4 && host != nullptr; ++i)
        if (!host->Field(i)->text().trimmed().isEmpty()) return false;
    return true;
}

void IpAddressControl::SetFieldFocus(int field) {
    if (qt::IpAddressHost* host = HostOf(*this)) host->FocusField(field);
}

std::string IpAddressControl::Text() const {
    const qt::IpAddressHost* host = HostOf(*this);
    if (host == nullptr) return std::string();
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) text += '.';
        const int value = host->FieldValue(i);
        if (value >= 0) text += std::to_string(value);
    }
    return text;
}

namespace qt {

IpAddressHost::IpAddressHost(std::unique_ptr<IpAddressControl> control, QWidget* parent)
    : OwningHost<QWidget>(std::move(control), parent) {
    static const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    for (int i = 0; i < 4; ++i) {
        auto* field = new QLineEdit(this);
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(new QRegularExpressionValidator(digits, field));
        field->setMaxLength(3);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { FieldEdited(i); });
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (!byCode) NotifyParent(this, EN_CHANGE);
        });
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(m_fields[0]);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    const auto& address = static_cast<const IpAddressControl&>(*Owner());
    ApplyStyle(address.Style(), address.ExStyle());
}

void IpAddressHost::ApplyStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    LayoutFields();
    update();
}

QLineEdit* IpAddressHost::Field(int index) const {
    if (index < 0 || index > 3) return nullptr;
    return m_fields[static_cast<std::size_t>(index)];
}

int IpAddressHost::FieldValue(int index) const {
    const QString text = Field(index)->text().trimmed();
    if (text.isEmpty()) return -1;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) return -1;
    return value > 255 ? 255 : value;
}

void IpAddressHost::FocusField(int index) {
    QLineEdit* edit = Field(index);
    if (edit == nullptr) edit = Field(0);
    edit->setFocus();
    edit->selectAll();
}

void IpAddressHost::FieldEdited(int index) {
    QLineEdit* field = Field(index);
    if (field->text().toInt() > 255) field->setText(QStringLiteral("255"));
    // Three digits fill a field: the caret moves on to the next one.
    if (field->text().size() == 3 && field->cursorPosition() == 3 && index < 3)
        FocusField(index + 1);
}

bool IpAddressHost::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    int index = -1;
    for (int i = 0; i < 4; ++i)
        if (watched == Field(i)) index = i;
    if (index < 0) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* field = Field(index);
    switch (key->key()) {
        case Qt::Key_Period:
        case Qt::Key_Space:
            // A separator moves on, but not out of an empty field.
            if (index < 3 && !field->text().isEmpty()) FocusField(index + 1);
            return true;
        case Qt::Key_Backspace:
            if (index > 0 && field->cursorPosition() == 0 && !field->hasSelectedText()) {
                QLineEdit* previous = Field(index - 1);
                previous->setFocus();
                previous->setCursorPosition(static_cast<int>(previous->text().size()));
                return true;
            }
            break;
        case Qt::Key_Left:
            if (index > 0 && field->cursorPosition() == 0) {
                QLineEdit* previous = Field(index - 1);
                previous->setFocus();
                previous->setCursorPosition(static_cast<int>(previous->text().size()));
                return true;
            }
            break;
        case Qt::Key_Right:
            if (index < 3 && field->cursorPosition() == field->text().size()) {
                QLineEdit* next = Field(index + 1);
                next->setFocus();
                next->setCursorPosition(0);
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void IpAddressHost::LayoutFields() {
    const QRect inside = rect().marginsRemoved(EdgeMargins(m_style, m_exStyle | WS_EX_CLIENTEDGE));
    const int dotWidth = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 2;
    const int fieldWidth = std::max(0, (inside.width() - 3 * dotWidth) / 4);
    for (int i = 0; i < 4; ++i) {
        Field(i)->setGeometry(inside.left() + i * (fieldWidth + dotWidth), inside.top(), fieldWidth,
                              inside.height());
    }
}

void IpAddressHost::resizeEvent(QResizeEvent* event) {
    OwningHost<QWidget>::resizeEvent(event);
    LayoutFields();
}

void IpAddressHost::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(isEnabled() ? QPalette::Base : QPalette::Window));
    // The control always has an edit's sunken edge, whatever its template says.
    DrawEdges(painter, rect(), m_style, m_exStyle | WS_EX_CLIENTEDGE);
    painter.setPen(palette().color(QPalette::Text));
    for (int i = 0; i < 3; ++i) {
        const QRect field = Field(i)->geometry();
        const QRect dot(field.right() + 1, field.top(), Field(i + 1)->x() - field.right() - 1,
                        field.height());
        painter.drawText(dot, Qt::AlignCenter, QStringLiteral("."));
    }
}

QLineEdit* IpAddressField(const IpAddressControl& control, int index) {
    const IpAddressHost* host = HostOf(control);
    return host != nullptr ? host->Field(index) : nullptr;
}

}  // namespace qt

}  // namespace platform::window
