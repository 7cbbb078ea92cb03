#include "platform/window/combo_box_control.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

#include "platform/window/by_code_guard.h"
#include "platform/window/control_properties.h"
#include "platform/window/messages.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr int DATA_ROLE = Qt::UserRole;

}  // namespace

ComboBoxControl::ComboBoxControl(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_byCode) NotifyParent(this, CBN_SELCHANGE);
    });
    connect(this, &QComboBox::activated, this, [this] {
        if (!m_byCode) NotifyParent(this, CBN_SELENDOK);
    });
}

void ComboBoxControl::SetStyle(std::uint32_t style) {
    m_style = style;
}

int ComboBoxControl::AddString(const QString& text) {
    ByCode guard(m_byCode);
    int index = count();
    if ((m_style & CBS_SORT) != 0) {
        index = 0;
        while (index < count() && itemText(index).compare(text, Qt::CaseInsensitive) <= 0) ++index;
    }
    InsertKeepingSelection(index, text);
    return index;
}

void ComboBoxControl::InsertKeepingSelection(int index, const QString& text) {
    // Qt selects the first item put into an empty box; Win32 selects nothing.
    const bool noneSelected = currentIndex() < 0;
    insertItem(index, text);
    if (noneSelected) setCurrentIndex(-1);
}

int ComboBoxControl::InsertString(int index, const QString& text) {
    ByCode guard(m_byCode);
    if (index < 0 || index > count()) index = count();
    InsertKeepingSelection(index, text);
    return index;
}

int ComboBoxControl::DeleteString(int index) {
    if (index < 0 || index >= count()) return CB_ERR;
    ByCode guard(m_byCode);
    // Deleting the selected item leaves no selection (Qt would pick another).
    const bool wasSelected = index == currentIndex();
    removeItem(index);
    if (wasSelected) setCurrentIndex(-1);
    return count();
}

void ComboBoxControl::ResetContent() {
    ByCode guard(m_byCode);
    clear();
}

QString ComboBoxControl::GetLBText(int index) const {
    return index >= 0 && index < count() ? itemText(index) : QString();
}

int ComboBoxControl::SetItemData(int index, std::intptr_t data) {
    if (index < 0 || index >= count()) return CB_ERR;
    setItemData(index, QVariant::fromValue<qlonglong>(data), DATA_ROLE);
    return 0;
}

std::intptr_t ComboBoxControl::GetItemData(int index) const {
    if (index < 0 || index >= count()) return CB_ERR;
    return static_cast<std::intptr_t>(itemData(index, DATA_ROLE).toLongLong());
}

int ComboBoxControl::GetCurSel() const {
    return currentIndex() < 0 ? CB_ERR : currentIndex();
}

int ComboBoxControl::SetCurSel(int index) {
    ByCode guard(m_byCode);
    if (index < 0) {
        setCurrentIndex(-1);
        return CB_ERR;
    }
    if (index >= count()) return CB_ERR;
    setCurrentIndex(index);
    return index;
}

void ComboBoxControl::ShowDropDown(bool show) {
    if (show && !m_dropped) showPopup();
    if (!show && m_dropped) hidePopup();
}

Font ComboBoxControl::GetFont() const {
    return FontFromQFont(font());
}

int ComboBoxControl::SetDroppedWidth(int width) {
    m_droppedWidth = width < 0 ? 0 : width;
    view()->setMinimumWidth(m_droppedWidth);
    return GetDroppedWidth();
}

int ComboBoxControl::GetDroppedWidth() const {
    return std::max(m_droppedWidth, this->width());
}

void ComboBoxControl::showPopup() {
    if (m_dropped) return;
    NotifyParent(this, CBN_DROPDOWN);
    m_dropped = true;
    view()->setMinimumWidth(m_droppedWidth);
    QComboBox::showPopup();
}

void ComboBoxControl::hidePopup() {
    QComboBox::hidePopup();
    if (!m_dropped) return;
    m_dropped = false;
    NotifyParent(this, CBN_CLOSEUP);
}

void ComboBoxControl::keyPressEvent(QKeyEvent* event) {
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (m_extendedUI && arrow && (event->modifiers() & Qt::AltModifier) == 0) {
        // With the extended user interface the arrow keys drop the list
        // instead of changing the selection, and F4 does nothing.
        showPopup();
        event->accept();
        return;
    }
    if (m_extendedUI && event->key() == Qt::Key_F4) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

}  // namespace platform::window
