// Mouse capture: while a window holds it, clicks meant for other windows of
// the console reach it instead; releasing or destroying it ends that.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/window/mouse_capture.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

class ClickCounter : public QWidget {
  public:
    int presses = 0;
    QPoint lastPos;

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        lastPos = event->position().toPoint();
    }
};

TEST(MouseCapture, ClicksElsewhereReachTheCapturingWindow) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    ClickCounter menu;
    menu.setGeometry(500, 400, 50, 50);
    menu.show();
    QWidget* button = main.GetDlgItem(res::IDC_MAIN_SHUT_DOWN);

    EXPECT_EQ(SetCapture(&menu), nullptr);
    EXPECT_EQ(GetCapture(), &menu);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(main.commands.empty());
    EXPECT_EQ(menu.presses, 1);
    EXPECT_EQ(menu.lastPos, menu.mapFromGlobal(button->mapToGlobal(QPoint(2, 2))));

    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(main.commands.size(), 1u);
    EXPECT_EQ(main.commands[0].id, res::IDC_MAIN_SHUT_DOWN);
}

TEST(MouseCapture, EndsWithTheCapturingWindow) {
    auto holder = std::make_unique<ClickCounter>();
    SetCapture(holder.get());
    holder.reset();
    EXPECT_EQ(GetCapture(), nullptr);
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(dialog.Create());
    QTest::mouseClick(dialog.GetDlgItem(res::IDC_MAIN_SHUT_DOWN), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(dialog.commands.size(), 1u);
    ReleaseCapture();
}

TEST(MouseCapture, ADialogDestroyedWhileCapturingReleasesIt) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(dialog.Create());
    SetCapture(WidgetOf(dialog));
    dialog.DestroyWindow();
    EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
