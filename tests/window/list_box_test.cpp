// The list box: sorted insertion by text, item data, notifications only for
// the operator's changes and only with LBS_NOTIFY, and owner-drawn items
// drawn by the dialog.
#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "platform/window/list_box_control.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/list_box_host.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::ListWidgetOf;
using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

// Where a click lands on item `index`: its centre in the list's viewport.
QPoint ItemCentre(const ListBoxControl& list, int index) {
    return ToQRect(list.GetItemRect(index)).center();
}

TEST(ListBox, SortedListKeepsTextOrder) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    ASSERT_TRUE(dialog.Create());
    auto* list = dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->AddString(("32 (0x20)")), 0);
    EXPECT_EQ(list->AddString(("481 (0x1E1)")), 1);
    // "100" sorts before "32" as text.
    EXPECT_EQ(list->AddString(("100 (0x64)")), 0);
    EXPECT_EQ(list->SetItemData(0, 100), 0);
    EXPECT_EQ(list->GetItemData(0), 100);
    EXPECT_EQ(list->GetText(2), "481 (0x1E1)");
    EXPECT_EQ(list->GetCount(), 3);
    EXPECT_EQ(list->DeleteString(1), 2);
    EXPECT_EQ(list->DeleteString(7), LB_ERR);
    EXPECT_EQ(list->GetText(1), "481 (0x1E1)");
}

TEST(ListBox, OperatorSelectionNotifiesCodeSelectionDoesNot) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    auto* list = dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    list->AddString(("100 (0x64)"));
    list->AddString(("200 (0xC8)"));
    dialog.commands.clear();
    EXPECT_EQ(list->SetCurSel(0), 0);
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(dialog.commands.empty());
    EXPECT_EQ(list->SetCurSel(-1), LB_ERR);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);

    QTest::mouseClick(ListWidgetOf(*list)->viewport(), Qt::LeftButton, {}, ItemCentre(*list, 1));
    EXPECT_EQ(list->GetCurSel(), 1);
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0].id, res::IDC_CONTENT_PID_LIST);
    EXPECT_EQ(dialog.commands[0].code, LBN_SELCHANGE);
}

TEST(ListBox, FirstClickOnTheFirstEntryOfAnUnfocusedListNotifiesItsSelection) {
    // Gaining the focus makes the first entry current without selecting it;
    // the click that selects it is still the operator's change.
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(Activate(WidgetOf(dialog)));
    auto* list = dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    list->AddString(("100 (0x64)"));
    list->AddString(("200 (0xC8)"));
    std::vector<int> selectedWhenNotified;
    dialog.MapCommand(res::IDC_CONTENT_PID_LIST, LBN_SELCHANGE,
                      [&] { selectedWhenNotified.push_back(list->GetCurSel()); });
    QTest::mouseClick(ListWidgetOf(*list)->viewport(), Qt::LeftButton, {}, ItemCentre(*list, 0));
    EXPECT_EQ(selectedWhenNotified, std::vector<int>{0});
}

TEST(ListBox, DeletingTheSelectedEntryLeavesNoneSelected) {
    // A second Remove must not take another entry the operator never chose.
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    ASSERT_TRUE(dialog.Create());
    auto* list = dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    list->AddString(("100 (0x64)"));
    list->AddString(("200 (0xC8)"));
    list->AddString(("300 (0x12C)"));
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    list->SetCurSel(1);
    dialog.commands.clear();
    EXPECT_EQ(list->DeleteString(1), 2);
    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    list->SetCurSel(0);
    list->DeleteString(1);  // another entry: the selection stays
    EXPECT_EQ(list->GetCurSel(), 0);
    EXPECT_TRUE(dialog.commands.empty());
}

// The status panel's list: owner-drawn, no selection, no notification.
class PidPanel : public RecordingDialog {
  public:
    PidPanel() : RecordingDialog(res::FindDialogTemplate(res::IDD_STATUS_PANEL)) {}
    std::vector<DrawItem> drawn;

  protected:
    bool OnDrawItem(DrawItem& item) override {
        if (item.controlId != res::IDC_STATUS_PID_LIST) return false;
        drawn.push_back(item);
        DeviceContext& dc = *item.dc;
        dc.FillRect(item.rect, dc.BackgroundColor());
        dc.SetTextColor(Rgb(204, 45, 48));
        dc.DrawText(item.rect, item.text, DT_CENTER | DT_VCENTER);
        dc.FillRect(Rect::FromSize(item.rect.left, item.rect.top, 3, 3), Rgb(204, 45, 48));
        return true;
    }
};

TEST(ListBox, OwnerDrawnItemsAreDrawnByTheDialog) {
    PidPanel panel;
    ASSERT_TRUE(panel.Create());
    panel.ShowWindow(SW_SHOW);
    auto* list = panel.GetDlgItemAs<ListBoxControl>(res::IDC_STATUS_PID_LIST);
    ASSERT_NE(list, nullptr);
    list->AddString(("0x0100  (0256)"));
    list->AddString(("0x0FFF  (4095)"));
    Pump(10);  // the list lays its items out later
    const QImage image = ListWidgetOf(*list)->viewport()->grab().toImage();
    ASSERT_GE(panel.drawn.size(), 2u);
    EXPECT_EQ(panel.drawn[0].itemId, 0);
    EXPECT_EQ(panel.drawn[1].text, "0x0FFF  (4095)");
    EXPECT_EQ(panel.drawn[1].rect.top, panel.drawn[0].rect.bottom);
    EXPECT_EQ(panel.drawn[0].rect.Height(), ListWidgetOf(*list)->fontMetrics().height());
    const QPoint corner = ToQRect(list->GetItemRect(1)).topLeft() + QPoint(1, 1);
    EXPECT_EQ(image.pixelColor(corner), QColor(204, 45, 48));

    // No selection: a click selects nothing and tells the dialog nothing.
    panel.commands.clear();
    QTest::mouseClick(ListWidgetOf(*list)->viewport(), Qt::LeftButton, {}, ItemCentre(*list, 0));
    EXPECT_TRUE(ListWidgetOf(*list)->selectedItems().isEmpty());
    EXPECT_TRUE(panel.commands.empty());
}

}  // namespace
