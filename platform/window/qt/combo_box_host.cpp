#include "platform/window/qt/combo_box_host.h"

#include <QAbstractItemView>
#include <QKeyEvent>

#include <algorithm>

#include "platform/window/by_code_guard.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr int DATA_ROLE = Qt::UserRole;

qt::ComboBoxHost* HostOf(const ComboBoxControl& control) {
    return dynamic_cast<qt::ComboBoxHost*>(control.Native());
}

// Qt selects the first item put into an empty box; Win32 selects nothing.
void InsertKeepingSelection(QComboBox& box, int index, const QString& text) {
    const bool noneSelected = box.currentIndex() < 0;
    box.insertItem(index, text);
    if (noneSelected) box.setCurrentIndex(-1);
}

}  // namespace

int ComboBoxControl::AddString(std::string_view text) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return CB_ERR;
    ByCode guard(box->byCode);
    const QString item = ToQString(text);
    int index = box->count();
    if ((m_style & CBS_SORT) != 0) {
        index = 0;
        while (index < box->count() && box->itemText(index).compare(item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    InsertKeepingSelection(*box, index, item);
    return index;
}

int ComboBoxControl::InsertString(int index, std::string_view text) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return CB_ERR;
    ByCode guard(box->byCode);
    if (index < 0 || index > box->count()) index = box->count();
    InsertKeepingSelection(*box, index, ToQString(text));
    return index;
}

int ComboBoxControl::DeleteString(int index) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr || index < 0 || index >= box->count()) return CB_ERR;
    ByCode guard(box->byCode);
    // Deleting the selected item leaves no selection (Qt would pick another).
    const bool wasSelected = index == box->currentIndex();
    box->removeItem(index);
    if (wasSelected) box->setCurrentIndex(-1);
    return box->count();
}

void ComboBoxControl::ResetContent() {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return;
    ByCode guard(box->byCode);
    box->clear();
}

int ComboBoxControl::GetCount() const {
    const qt::ComboBoxHost* box = HostOf(*this);
    return box != nullptr ? box->count() : 0;
}

std::string ComboBoxControl::GetLBText(int index) const {
    const qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr || index < 0 || index >= box->count()) return std::string();
    return ToUtf8(box->itemText(index));
}

int ComboBoxControl::SetItemData(int index, std::intptr_t data) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr || index < 0 || index >= box->count()) return CB_ERR;
    box->setItemData(index, QVariant::fromValue<qlonglong>(data), DATA_ROLE);
    return 0;
}

std::intptr_t ComboBoxControl::GetItemData(int index) const {
    const qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr || index < 0 || index >= box->count()) return CB_ERR;
    return static_cast<std::intptr_t>(box->itemData(index, DATA_ROLE).toLongLong());
}

int ComboBoxControl::GetCurSel() const {
    const qt::ComboBoxHost* box = HostOf(*this);
    return box == nullptr || box->currentIndex() < 0 ? CB_ERR : box->currentIndex();
}

int ComboBoxControl::SetCurSel(int index) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return CB_ERR;
    ByCode guard(box->byCode);
    if (index < 0) {
        box->setCurrentIndex(-1);
        return CB_ERR;
    }
    if (index >= box->count()) return CB_ERR;
    box->setCurrentIndex(index);
    return index;
}

void ComboBoxControl::ShowDropDown(bool show) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return;
    if (show && !box->dropped) box->showPopup();
    if (!show && box->dropped) box->hidePopup();
}

bool ComboBoxControl::GetDroppedState() const {
    const qt::ComboBoxHost* box = HostOf(*this);
    return box != nullptr && box->dropped;
}

int ComboBoxControl::SetDroppedWidth(int width) {
    qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return CB_ERR;
    box->droppedWidth = width < 0 ? 0 : width;
    box->view()->setMinimumWidth(box->droppedWidth);
    return GetDroppedWidth();
}

int ComboBoxControl::GetDroppedWidth() const {
    const qt::ComboBoxHost* box = HostOf(*this);
    if (box == nullptr) return CB_ERR;
    return std::max(box->droppedWidth, box->width());
}

void ComboBoxControl::SetExtendedUI(bool extended) {
    if (qt::ComboBoxHost* box = HostOf(*this)) box->extendedUI = extended;
}

bool ComboBoxControl::GetExtendedUI() const {
    const qt::ComboBoxHost* box = HostOf(*this);
    return box != nullptr && box->extendedUI;
}

namespace qt {

ComboBoxHost::ComboBoxHost(std::unique_ptr<ComboBoxControl> control, QWidget* parent)
    : OwningHost<QComboBox>(std::move(control), parent) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!byCode) NotifyParent(this, CBN_SELCHANGE);
    });
    connect(this, &QComboBox::activated, this, [this] {
        if (!byCode) NotifyParent(this, CBN_SELENDOK);
    });
}

void ComboBoxHost::showPopup() {
    if (dropped) return;
    NotifyParent(this, CBN_DROPDOWN);
    dropped = true;
    view()->setMinimumWidth(droppedWidth);
    QComboBox::showPopup();
}

void ComboBoxHost::hidePopup() {
    QComboBox::hidePopup();
    if (!dropped) return;
    dropped = false;
    NotifyParent(this, CBN_CLOSEUP);
}

void ComboBoxHost::keyPressEvent(QKeyEvent* event) {
    const bool arrow = event->key() == Qt::Key_Down || event->key() == Qt::Key_Up;
    if (extendedUI && arrow && (event->modifiers() & Qt::AltModifier) == 0) {
        // With the extended user interface the arrow keys drop the list
        // instead of changing the selection, and F4 does nothing.
        showPopup();
        event->accept();
        return;
    }
    if (extendedUI && event->key() == Qt::Key_F4) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

QComboBox* ComboBoxOf(const ComboBoxControl& control) {
    return HostOf(control);
}

}  // namespace qt

}  // namespace platform::window
