// The IPv4 address control: one 32-bit value with the first number in the
// high byte, blank fields read 0, typing moves from field to field, and
// numbers are held at 255.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/window/ip_address_control.h"
#include "platform/window/qt/ip_address_host.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

class IpAddressTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(Activate(WidgetOf(dialog)));
        ip = dialog.GetDlgItemAs<IpAddressControl>(res::IDC_NET_RECEIVER_ADDRESS);
        ASSERT_NE(ip, nullptr);
    }

    std::uint32_t Value() const {
        std::uint32_t value = 0xDEADBEEF;
        ip->GetAddress(value);
        return value;
    }

    // Field editor `i`, which the operator types into.
    QLineEdit* Field(int i) const { return platform::window::qt::IpAddressField(*ip, i); }

    RecordingDialog dialog{res::FindDialogTemplate(res::IDD_NETWORK_CONFIG)};
    IpAddressControl* ip = nullptr;
};

TEST_F(IpAddressTest, FirstNumberIsTheHighByte) {
    ip->SetAddress(MakeIpAddress(192, 168, 1, 20));
    EXPECT_EQ(Field(0)->text(), "192");
    EXPECT_EQ(Field(3)->text(), "20");
    EXPECT_EQ(Value(), 0xC0A80114u);
    EXPECT_EQ(ip->Text(), "192.168.1.20");
    std::uint8_t b1 = 0, b2 = 0, b3 = 0, b4 = 0;
    EXPECT_EQ(ip->GetAddress(b1, b2, b3, b4), 4);
    EXPECT_EQ(b1, 192);
    EXPECT_EQ(b2, 168);
    EXPECT_EQ(b3, 1);
    EXPECT_EQ(b4, 20);
    ip->SetAddress(0xFFFFFFFFu);
    EXPECT_EQ(ip->Text(), "255.255.255.255");
}

TEST_F(IpAddressTest, ZeroShowsAsZeroesAndBlankFieldsReadZero) {
    ip->SetAddress(0u);
    EXPECT_EQ(ip->Text(), "0.0.0.0");
    EXPECT_FALSE(ip->IsBlank());

    ip->SetAddress(MakeIpAddress(10, 20, 30, 40));
    Field(1)->clear();
    std::uint32_t value = 0;
    EXPECT_EQ(ip->GetAddress(value), 3);
    EXPECT_EQ(value, MakeIpAddress(10, 0, 30, 40));

    ip->ClearAddress();
    EXPECT_TRUE(ip->IsBlank());
    EXPECT_EQ(ip->GetAddress(value), 0);
    EXPECT_EQ(value, 0u);
}

TEST_F(IpAddressTest, TypingMovesOnAfterThreeDigitsOrADot) {
    ip->ClearAddress();
    ip->SetFieldFocus(0);
    QTest::keyClicks(Field(0), QStringLiteral("192"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("168"));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("1."));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("20"));
    EXPECT_EQ(ip->Text(), "192.168.1.20");
    EXPECT_EQ(QApplication::focusWidget(), Field(3));
    // Backspace at the start of an empty field goes back to the one before.
    QTest::keyClick(Field(3), Qt::Key_Backspace);
    QTest::keyClick(Field(3), Qt::Key_Backspace);
    QTest::keyClick(Field(3), Qt::Key_Backspace);
    EXPECT_EQ(QApplication::focusWidget(), Field(2));
}

TEST_F(IpAddressTest, NumbersAboveTwoFiftyFiveAreHeldAndLettersRefused) {
    ip->ClearAddress();
    ip->SetFieldFocus(0);
    QTest::keyClicks(Field(0), QStringLiteral("300"));
    EXPECT_EQ(Field(0)->text(), "255");
    Field(1)->setFocus();
    QTest::keyClicks(Field(1), QStringLiteral("a7"));
    EXPECT_EQ(Field(1)->text(), "7");
    Field(2)->setText(QStringLiteral("007"));
    std::uint32_t value = 0;
    ip->GetAddress(value);
    EXPECT_EQ(value, MakeIpAddress(255, 7, 7, 0));
}

TEST_F(IpAddressTest, ChangesNotifyTheDialog) {
    dialog.commands.clear();
    ip->SetAddress(MakeIpAddress(1, 2, 3, 4));
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.back().id, res::IDC_NET_RECEIVER_ADDRESS);
    EXPECT_EQ(dialog.commands.back().code, EN_CHANGE);
    const std::size_t before = dialog.commands.size();
    ip->SetFieldFocus(3);
    QTest::keyClicks(Field(3), QStringLiteral("5"));
    EXPECT_GT(dialog.commands.size(), before);
}

}  // namespace
