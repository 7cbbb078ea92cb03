#include "platform/window/list_box_control.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "platform/window/by_code_guard.h"
#include "platform/window/control_properties.h"
#include "platform/window/dialog.h"
#include "platform/window/messages.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"

namespace platform::window {

namespace {

constexpr int DATA_ROLE = Qt::UserRole;

// Gives each item to the dialog's OnDrawItem; the default drawing when the
// dialog does not draw it. Items are one line of the list's font high.
class OwnerDrawDelegate : public QStyledItemDelegate {
  public:
    explicit OwnerDrawDelegate(ListBoxControl* list) : QStyledItemDelegate(list), m_list(list) {}

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
    ListBoxControl* m_list;
};

}  // namespace

ListBoxControl::ListBoxControl(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // The selection, not the current row: a list that gains the focus gets
    // a current row without a selection, and the click that then selects
    // that row must still be reported.
    connect(this, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_byCode && (m_style & LBS_NOTIFY) != 0) NotifyParent(this, LBN_SELCHANGE);
    });
    connect(this, &QListWidget::itemDoubleClicked, this, [this] {
        if ((m_style & LBS_NOTIFY) != 0) NotifyParent(this, LBN_DBLCLK);
    });
}

void ListBoxControl::SetStyle(std::uint32_t style, std::uint32_t exStyle) {
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

int ListBoxControl::AddString(const QString& text) {
    ByCode guard(m_byCode);
    int index = count();
    if ((m_style & LBS_SORT) != 0) {
        index = 0;
        while (index < count() && item(index)->text().compare(text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    insertItem(index, text);
    return index;
}

int ListBoxControl::InsertString(int index, const QString& text) {
    ByCode guard(m_byCode);
    if (index < 0 || index > count()) index = count();
    insertItem(index, text);
    return index;
}

int ListBoxControl::DeleteString(int index) {
    if (index < 0 || index >= count()) return LB_ERR;
    ByCode guard(m_byCode);
    // Deleting the selected item leaves no selection (Qt would move it on).
    const bool wasCurrent = index == currentRow();
    delete takeItem(index);
    if (wasCurrent) {
        selectionModel()->clearCurrentIndex();
        clearSelection();
    }
    return count();
}

void ListBoxControl::ResetContent() {
    ByCode guard(m_byCode);
    clear();
}

QString ListBoxControl::GetText(int index) const {
    return index >= 0 && index < count() ? item(index)->text() : QString();
}

int ListBoxControl::SetItemData(int index, std::intptr_t data) {
    if (index < 0 || index >= count()) return LB_ERR;
    item(index)->setData(DATA_ROLE, QVariant::fromValue<qlonglong>(data));
    return 0;
}

std::intptr_t ListBoxControl::GetItemData(int index) const {
    if (index < 0 || index >= count()) return LB_ERR;
    return static_cast<std::intptr_t>(item(index)->data(DATA_ROLE).toLongLong());
}

int ListBoxControl::GetCurSel() const {
    const int row = currentRow();
    if (row < 0) return LB_ERR;
    if (selectionMode() != QAbstractItemView::NoSelection && !item(row)->isSelected())
        return LB_ERR;
    return row;
}

int ListBoxControl::SetCurSel(int index) {
    ByCode guard(m_byCode);
    if (index < 0) {
        selectionModel()->clearCurrentIndex();
        clearSelection();
        return LB_ERR;
    }
    if (index >= count()) return LB_ERR;
    setCurrentRow(index);
    return index;
}

QRect ListBoxControl::GetItemRect(int index) const {
    if (index < 0 || index >= count()) return QRect();
    return visualItemRect(item(index));
}

}  // namespace platform::window
