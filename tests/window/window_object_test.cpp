// Window objects and their native windows: separate lives, each ending
// without harm to the other; the handlers a window overrides receive its
// paints and its mouse; a dialog's control made of a Window class keeps the
// template control's place and goes with the dialog's window.
#include <gtest/gtest.h>

#include <QImage>
#include <QPointer>
#include <QTest>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/data_exchange.h"
#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/styles.h"
#include "platform/window/window.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "tests/window/window_recorder.h"
#include "window_test_support.h"

namespace window_test {
namespace {

using qt::WidgetOf;

using window_checks::Recorder;
using window_checks::RECORDER_FILL;

TEST(WindowObject, ObjectAndNativeWindowEndApart) {
    struct Case {
        const char* name;
        // Ends one side; returns whether the object is still alive after.
        std::function<bool(Recorder*&, QPointer<QWidget>&)> end;
    };
    const Case cases[] = {
        {"the native window goes first",
         [](Recorder*&, QPointer<QWidget>& widget) {
             delete widget.data();
             return true;
         }},
        {"the object goes first",
         [](Recorder*& object, QPointer<QWidget>&) {
             delete object;
             object = nullptr;
             return false;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* object = new Recorder;
        EXPECT_EQ(object->Native(), nullptr);
        EXPECT_EQ(object->GetClientRect(), Rect{});  // no window: harmless
        EXPECT_FALSE(object->IsWindowVisible());
        ASSERT_TRUE(object->Create(WS_VISIBLE, Rect::FromSize(20, 30, 40, 25)));
        EXPECT_FALSE(object->Create(0, Rect{0, 0, 5, 5})) << "one window per object";
        QPointer<QWidget> widget = WidgetOf(*object);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(qt::WindowOf(widget), object);
        EXPECT_EQ(object->GetClientRect(), (Rect{0, 0, 40, 25}));
        EXPECT_TRUE(object->IsWindowVisible());

        const bool objectLives = c.end(object, widget);
        EXPECT_TRUE(widget.isNull()) << "the native window is gone either way";
        if (objectLives) {
            EXPECT_EQ(object->Native(), nullptr);
            object->SetWindowText("after");  // no window: nothing happens
            object->Invalidate();
            EXPECT_EQ(object->GetWindowText(), "");
            EXPECT_FALSE(object->ShowWindow(SW_SHOW));
            delete object;
        }
    }
}

TEST(WindowObject, HandlersReceiveThePaintsAndTheMouseOfTheirWindow) {
    Recorder painter;
    Recorder plain(false);
    ASSERT_TRUE(painter.Create(WS_VISIBLE, Rect{0, 0, 12, 8}));
    ASSERT_TRUE(plain.Create(0, Rect{0, 0, 12, 8}));
    const QImage painted = WidgetOf(painter)->grab().toImage();
    EXPECT_EQ(FromQColor(painted.pixelColor(0, 0)), RECORDER_FILL);
    EXPECT_EQ(FromQColor(painted.pixelColor(11, 7)), RECORDER_FILL);
    const QImage notPainted = WidgetOf(plain)->grab().toImage();
    EXPECT_NE(FromQColor(notPainted.pixelColor(5, 5)), RECORDER_FILL);
    EXPECT_EQ(std::count(painter.seen.begin(), painter.seen.end(), "paint 12"), 1);
    EXPECT_EQ(std::count(plain.seen.begin(), plain.seen.end(), "paint 12"), 0)
        << "the native control paints a window that does not paint itself";

    painter.seen.clear();
    QWidget* widget = WidgetOf(painter);
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(widget, QPoint(6, 5));
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(7, 2));
    QTest::mousePress(widget, Qt::RightButton, {}, QPoint(1, 1));  // not the left button
    painter.MoveWindow(Rect{0, 0, 30, 20});
    const std::vector<std::string> expected = {"down 3,4", "move 6,5", "up 7,2", "size 30x20"};
    EXPECT_EQ(painter.SeenBesidesPaints(), expected);
}

TEST(WindowObject, TheCursorIsTheWindowsOwnChosenBeforeOrAfterItsWindow) {
    Recorder early;
    early.SetCursor(CursorShape::Hand);
    ASSERT_TRUE(early.Create(0, Rect{0, 0, 5, 5}));
    EXPECT_EQ(WidgetOf(early)->cursor().shape(), Qt::PointingHandCursor);
    early.SetCursor(CursorShape::Wait);
    EXPECT_EQ(WidgetOf(early)->cursor().shape(), Qt::WaitCursor);
    early.SetCursor(CursorShape::Arrow);
    EXPECT_EQ(WidgetOf(early)->cursor().shape(), Qt::ArrowCursor);
}

// A dialog whose logo is a Window class put in the template's place.
class LogoDialog : public RecordingDialog {
  public:
    LogoDialog() : RecordingDialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE)) {}
    Recorder* logo = nullptr;

  protected:
    void DoDataExchange(DataExchange& dx) override { DDX_Control(dx, res::IDC_MAIN_LOGO, logo); }
};

TEST(WindowObject, AControlOfAWindowClassTakesThePlaceAndGoesWithTheDialog) {
    RecordingDialog reference(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(reference.Create());
    QWidget* original = platform::window::qt::WidgetOf(reference.GetDlgItem(res::IDC_MAIN_LOGO));
    ASSERT_NE(original, nullptr);

    LogoDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_NE(dialog.logo, nullptr);
    int destroyed = 0;
    dialog.logo->destroyed = &destroyed;
    EXPECT_EQ(dialog.GetDlgItemAs<Recorder>(res::IDC_MAIN_LOGO), dialog.logo);
    QWidget* logo = platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_MAIN_LOGO));
    EXPECT_EQ(qt::WindowOf(logo), dialog.logo);
    EXPECT_EQ(ControlId(logo), res::IDC_MAIN_LOGO);
    EXPECT_EQ(ControlStyle(logo), ControlStyle(original));
    EXPECT_EQ(logo->geometry(), original->geometry());
    EXPECT_EQ(logo->isHidden(), original->isHidden());
    EXPECT_EQ(WidgetOf(dialog)->children().indexOf(logo),
              WidgetOf(reference)->children().indexOf(original))
        << "the stacking position is kept";

    dialog.DestroyWindow();
    EXPECT_EQ(destroyed, 1) << "the object went with its window";
    EXPECT_EQ(dialog.logo, nullptr) << "the bound pointer was cleared";
}

}  // namespace
}  // namespace window_test
