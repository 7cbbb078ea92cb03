#include "platform/window/ip_address_control.h"

#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyleOptionFrame>

#include "platform/window/control_properties.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/styles.h"

namespace platform::window {

IpAddressControl::IpAddressControl(QWidget* parent) : QWidget(parent) {
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
            if (!m_byCode) NotifyParent(this, EN_CHANGE);
        });
        m_fields[static_cast<std::size_t>(i)] = field;
    }
    setFocusProxy(m_fields[0]);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    LayoutFields();
}

void IpAddressControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    LayoutFields();
    update();
}

QLineEdit* IpAddressControl::Field(int index) const {
    if (index < 0 || index > 3) return nullptr;
    return m_fields[static_cast<std::size_t>(index)];
}

void IpAddressControl::SetAddress(std::uint32_t address) {
    SetAddress(static_cast<int>((address >> 24) & 0xFF), static_cast<int>((address >> 16) & 0xFF),
               static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF));
}

void IpAddressControl::SetAddress(int b1, int b2, int b3, int b4) {
    const int values[4] = {b1, b2, b3, b4};
    m_byCode = true;
    for (int i = 0; i < 4; ++i) Field(i)->setText(QString::number(values[i] & 0xFF));
    m_byCode = false;
    NotifyParent(this, EN_CHANGE);
}

int IpAddressControl::FieldValue(int index) const {
    const QString text = Field(index)->text().trimmed();
    if (text.isEmpty()) return -1;
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) return -1;
    return value > 255 ? 255 : value;
}

int IpAddressControl::GetAddress(std::uint32_t& address) const {
    int filled = 0;
    int values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const int value = FieldValue(i);
        if (value >= 0) {
            values[i] = value;
            ++filled;
        }
    }
    address = MakeIpAddress(values[0], values[1], values[2], values[3]);
    return filled;
}

int IpAddressControl::GetAddress(std::uint8_t& b1, std::uint8_t& b2, std::uint8_t& b3,
                                 std::uint8_t& b4) const {
    std::uint32_t address = 0;
    const int filled = GetAddress(address);
    b1 = static_cast<std::uint8_t>(address >> 24);
    b2 = static_cast<std::uint8_t>(address >> 16);
    b3 = static_cast<std::uint8_t>(address >> 8);
    b4 = static_cast<std::uint8_t>(address);
    return filled;
}

void IpAddressControl::ClearAddress() {
    m_byCode = true;
    for (QLineEdit* field : m_fields) field->clear();
    m_byCode = false;
    NotifyParent(this, EN_CHANGE);
}

bool IpAddressControl::IsBlank() const {
    for (QLineEdit* field : m_fields)
        if (!field->text().trimmed().isEmpty()) return false;
    return true;
}

void IpAddressControl::SetFieldFocus(int field) {
    QLineEdit* edit = Field(field);
    if (edit == nullptr) edit = Field(0);
    edit->setFocus();
    edit->selectAll();
}

QString IpAddressControl::Text() const {
    QStringList parts;
    for (int i = 0; i < 4; ++i) {
        const int value = FieldValue(i);
        parts << (value < 0 ? QString() : QString::number(value));
    }
    return parts.join(QLatin1Char('.'));
}

void IpAddressControl::FieldEdited(int index) {
    QLineEdit* field = Field(index);
    if (field->text().toInt() > 255) field->setText(QStringLiteral("255"));
    // Three digits fill a field: the caret moves on to the next one.
    if (field->text().size() == 3 && field->cursorPosition() == 3 && index < 3)
        SetFieldFocus(index + 1);
}

bool IpAddressControl::eventFilter(QObject* watched, QEvent* event) {
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
            if (index < 3 && !field->text().isEmpty()) SetFieldFocus(index + 1);
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

void IpAddressControl::LayoutFields() {
    const QRect inside = rect().marginsRemoved(EdgeMargins(m_style, m_exStyle | WS_EX_CLIENTEDGE));
    const int dotWidth = fontMetrics().horizontalAdvance(QLatin1Char('.')) + 2;
    const int fieldWidth = std::max(0, (inside.width() - 3 * dotWidth) / 4);
    for (int i = 0; i < 4; ++i) {
        Field(i)->setGeometry(inside.left() + i * (fieldWidth + dotWidth), inside.top(), fieldWidth,
                              inside.height());
    }
}

void IpAddressControl::resizeEvent(QResizeEvent*) {
    LayoutFields();
}

void IpAddressControl::paintEvent(QPaintEvent*) {
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

}  // namespace platform::window
