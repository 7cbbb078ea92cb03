// The drop-down list combo box: items with data, notifications when the
// list drops down, closes up and an item is picked (none for changes made
// by code), the extended user interface and the drop-down width.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>

#include "platform/window/combo_box_control.h"
#include "platform/window/qt/combo_box_host.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

class ComboBoxTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        combo = dialog.GetDlgItemAs<ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST);
        ASSERT_NE(combo, nullptr);
        dialog.commands.clear();
    }
    void TearDown() override { combo->ShowDropDown(false); }

    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Command& c : dialog.commands)
            if (c.id == res::IDC_MAIN_DEVICE_LIST) codes.push_back(c.code);
        return codes;
    }

    // The backend's widget, which the operator's clicks and keys reach.
    QComboBox* Box() const { return platform::window::qt::ComboBoxOf(*combo); }

    RecordingDialog dialog{res::FindDialogTemplate(res::IDD_MAIN_CONSOLE)};
    ComboBoxControl* combo = nullptr;
};

TEST_F(ComboBoxTest, ItemsCarryTheirDataAndCodeChangesNotifyNothing) {
    EXPECT_EQ(combo->AddString(("Device List")), 0);
    EXPECT_EQ(combo->SetCurSel(0), 0);
    combo->ResetContent();
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_EQ(combo->AddString(("00-1A-2B-3C-4D-5E R40  (192.168.1.20) ")), 0);
    EXPECT_EQ(combo->AddString(("02-5C-C1-00-00-01 R40V  (10.0.0.2) ")), 1);
    EXPECT_EQ(combo->SetItemData(0, 0x3C4D5E), 0);
    EXPECT_EQ(combo->SetItemData(1, 0x000001), 0);
    EXPECT_EQ(combo->GetItemData(0), 0x3C4D5E);
    EXPECT_EQ(combo->GetItemData(1), 1);
    EXPECT_EQ(combo->GetItemData(2), CB_ERR);
    EXPECT_EQ(combo->SetItemData(5, 1), CB_ERR);
    EXPECT_EQ(combo->SetCurSel(1), 1);
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->SetCurSel(9), CB_ERR);
    EXPECT_EQ(combo->DeleteString(0), 1);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ComboBoxTest, AddingSelectsNothingAndDeletingTheSelectionClearsIt) {
    combo->AddString(("a"));
    combo->AddString(("b"));
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    combo->SetCurSel(0);
    combo->AddString(("c"));
    EXPECT_EQ(combo->GetCurSel(), 0);
    combo->DeleteString(0);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR);
    EXPECT_TRUE(Codes().empty());
}

TEST_F(ComboBoxTest, DropDownCloseUpAndSelectionAreNotified) {
    combo->AddString(("first"));
    combo->AddString(("second"));
    combo->SetCurSel(0);
    combo->ShowDropDown(true);
    EXPECT_TRUE(combo->GetDroppedState());
    ASSERT_EQ(Codes(), std::vector<int>{CBN_DROPDOWN});
    EXPECT_TRUE(Box()->view()->isVisible());

    // The operator clicks the second item.
    QAbstractItemView* view = Box()->view();
    const QRect second = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_TRUE(WaitUntil([&] { return !combo->GetDroppedState(); }));
    const std::vector<int> codes = Codes();
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_CLOSEUP), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_SELCHANGE), codes.end());
    ASSERT_NE(std::find(codes.begin(), codes.end(), CBN_SELENDOK), codes.end());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_DROPDOWN), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), CBN_CLOSEUP), 1);
}

TEST_F(ComboBoxTest, ClosingWithoutPickingIsOnlyACloseUp) {
    combo->AddString(("only"));
    combo->ShowDropDown(true);
    combo->ShowDropDown(false);
    EXPECT_EQ(Codes(), (std::vector<int>{CBN_DROPDOWN, CBN_CLOSEUP}));
    combo->ShowDropDown(false);
    EXPECT_EQ(Codes().size(), 2u);
}

TEST_F(ComboBoxTest, ExtendedInterfaceDropsTheListOnTheDownArrow) {
    combo->AddString(("a"));
    combo->AddString(("b"));
    combo->SetCurSel(0);
    combo->ShowWindow(SW_SHOW);
    combo->SetExtendedUI(true);
    QTest::keyClick(Box(), Qt::Key_Down);
    EXPECT_TRUE(combo->GetDroppedState());
    EXPECT_EQ(combo->GetCurSel(), 0);  // the selection did not move
    combo->ShowDropDown(false);

    combo->SetExtendedUI(false);
    QTest::keyClick(Box(), Qt::Key_Down);
    EXPECT_FALSE(combo->GetDroppedState());
    EXPECT_EQ(combo->GetCurSel(), 1);
}

TEST_F(ComboBoxTest, DroppedListIsAtLeastTheDroppedWidth) {
    combo->AddString(("00-1A-2B-3C-4D-5E R40  (192.168.1.20) "));
    EXPECT_EQ(combo->GetDroppedWidth(), combo->GetClientRect().Width());
    EXPECT_EQ(combo->SetDroppedWidth(260), 260);
    EXPECT_EQ(combo->GetDroppedWidth(), 260);
    combo->ShowDropDown(true);
    EXPECT_GE(Box()->view()->window()->width(), 260);
}

}  // namespace
