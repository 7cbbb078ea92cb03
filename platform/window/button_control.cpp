#include "platform/window/button_control.h"

#include <QPainter>
#include <QStyleOptionButton>

#include "platform/window/control_properties.h"
#include "platform/window/dialog.h"
#include "platform/window/images.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_edges.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

bool IsOwnerDrawn(std::uint32_t style) {
    return (style & BS_TYPEMASK) == BS_OWNERDRAW;
}

// Hands an owner-drawn button to its dialog's OnDrawItem.
void DrawByOwner(QAbstractButton* button) {
    DrawItem item;
    item.controlId = ControlId(button);
    item.itemId = 0;
    item.state = (button->isDown() || button->isChecked() ? ODS_SELECTED : 0u) |
                 (button->hasFocus() ? ODS_FOCUS : 0u) | (button->isEnabled() ? 0u : ODS_DISABLED);
    item.rect = FromQRect(button->rect());
    item.text = ToUtf8(button->text());
    if (Dialog* dialog = qt::DialogOf(button)) {
        PaintWidget(*button, [&](DeviceContext& dc) {
            dc.SetBackgroundColor(FromQColor(button->palette().color(button->backgroundRole())));
            item.dc = &dc;
            dialog->DispatchDrawItem(item);
        });
    }
}

}  // namespace

ButtonControl::ButtonControl(QWidget* parent) : QPushButton(parent) {}

void ButtonControl::SetStyle(std::uint32_t style) {
    m_style = style;
    setFlat((style & BS_FLAT) != 0);
    update();
}

bool ButtonControl::IsDefaultButton() const {
    return (m_style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

Image ButtonControl::SetBitmap(const Image& bitmap) {
    Image previous = m_bitmap;
    m_bitmap = bitmap;
    update();
    return previous;
}

Icon ButtonControl::SetIcon(const Icon& icon) {
    Icon previous = m_icon;
    m_icon = icon;
    update();
    return previous;
}

QPixmap ButtonControl::Shown() const {
    return ToQPixmap(m_bitmap.IsNull() ? m_icon.ImageNear(FromQSize(size())) : m_bitmap);
}

QRect ButtonControl::PictureRect() const {
    const QPixmap shown = Shown();
    if (shown.isNull()) return QRect();
    const int space = width() - shown.width();
    int left = space / 2;
    const std::uint32_t horizontal = m_style & BS_CENTER;
    if (horizontal == BS_LEFT) left = 0;
    if (horizontal == BS_RIGHT) left = space;
    return QRect(QPoint(left, (height() - shown.height()) / 2), shown.size());
}

void ButtonControl::paintEvent(QPaintEvent* event) {
    if (IsOwnerDrawn(m_style)) {
        DrawByOwner(this);
        return;
    }
    const QPixmap shown = Shown();
    if (shown.isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (!isFlat()) {
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        option.icon = QIcon();
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);
    }
    // A pressed button's picture moves one pixel down and right.
    const QPoint pressedShift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    painter.save();
    painter.setClipRect(rect());
    painter.drawPixmap(PictureRect().translated(pressedShift), shown);
    painter.restore();
    if (isFlat() && isDown()) DrawThinEdge(painter, rect(), false);
}

CheckBoxControl::CheckBoxControl(QWidget* parent) : QCheckBox(parent) {}

void CheckBoxControl::SetStyle(std::uint32_t style) {
    m_style = style;
    update();
}

void CheckBoxControl::paintEvent(QPaintEvent* event) {
    if (IsOwnerDrawn(m_style)) {
        DrawByOwner(this);
        return;
    }
    QCheckBox::paintEvent(event);
}

}  // namespace platform::window
