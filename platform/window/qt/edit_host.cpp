#include "platform/window/qt/edit_host.h"

#include <QRegularExpressionValidator>

#include "platform/window/messages.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

QLineEdit* LineEditOf(const EditControl& control) {
    return dynamic_cast<qt::EditHost*>(control.Native());
}

}  // namespace

void EditControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    if (auto* host = dynamic_cast<qt::EditHost*>(Native())) host->ApplyStyle(style, exStyle);
}

std::string EditControl::GetText() const {
    const QLineEdit* edit = LineEditOf(*this);
    return edit != nullptr ? ToUtf8(edit->text()) : std::string();
}

void EditControl::SetText(std::string_view text) {
    if (QLineEdit* edit = LineEditOf(*this)) edit->setText(ToQString(text));
}

void EditControl::SetSel(int start, int end) {
    QLineEdit* edit = LineEditOf(*this);
    if (edit == nullptr) return;
    const int length = static_cast<int>(edit->text().size());
    if (start < 0) {
        edit->deselect();
        return;
    }
    if (end < 0 || end > length) end = length;
    if (start > length) start = length;
    edit->setSelection(start, end - start);
}

void EditControl::LimitText(int characters) {
    if (QLineEdit* edit = LineEditOf(*this))
        edit->setMaxLength(characters > 0 ? characters : 32767);
}

namespace qt {

EditHost::EditHost(std::unique_ptr<EditControl> control, QWidget* parent)
    : OwningHost<QLineEdit>(std::move(control), parent) {
    const auto& edit = static_cast<const EditControl&>(*Owner());
    ApplyStyle(edit.Style(), edit.ExStyle());
    connect(this, &QLineEdit::textChanged, this, [this] {
        NotifyParent(this, EN_UPDATE);
        NotifyParent(this, EN_CHANGE);
    });
}

void EditHost::ApplyStyle(std::uint32_t style, std::uint32_t exStyle) {
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

}  // namespace qt

}  // namespace platform::window
