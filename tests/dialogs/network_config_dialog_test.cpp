// The network dialog, operated with the keyboard and the mouse: what it shows
// at the start, the record it hands back byte for byte, blank address fields,
// the two ways to cancel, where it stands, and its tips.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/network_config_dialog.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"

namespace {

using namespace dialogs_test;
using dialogs::CNetCfgDlgSkined;

IpAddressControl* Address(CNetCfgDlgSkined& dialog, int id) {
    return dialog.GetDlgItemAs<IpAddressControl>(id);
}

skin::CRedCheckBox* Igmp(CNetCfgDlgSkined& dialog) {
    return dialog.GetDlgItemAs<skin::CRedCheckBox>(res::IDC_NET_IGMP);
}

// The record's bytes as the device library reads them.
NetworkSettings Expected(std::initializer_list<std::uint8_t> status,
                         std::initializer_list<std::uint8_t> mask,
                         std::initializer_list<std::uint8_t> gateway,
                         std::initializer_list<std::uint8_t> device, std::uint8_t igmp) {
    NetworkSettings s;
    std::memset(&s, 0, sizeof s);
    std::copy(status.begin(), status.end(), s.unicastStatusAddress);
    std::copy(mask.begin(), mask.end(), s.subnetMask);
    std::copy(gateway.begin(), gateway.end(), s.defaultGateway);
    std::copy(device.begin(), device.end(), s.deviceAddress);
    s.useIgmp = igmp;
    return s;
}

void ExpectSameBytes(const NetworkSettings& actual, const NetworkSettings& expected) {
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0);
    EXPECT_EQ(actual.statusPort, 0);
    EXPECT_EQ(actual.listenPort, 0);
}

