// What the list box, the combo box and the address control share as
// Windows: items that go where the style says in both lists, the list's
// notifications by style and gesture, the address as the control's window
// text, and calls on an object without a window, which fail harmlessly as
// they do on a Win32 control that is gone.
#include <gtest/gtest.h>

#include <QTest>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/combo_box_control.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/ip_address_host.h"
#include "platform/window/qt/list_box_host.h"
#include "platform/window/qt/native.h"
#include "platform/window/styles.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

// An insertion: AddString when `at` is unset, else InsertString(at, text).
struct Put {
    std::string text;
    std::optional<int> at;
};

struct OrderCase {
    const char* name;
    bool sorted;
    std::vector<Put> puts;
    std::vector<int> indexes;  // what each call returned
    std::vector<std::string> order;
};

// The same rules for LBS_SORT and CBS_SORT: compared without regard to
// case, an equal text after the ones already there, InsertString never
// sorting and appending for -1 or an index past the end.
const std::vector<OrderCase> ORDER_CASES = {
    {"unsorted appends", false, {{"b", {}}, {"a", {}}, {"c", {}}}, {0, 1, 2}, {"b", "a", "c"}},
    {"sorted ignores case",
     true,
     {{"apple", {}}, {"Banana", {}}, {"cherry", {}}, {"APPLE", {}}},
     {0, 1, 2, 1},
     {"apple", "APPLE", "Banana", "cherry"}},
    {"insert at an index, never sorted",
     true,
     {{"b", {}}, {"d", {}}, {"z", 0}, {"a", 3}},
     {0, 1, 0, 3},
     {"z", "b", "d", "a"}},
    {"insert past the end or at -1 appends",
     false,
     {{"a", {}}, {"b", 9}, {"c", -1}},
     {0, 1, 2},
     {"a", "b", "c"}},
};

template <class Control>
void CheckOrder(Control& control, const OrderCase& c, std::function<std::string(int)> text) {
    std::vector<int> indexes;
    for (const Put& put : c.puts)
        indexes.push_back(put.at ? control.InsertString(*put.at, put.text)
                                 : control.AddString(put.text));
    EXPECT_EQ(indexes, c.indexes) << c.name;
    std::vector<std::string> order;
    for (int i = 0; i < control.GetCount(); ++i) order.push_back(text(i));
    EXPECT_EQ(order, c.order) << c.name;
}

