// The video PID dialog, operated with the keyboard and the mouse: the PID
// and destination it starts with, the destination it hands back, the port's
// range, cancelling, and where it stands over its owner.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "dialog_test_support.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "platform/window/static_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

namespace {

using namespace dialogs_test;
using dialogs::CConfVideoPIDDlg;
using dialogs::Ipv4Address;

QLineEdit* Port(CConfVideoPIDDlg& dialog) {
    return qobject_cast<QLineEdit*>(
        platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_VIDEO_PORT)));
}

IpAddressControl* Address(CConfVideoPIDDlg& dialog) {
    return dialog.GetDlgItemAs<IpAddressControl>(res::IDC_VIDEO_ADDRESS);
}

TEST(VideoPidDialog, ShowsThePidAndDestinationAndHandsThemBackUntouched) {
    CConfVideoPIDDlg dialog;
    dialog.SetTarget(481, {239, 1, 2, 3}, 5004);
    std::string pidText;
    QString address;
    QString port;
    const int ended = RunModal(dialog, [&] {
        pidText = dialog.GetDlgItemAs<StaticControl>(res::IDC_VIDEO_PID_TEXT)->Text();
        address = ToQString(Address(dialog)->Text());
        port = Port(dialog)->text();
        QTest::keyClick(Port(dialog), Qt::Key_Return);
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(pidText, "PID:  481");
    EXPECT_EQ(address, "239.1.2.3");
    EXPECT_EQ(port, "5004");
    EXPECT_TRUE(dialog.IsConfirmed());
    Ipv4Address destination{};
    std::uint16_t destinationPort = 0;
    dialog.GetDestination(destination, destinationPort);
    EXPECT_EQ(destination, (Ipv4Address{239, 1, 2, 3}));
    EXPECT_EQ(destinationPort, 5004);
}

TEST(VideoPidDialog, TypedDestinationWithABlankFieldAndTheHighestPortComesBack) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CConfVideoPIDDlg dialog;
    dialog.SetTarget(32, {}, 0);
    QString startAddress;
    QString startPort;
    const int ended = RunModal(dialog, [&] {
        startAddress = ToQString(Address(dialog)->Text());
        startPort = Port(dialog)->text();
        TypeAddress(Address(dialog), {"224", "", "0", "9"});
        Retype(Port(dialog), QStringLiteral("65535"));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(startAddress, "0.0.0.0");
    EXPECT_EQ(startPort, "0");
    EXPECT_TRUE(service.MessageBoxes().empty());
    Ipv4Address destination{};
    std::uint16_t port = 0;
    dialog.GetDestination(destination, port);
    EXPECT_EQ(destination, (Ipv4Address{224, 0, 0, 9}));
    EXPECT_EQ(port, 65535);
}

TEST(VideoPidDialog, RefusedPortsCanBeCorrectedOrCancelledKeepingTheGivenDestination) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CConfVideoPIDDlg dialog;
    dialog.SetTarget(100, {10, 0, 0, 1}, 1234);
    std::vector<std::size_t> boxesAfterEachOk;
    const int ended = RunModal(dialog, [&] {
        TypeAddress(Address(dialog), {"10", "9", "9", "9"});
        for (const QString& entry : {QStringLiteral("65536"), QStringLiteral("")}) {
            Retype(Port(dialog), entry);
            QTest::keyClick(Port(dialog), Qt::Key_Return);
            boxesAfterEachOk.push_back(service.MessageBoxes().size());
        }
        QTest::keyClick(Port(dialog), Qt::Key_Escape);
    });
    EXPECT_EQ(ended, IDCANCEL);
    EXPECT_EQ(boxesAfterEachOk, (std::vector<std::size_t>{1, 2}));
    ASSERT_EQ(service.MessageBoxes().size(), 2u);
    EXPECT_EQ(service.MessageBoxes()[0].text, "Enter an integer between 0 and 65535.");
    EXPECT_EQ(service.MessageBoxes()[1].text, "Enter an integer.");
    EXPECT_EQ(service.MessageBoxes()[1].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(dialog.IsConfirmed());
    Ipv4Address destination{};
    std::uint16_t port = 0;
    dialog.GetDestination(destination, port);
    EXPECT_EQ(destination, (Ipv4Address{10, 0, 0, 1}));
    EXPECT_EQ(port, 1234);
}

TEST(VideoPidDialog, CoversItsOwnerFromTheOwnersTopLeftCorner) {
    Dialog owner(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(owner.Create());
    owner.MoveTo(310, 120);
    owner.ShowWindow(SW_SHOW);
    CConfVideoPIDDlg dialog;
    dialog.SetOwnerReference(owner.Handle());
    Rect shownAt;
    RunModal(dialog, [&] {
        shownAt = dialog.GetWindowRect();
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
    });
    EXPECT_EQ(shownAt.left, 310);
    EXPECT_EQ(shownAt.top, 120);
}

}  // namespace