// Without start values the four addresses show 0.0.0.0, which no receiver
// can take: OK names the receiver address and keeps the dialog open until
// usable values are typed.
TEST(NetworkDialog, WithoutStartValuesShowsZeroesAndIgmpOnAndHandsBackWhatIsTyped) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CNetCfgDlgSkined dialog;
    QStringList shown;
    bool igmpShown = false;
    bool openAfterRefusal = false;
    const int ended = RunModal(dialog, [&] {
        for (const int id : {res::IDC_NET_RECEIVER_ADDRESS, res::IDC_NET_SUBNET_MASK,
                             res::IDC_NET_GATEWAY, res::IDC_NET_STATUS_ADDRESS})
            shown << ToQString(Address(dialog, id)->Text());
        igmpShown = Igmp(dialog)->IsChecked();
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
        openAfterRefusal = dialog.IsModalRunning();
        TypeAddress(Address(dialog, res::IDC_NET_RECEIVER_ADDRESS), {"10", "1", "2", "3"});
        TypeAddress(Address(dialog, res::IDC_NET_SUBNET_MASK), {"255", "255", "255", "0"});
        TypeAddress(Address(dialog, res::IDC_NET_STATUS_ADDRESS), {"10", "1", "2", "9"});
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(shown, QStringList(4, QStringLiteral("0.0.0.0")));
    EXPECT_TRUE(igmpShown);
    EXPECT_TRUE(openAfterRefusal);
    ASSERT_EQ(service.MessageBoxes().size(), 1u);
    EXPECT_TRUE(service.MessageBoxes()[0].text.starts_with("Receiver Address 0.0.0.0 "))
        << service.MessageBoxes()[0].text;

    NetworkSettings result;
    std::memset(&result, 0xAB, sizeof result);
    EXPECT_TRUE(dialog.GetResult(result));
    ExpectSameBytes(result,
                    Expected({10, 1, 2, 9}, {255, 255, 255, 0}, {0, 0, 0, 0}, {10, 1, 2, 3}, 1));
}

// Each value no receiver can take is refused, the field named with what was
// typed; the dialog stays open and confirms nothing.
TEST(NetworkDialog, RefusesWhatNoReceiverCanUseAndNamesTheField) {
    struct Case {
        int control;
        QStringList typed;
        const char* named;
    };
    const std::vector<Case> cases{
        {res::IDC_NET_RECEIVER_ADDRESS,
         {"255", "255", "255", "255"},
         "Receiver Address 255.255.255.255"},
        {res::IDC_NET_RECEIVER_ADDRESS, {"224", "0", "0", "1"}, "Receiver Address 224.0.0.1"},
        {res::IDC_NET_RECEIVER_ADDRESS, {"10", "1", "255", "255"}, "Receiver Address 10.1.255.255"},
        {res::IDC_NET_SUBNET_MASK, {"255", "0", "255", "0"}, "Subnet Mask 255.0.255.0"},
        {res::IDC_NET_GATEWAY, {"239", "1", "1", "1"}, "Default Gateway 239.1.1.1"},
        {res::IDC_NET_STATUS_ADDRESS, {"0", "0", "0", "0"}, "Send Status To 0.0.0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        ScriptedDialogService service;
        ScopedDialogService installed(service);
        CNetCfgDlgSkined dialog;
        dialog.SetStartValues({10, 1, 2, 3}, {10, 1, 2, 254}, {255, 255, 0, 0}, {192, 168, 7, 9},
                              false);
        const int ended = RunModal(dialog, [&] {
            TypeAddress(Address(dialog, c.control), c.typed);
            QTest::keyClick(AddressField(Address(dialog, c.control), 3), Qt::Key_Return);
        });
        EXPECT_EQ(ended, STILL_RUNNING);
        NetworkSettings result{};
        EXPECT_FALSE(dialog.GetResult(result));
        ASSERT_EQ(service.MessageBoxes().size(), 1u);
        EXPECT_TRUE(service.MessageBoxes()[0].text.starts_with(std::string(c.named) + " "))
            << service.MessageBoxes()[0].text;
    }
}

TEST(NetworkDialog, UntouchedStartValuesComeBackExactlyOnEnter) {
    CNetCfgDlgSkined dialog;
    dialog.SetStartValues({10, 1, 2, 3}, {10, 1, 2, 254}, {255, 255, 0, 0}, {192, 168, 7, 9},
                          false);
    bool igmpShown = true;
    QString receiverShown;
    const int ended = RunModal(dialog, [&] {
        igmpShown = Igmp(dialog)->IsChecked();
        receiverShown = ToQString(Address(dialog, res::IDC_NET_RECEIVER_ADDRESS)->Text());
        QTest::keyClick(AddressField(Address(dialog, res::IDC_NET_GATEWAY), 2), Qt::Key_Return);
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_FALSE(igmpShown);
    EXPECT_EQ(receiverShown, "10.1.2.3");
    NetworkSettings result{};
    EXPECT_TRUE(dialog.GetResult(result));
    ExpectSameBytes(
        result, Expected({192, 168, 7, 9}, {255, 255, 0, 0}, {10, 1, 2, 254}, {10, 1, 2, 3}, 0));
}

TEST(NetworkDialog, TypedAddressesWithBlankFieldsAndAClickedBoxComeBackAsEntered) {
    CNetCfgDlgSkined dialog;
    dialog.SetStartValues({10, 1, 2, 3}, {10, 1, 2, 254}, {255, 255, 0, 0}, {192, 168, 7, 9}, true);
    const int ended = RunModal(dialog, [&] {
        TypeAddress(Address(dialog, res::IDC_NET_RECEIVER_ADDRESS), {"172", "16", "", "40"});
        TypeAddress(Address(dialog, res::IDC_NET_STATUS_ADDRESS), {"255", "255", "255", "255"});
        TypeAddress(Address(dialog, res::IDC_NET_SUBNET_MASK), {"255", "255", "", ""});
        Click(Igmp(dialog));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(ended, IDOK);
    NetworkSettings result{};
    EXPECT_TRUE(dialog.GetResult(result));
    ExpectSameBytes(result, Expected({255, 255, 255, 255}, {255, 255, 0, 0}, {10, 1, 2, 254},
                                     {172, 16, 0, 40}, 0));
}

TEST(NetworkDialog, EscapeAndTheCrossButtonLeaveTheResultUnconfirmed) {
    CNetCfgDlgSkined dialog;
    dialog.SetStartValues({10, 1, 2, 3}, {10, 1, 2, 254}, {255, 255, 0, 0}, {192, 168, 7, 9}, true);
    RunModal(dialog, [&] { Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK))); });
    NetworkSettings result{};
    ASSERT_TRUE(dialog.GetResult(result));

    // A later run that is cancelled takes the confirmation back.
    const int ended = RunModal(dialog, [&] {
        QTest::keyClick(AddressField(Address(dialog, res::IDC_NET_GATEWAY), 0), Qt::Key_Escape);
    });
    EXPECT_EQ(ended, IDCANCEL);
    EXPECT_FALSE(dialog.GetResult(result));

    CNetCfgDlgSkined crossed;
    const int endedAgain = RunModal(crossed, [&] {
        TypeAddress(Address(crossed, res::IDC_NET_RECEIVER_ADDRESS), {"1", "2", "3", "4"});
        Click(platform::window::qt::WidgetOf(crossed.GetDlgItem(IDCANCEL)));
    });
    EXPECT_EQ(endedAgain, IDCANCEL);
    EXPECT_FALSE(crossed.GetResult(result));
}

TEST(NetworkDialog, StandsRightOfTheAnchorWithTopEdgesLevelUnlessTheAnchorTopIsZero) {
    Rect firstPlace;
    {
        CNetCfgDlgSkined unanchored;
        RunModal(unanchored, [&] {
            firstPlace = unanchored.GetWindowRect();
            unanchored.EndDialog(IDCANCEL);
        });
    }

    CNetCfgDlgSkined topZero;
    topZero.SetAnchorRect(Rect{40, 0, 140, 300});
    Rect shownAt;
    RunModal(topZero, [&] {
        shownAt = topZero.GetWindowRect();
        topZero.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shownAt, firstPlace);

    CNetCfgDlgSkined anchored;
    anchored.SetAnchorRect(Rect{40, 60, 150, 245});
    RunModal(anchored, [&] {
        shownAt = anchored.GetWindowRect();
        anchored.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shownAt.left, 150);
    EXPECT_EQ(shownAt.top, 60);
    EXPECT_EQ(shownAt.Width(), firstPlace.Width());
    EXPECT_EQ(shownAt.Height(), firstPlace.Height());
}

TEST(NetworkDialog, PointerRestingOnTheStatusAddressShowsItsTwoLineTip) {
    CNetCfgDlgSkined dialog;
    bool shown = false;
    bool onTheControl = false;
    std::string text;
    RunModal(dialog, [&] {
        IpAddressControl* control = Address(dialog, res::IDC_NET_STATUS_ADDRESS);
        QTest::mouseMove(AddressField(control, 1), AddressField(control, 1)->rect().center());
        shown = WaitUntil([&] { return dialog.ToolTip().IsTipShown(); });
        onTheControl = dialog.ToolTip().CurrentTool() == control;
        text = dialog.ToolTip().GetText(dialog.ToolTip().CurrentTool());
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(onTheControl);
    const std::size_t lineBreak = text.find('\n');
    ASSERT_NE(lineBreak, std::string::npos) << text;
    EXPECT_EQ(text.substr(lineBreak + 1, text.find('\n', lineBreak + 1) - lineBreak - 1),
              " Enter 255.255.255.255 to disable that feature");
}

}  // namespace