TEST(ItemControls, ListAndComboPutItemsWhereTheStyleSays) {
    RecordingDialog content(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(content.Create());
    ASSERT_TRUE(main.Create());
    auto* list = content.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    auto* combo = main.GetDlgItemAs<ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(combo, nullptr);
    const std::uint32_t listStyle = list->Style() & ~static_cast<std::uint32_t>(LBS_SORT);
    const std::uint32_t comboStyle = combo->Style() & ~static_cast<std::uint32_t>(CBS_SORT);
    for (const OrderCase& c : ORDER_CASES) {
        list->ResetContent();
        list->SetStyle(listStyle | (c.sorted ? LBS_SORT : 0u), list->ExStyle());
        CheckOrder(*list, c, [&](int i) { return list->GetText(i); });
        combo->ResetContent();
        combo->SetStyle(comboStyle | (c.sorted ? CBS_SORT : 0u));
        CheckOrder(*combo, c, [&](int i) { return combo->GetLBText(i); });
    }
    // UTF-8 goes in and comes out unchanged.
    list->ResetContent();
    EXPECT_EQ(list->GetText(list->AddString("Kanal \xC3\xBC \xE2\x82\xAC")),
              "Kanal \xC3\xBC \xE2\x82\xAC");
    EXPECT_EQ(list->GetText(5), "");
    EXPECT_EQ(combo->GetLBText(-1), "");
}

TEST(ItemControls, ListNotifiesTheOperatorsGesturesOnlyWithLbsNotify) {
    struct Case {
        const char* name;
        bool notify;
        bool doubleClick;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {"click", true, false, {LBN_SELCHANGE}},
        {"double click", true, true, {LBN_SELCHANGE, LBN_DBLCLK}},
        {"click without LBS_NOTIFY", false, false, {}},
        {"double click without LBS_NOTIFY", false, true, {}},
    };
    for (const Case& c : cases) {
        RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
        auto* list = dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
        const std::uint32_t style = list->Style() & ~static_cast<std::uint32_t>(LBS_NOTIFY);
        list->SetStyle(style | (c.notify ? LBS_NOTIFY : 0u), list->ExStyle());
        list->AddString("100 (0x64)");
        list->AddString("200 (0xC8)");
        dialog.commands.clear();
        QWidget* viewport = platform::window::qt::ListWidgetOf(*list)->viewport();
        const QPoint at = ToQRect(list->GetItemRect(1)).center();
        if (c.doubleClick) {
            // What a display sends: a click, then a press that is a
            // double click, then its release.
            QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
            QTest::mousePress(viewport, Qt::LeftButton, {}, at);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
            QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        } else {
            QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
        }
        std::vector<int> codes;
        for (const Command& command : dialog.commands)
            if (command.id == res::IDC_CONTENT_PID_LIST) codes.push_back(command.code);
        EXPECT_EQ(codes, c.codes) << c.name;
        EXPECT_EQ(list->GetCurSel(), 1) << c.name;
    }
}

TEST(ItemControls, AddressIsTheControlsWindowTextWithBlankFieldsEmpty) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_NETWORK_CONFIG));
    ASSERT_TRUE(dialog.Create());
    auto* address = dialog.GetDlgItemAs<IpAddressControl>(res::IDC_NET_RECEIVER_ADDRESS);
    ASSERT_NE(address, nullptr);
    address->SetAddress(MakeIpAddress(10, 1, 2, 3));
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_NET_RECEIVER_ADDRESS)->GetWindowText(), "10.1.2.3");
    platform::window::qt::IpAddressField(*address, 1)->clear();
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_NET_RECEIVER_ADDRESS)->GetWindowText(), "10..2.3");
}

TEST(ItemControls, CallsWithoutAWindowFailHarmlessly) {
    // Objects never given a window.
    ListBoxControl lonelyList;
    ComboBoxControl lonelyCombo;
    IpAddressControl lonelyAddress;
    struct Case {
        const char* name;
        std::function<bool()> holds;
    };
    const Case cases[] = {
        {"list",
         [&] {
             return lonelyList.AddString("a") == LB_ERR &&
                    lonelyList.InsertString(0, "a") == LB_ERR && lonelyList.GetCount() == 0 &&
                    lonelyList.GetText(0).empty() && lonelyList.SetItemData(0, 7) == LB_ERR &&
                    lonelyList.GetItemData(0) == LB_ERR && lonelyList.SetCurSel(0) == LB_ERR &&
                    lonelyList.GetCurSel() == LB_ERR && lonelyList.DeleteString(0) == LB_ERR &&
                    lonelyList.GetItemRect(0).IsEmpty();
         }},
        {"combo",
         [&] {
             lonelyCombo.ShowDropDown(true);
             lonelyCombo.SetExtendedUI(true);
             return lonelyCombo.AddString("a") == CB_ERR && lonelyCombo.GetCount() == 0 &&
                    lonelyCombo.GetLBText(0).empty() && lonelyCombo.GetItemData(0) == CB_ERR &&
                    lonelyCombo.SetCurSel(0) == CB_ERR && lonelyCombo.GetCurSel() == CB_ERR &&
                    !lonelyCombo.GetDroppedState() && !lonelyCombo.GetExtendedUI() &&
                    lonelyCombo.SetDroppedWidth(200) == CB_ERR &&
                    lonelyCombo.GetDroppedWidth() == CB_ERR;
         }},
        {"address",
         [&] {
             lonelyAddress.SetAddress(MakeIpAddress(1, 2, 3, 4));
             lonelyAddress.SetFieldFocus(2);
             std::uint32_t value = 0xDEADBEEF;
             return lonelyAddress.GetAddress(value) == 0 && value == 0 && lonelyAddress.IsBlank() &&
                    lonelyAddress.Text().empty();
         }},
    };
    for (const Case& c : cases) EXPECT_TRUE(c.holds()) << c.name;
}

}  // namespace
