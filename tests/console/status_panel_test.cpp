// The status panel on its own: fields change only with their values, the
// placeholder and formats of the PID list, the owner-drawn items.
#include <QImage>
#include <QKeyEvent>

#include <cmath>
#include <limits>

#include "platform/window/list_box_control.h"
#include "platform/window/qt/native.h"
#include "tests/console/console_fixture.h"

using platform::window::qt::WidgetOf;

namespace console_test {
namespace {

class Panel : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(panel.Create());
        panel.ShowWindow(window::SW_SHOW);
    }
    QString Text(int id) {
        auto* label = panel.GetDlgItemAs<skin::CTransparentStatic>(id);
        return label ? QString::fromStdString(label->Text()) : QString("<none>");
    }
    window::ListBoxControl* List() {
        return panel.GetDlgItemAs<window::ListBoxControl>(res::IDC_STATUS_PID_LIST);
    }
    console::CR40DressedStatusBasic panel;
    R40StatusRecord record{};
};

TEST_F(Panel, ValuesEqualToTheStartValuesLeaveFieldsBlank) {
    EXPECT_TRUE(panel.UpdateFromStatus(&record));
    EXPECT_EQ(Text(res::IDC_STATUS_CHANNEL), "");
    EXPECT_EQ(Text(res::IDC_STATUS_SNR), "");
    EXPECT_EQ(Text(res::IDC_STATUS_GATEWAY), "");
    ASSERT_EQ(List()->GetCount(), 1);
    EXPECT_EQ(List()->GetText(0), "PID LIST");
    EXPECT_FALSE(panel.UpdateFromStatus(nullptr));
}

TEST_F(Panel, FormatsOfTheValues) {
    record.channel = 7;
    record.snr = 12.5f;
    const std::uint8_t gateway[4] = {10, 0, 0, 1};
    std::memcpy(record.defaultGateway, gateway, 4);
    record.pids.count = 2;
    record.pids.pid[0] = 256;
    record.pids.pid[1] = 4095;
    panel.UpdateFromStatus(&record);
    EXPECT_EQ(Text(res::IDC_STATUS_CHANNEL), "7");
    EXPECT_EQ(Text(res::IDC_STATUS_SNR), "12.50 dB");
    EXPECT_EQ(Text(res::IDC_STATUS_GATEWAY), "10.0.0.1");
    EXPECT_EQ(List()->GetText(0), "0x0100  (0256)");
    EXPECT_EQ(List()->GetText(1), "0x0FFF  (4095)");
    record.snr = 7.25f;
    panel.UpdateFromStatus(&record);
    EXPECT_EQ(Text(res::IDC_STATUS_SNR), "7.25 dB");
    record.snr = std::numeric_limits<float>::quiet_NaN();
    panel.UpdateFromStatus(&record);
    EXPECT_TRUE(Text(res::IDC_STATUS_SNR).contains("nan", Qt::CaseInsensitive));
}

TEST_F(Panel, AnAbsurdPidCountIsHeldToTheRecord) {
    record.pids.count = 1000;
    for (auto& pid : record.pids.pid) pid = 0x100;
    panel.UpdateFromStatus(&record);
    EXPECT_EQ(List()->GetCount(), 32);
    record.pids.count = -5;
    panel.UpdateFromStatus(&record);
    EXPECT_EQ(List()->GetCount(), 0);
}

TEST_F(Panel, EscapeDoesNotCloseIt) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(WidgetOf(panel), &escape);
    EXPECT_TRUE(panel.HasWindow());
    EXPECT_TRUE(panel.IsWindowVisible());
}

TEST_F(Panel, PidItemsAreDrawnCentredInTheSkinColour) {
    record.pids.count = 1;
    record.pids.pid[0] = 0x1FFE;
    panel.UpdateFromStatus(&record);
    const QImage image = window::qt::WidgetOf(*List())->grab().toImage();
    int skinPixels = 0;
    int minX = image.width(), maxX = 0;
    for (int y = 0; y < image.height() / 2; ++y)
        for (int x = 0; x < image.width(); ++x)
            // The skin colour, and its anti-aliased edges on the light list.
            if (const QColor c = image.pixelColor(x, y);
                c.red() > 150 && c.green() < c.red() - 60 && c.blue() < c.red() - 60) {
                ++skinPixels;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    EXPECT_GT(skinPixels, 20);
    // Centred: as much room on the left of the text as on the right.
    EXPECT_NEAR(minX, image.width() - 1 - maxX, 12);
}

}  // namespace
}  // namespace console_test
