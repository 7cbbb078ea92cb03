// Mouse capture: while a window holds it, clicks meant for other windows of
// the console reach it instead; releasing or destroying it ends that.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/window/mouse_capture.h"
#include "platform/window/qt/native.h"
#include "platform/window/styles.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

// A top-level window of the layer counting the presses that reach it.
class ClickCounter : public Window {
  public:
    ClickCounter() { Create(WS_VISIBLE, Rect{500, 400, 550, 450}); }

    int presses = 0;
    Point lastPos;

  protected:
    void OnLButtonDown(Point point) override {
        ++presses;
        lastPos = point;
    }
};

TEST(MouseCapture, ClicksElsewhereReachTheCapturingWindow) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    ClickCounter menu;
    QWidget* button = platform::window::qt::WidgetOf(main.GetDlgItem(res::IDC_MAIN_SHUT_DOWN));

    EXPECT_EQ(SetCapture(&menu), nullptr);
    EXPECT_EQ(GetCapture(), &menu);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(main.commands.empty());
    EXPECT_EQ(menu.presses, 1);
    const QPoint expected = WidgetOf(menu)->mapFromGlobal(button->mapToGlobal(QPoint(2, 2)));
    EXPECT_EQ(menu.lastPos, (Point{expected.x(), expected.y()}));

    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(main.commands.size(), 1u);
    EXPECT_EQ(main.commands[0].id, res::IDC_MAIN_SHUT_DOWN);
}

TEST(MouseCapture, EndsWithTheCapturingWindow) {
    auto holder = std::make_unique<ClickCounter>();
    SetCapture(holder.get());
    holder.reset();  // the window goes with its object
    EXPECT_EQ(GetCapture(), nullptr);
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(dialog.Create());
    QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_MAIN_SHUT_DOWN)),
                      Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(dialog.commands.size(), 1u);
    ReleaseCapture();
}

TEST(MouseCapture, ADialogDestroyedWhileCapturingReleasesIt) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(dialog.Create());
    SetCapture(&dialog);
    dialog.DestroyWindow();
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
