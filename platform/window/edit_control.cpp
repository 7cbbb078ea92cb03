#include "platform/window/edit_control.h"

#include <QRegularExpressionValidator>

#include "platform/window/control_properties.h"
#include "platform/window/messages.h"
#include "platform/window/styles.h"

namespace platform::window {

EditControl::EditControl(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        NotifyParent(this, EN_UPDATE);
        NotifyParent(this, EN_CHANGE);
    });
}

void EditControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    Qt::Alignment horizontal = Qt::AlignLeft;
    if ((style & ES_CENTER) != 0) horizontal = Qt::AlignHCenter;
    if ((style & ES_RIGHT) != 0) horizontal = Qt::AlignRight;
    setAlignment(horizontal | Qt::AlignVCenter);
    setFrame((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0);
    setReadOnly((style & ES_READONLY) != 0);
    setEchoMode((style & ES_PASSWORD) != 0 ? QLineEdit::Password : QLineEdit::Normal);
    if ((style & ES_NUMBER) != 0) {
        static const QRegularExpression digits(QStringLiteral("[0-9]*"));
        setValidator(new QRegularExpressionValidator(digits, this));
    } else {
        setValidator(nullptr);
    }
}

void EditControl::SetSel(int start, int end) {
    const int length = static_cast<int>(text().size());
    if (start < 0) {
        deselect();
        return;
    }
    if (end < 0 || end > length) end = length;
    if (start > length) start = length;
    setSelection(start, end - start);
}

void EditControl::LimitText(int characters) {
    setMaxLength(characters > 0 ? characters : 32767);
}

}  // namespace platform::window
