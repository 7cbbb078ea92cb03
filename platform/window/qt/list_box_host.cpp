#include "platform/window/qt/list_box_host.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/window/by_code_guard.h"
#include "platform/window/dialog.h"
#include "platform/window/messages.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr int DATA_ROLE = Qt::UserRole;

qt::ListBoxHost* HostOf(const ListBoxControl& control) {
    return dynamic_cast<qt::ListBoxHost*>(control.Native());
}

// Gives each item to the dialog's OnDrawItem; the default drawing when the
// dialog does not draw it. Items are one line of the list's font high.
class OwnerDrawDelegate : public QStyledItemDelegate {
  public:
    explicit OwnerDrawDelegate(QListWidget* list) : QStyledItemDelegate(list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        Dialog* dialog = qt::DialogOf(m_list);
        if (dialog != nullptr) {
            DrawItem item;
            item.controlId = ControlId(m_list);
            item.itemId = index.row();
            item.state = ((option.state & QStyle::State_Selected) ? ODS_SELECTED : 0u) |
                         ((option.state & QStyle::State_HasFocus) ? ODS_FOCUS : 0u) |
                         ((option.state & QStyle::State_Enabled) ? 0u : ODS_DISABLED);
            item.rect = FromQRect(option.rect);
            item.text = ToUtf8(index.data(Qt::DisplayRole).toString());
            bool drawn = false;
            painter->save();
            PaintWith(*painter, m_list->font(), [&](DeviceContext& dc) {
                dc.SetBackgroundColor(FromQColor(m_list->palette().color(QPalette::Base)));
                item.dc = &dc;
                drawn = dialog->DispatchDrawItem(item);
            });
            painter->restore();
            if (drawn) return;
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_list->fontMetrics().height());
        return size;
    }

  private:
    QListWidget* m_list;
};

}  // namespace

void ListBoxControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    m_exStyle = exStyle;
    if (qt::ListBoxHost* host = HostOf(*this)) host->ApplyStyle(style, exStyle);
}

int ListBoxControl::AddString(std::string_view text) {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr) return LB_ERR;
    ByCode guard(list->byCode);
    const QString item = ToQString(text);
    int index = list->count();
    if ((m_style & LBS_SORT) != 0) {
        index = 0;
        while (index < list->count() &&
               list->item(index)->text().compare(item, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    list->insertItem(index, item);
    return index;
}

int ListBoxControl::InsertString(int index, std::string_view text) {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr) return LB_ERR;
    ByCode guard(list->byCode);
    if (index < 0 || index > list->count()) index = list->count();
    list->insertItem(index, ToQString(text));
    return index;
}

int ListBoxControl::DeleteString(int index) {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr || index < 0 || index >= list->count()) return LB_ERR;
    ByCode guard(list->byCode);
    // Deleting the selected item leaves no selection (Qt would move it on).
    const bool wasCurrent = index == list->currentRow();
    delete list->takeItem(index);
    if (wasCurrent) {
        list->selectionModel()->clearCurrentIndex();
        list->clearSelection();
    }
    return list->count();
}

void ListBoxControl::ResetContent() {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr) return;
    ByCode guard(list->byCode);
    list->clear();
}

int ListBoxControl::GetCount() const {
    const qt::ListBoxHost* list = HostOf(*this);
    return list != nullptr ? list->count() : 0;
}

std::string ListBoxControl::GetText(int index) const {
    const qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr || index < 0 || index >= list->count()) return std::string();
    return ToUtf8(list->item(index)->text());
}

int ListBoxControl::SetItemData(int index, std::intptr_t data) {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr || index < 0 || index >= list->count()) return LB_ERR;
    list->item(index)->setData(DATA_ROLE, QVariant::fromValue<qlonglong>(data));
    return 0;
}

std::intptr_t ListBoxControl::GetItemData(int index) const {
    const qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr || index < 0 || index >= list->count()) return LB_ERR;
    return static_cast<std::intptr_t>(list->item(index)->data(DATA_ROLE).toLongLong());
}

int ListBoxControl::GetCurSel() const {
    const qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr) return LB_ERR;
    const int row = list->currentRow();
    if (row < 0) return LB_ERR;
    if (list->selectionMode() != QAbstractItemView::NoSelection && !list->item(row)->isSelected())
        return LB_ERR;
    return row;
}

int ListBoxControl::SetCurSel(int index) {
    qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr) return LB_ERR;
    ByCode guard(list->byCode);
    if (index < 0) {
        list->selectionModel()->clearCurrentIndex();
        list->clearSelection();
        return LB_ERR;
    }
    if (index >= list->count()) return LB_ERR;
    list->setCurrentRow(index);
    return index;
}

Rect ListBoxControl::GetItemRect(int index) const {
    const qt::ListBoxHost* list = HostOf(*this);
    if (list == nullptr || index < 0 || index >= list->count()) return Rect{};
    return FromQRect(list->visualItemRect(list->item(index)));
}

namespace qt {

ListBoxHost::ListBoxHost(std::unique_ptr<ListBoxControl> control, QWidget* parent)
    : OwningHost<QListWidget>(std::move(control), parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    const auto& list = static_cast<const ListBoxControl&>(*Owner());
    ApplyStyle(list.Style(), list.ExStyle());
    // The selection, not the current row: a list that gains the focus gets
    // a current row without a selection, and the click that then selects
    // that row must still be reported.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!byCode && (m_style & LBS_NOTIFY) != 0) NotifyParent(this, LBN_SELCHANGE);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        if ((m_style & LBS_NOTIFY) != 0) NotifyParent(this, LBN_DBLCLK);
    });
}

void ListBoxHost::ApplyStyle(std::uint32_t style, std::uint32_t exStyle) {
    m_style = style;
    setVerticalScrollBarPolicy((style & WS_VSCROLL) != 0 ? Qt::ScrollBarAsNeeded
                                                         : Qt::ScrollBarAlwaysOff);
    setFrameShape((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0
                      ? QFrame::StyledPanel
                      : QFrame::NoFrame);
    setSelectionMode((style & LBS_NOSEL) != 0 ? QAbstractItemView::NoSelection
                                              : QAbstractItemView::SingleSelection);
    const bool ownerDrawn = (style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0;
    if (ownerDrawn && dynamic_cast<OwnerDrawDelegate*>(itemDelegate()) == nullptr)
        setItemDelegate(new OwnerDrawDelegate(this));
}

QListWidget* ListWidgetOf(const ListBoxControl& control) {
    return HostOf(control);
}

}  // namespace qt

}  // namespace platform::window
