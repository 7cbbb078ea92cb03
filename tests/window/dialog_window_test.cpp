// Modeless windows, the owner reference, controls replaced by custom
// classes in place, and the window operations the docking code uses.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/images.h"
#include "platform/window/qt/native.h"
#include "platform/window/static_control.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;
namespace {

using namespace window_test;

// Stand-ins for the skin's classes: a button that paints itself and a label
// that takes its template's text when it is handed the control.
class OwnButton : public ButtonControl {
  public:
    OwnButton() { SetPaintsItself(); }

  protected:
    void OnPaint(DeviceContext&) override {}
};

class OwnLabel : public Window {
  public:
    OwnLabel() { SetPaintsItself(); }
    std::string text;

  protected:
    void PreSubclassWindow() override { text = GetWindowText(); }
};

class MainLike : public RecordingDialog {
  public:
    MainLike() : RecordingDialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE)) {}
    OwnButton* configButton = nullptr;
    OwnLabel* message = nullptr;
    Window* beforeInit = nullptr;

  protected:
    void DoDataExchange(DataExchange& dx) override {
        DDX_Control(dx, res::IDC_MAIN_CONFIG_MENU, configButton);
        DDX_Control(dx, res::IDC_MAIN_MESSAGE, message);
    }
    bool OnInitDialog() override {
        beforeInit = configButton;
        return RecordingDialog::OnInitDialog();
    }
};

int StackIndex(QWidget* dialog, QWidget* control) {
    int index = 0;
    for (QObject* child : dialog->children()) {
        if (child == control) return index;
        if (qobject_cast<QWidget*>(child) != nullptr) ++index;
    }
    return -1;
}

TEST(DialogWindow, BoundControlsAreReplacedInPlaceBeforeInitialisation) {
    MainLike reference;
    ASSERT_TRUE(reference.Create());
    const std::uint32_t templateStyle = reference.GetDlgItem(res::IDC_MAIN_CONFIG_MENU)->GetStyle();
    reference.DestroyWindow();

    MainLike dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_NE(dialog.configButton, nullptr);
    EXPECT_EQ(dialog.beforeInit, dialog.configButton);
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_MAIN_CONFIG_MENU), dialog.configButton);
    EXPECT_EQ(dialog.configButton->GetDlgCtrlID(), res::IDC_MAIN_CONFIG_MENU);
    EXPECT_EQ(dialog.configButton->GetStyle(), templateStyle);
    EXPECT_EQ(dialog.configButton->GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);

    // Same place in the stacking order and the same rectangle as the
    // control it replaced.
    MainLike fresh;
    ASSERT_TRUE(fresh.Create());
    RecordingDialog unbound(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(unbound.Create());
    Window* original = unbound.GetDlgItem(res::IDC_MAIN_CONFIG_MENU);
    EXPECT_EQ(fresh.configButton->GetPlacement(), original->GetPlacement());
    EXPECT_EQ(StackIndex(WidgetOf(fresh), WidgetOf(fresh.configButton)),
              StackIndex(WidgetOf(unbound), WidgetOf(original)));
    EXPECT_EQ(StackIndex(WidgetOf(fresh), WidgetOf(fresh.message)),
              StackIndex(WidgetOf(unbound), platform::window::qt::WidgetOf(
                                                unbound.GetDlgItem(res::IDC_MAIN_MESSAGE))));

    // Its text came along as the window text.
    EXPECT_EQ(fresh.message->text, "R40 Management Console");
    EXPECT_EQ(fresh.message->GetWindowText(), "R40 Management Console");
}

TEST(DialogWindow, ReplacedButtonsStillReportClicks) {
    MainLike dialog;
    ASSERT_TRUE(dialog.Create());
    WidgetOf(dialog.configButton)->resize(40, 20);
    QTest::mouseClick(WidgetOf(dialog.configButton), Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0].id, res::IDC_MAIN_CONFIG_MENU);
    EXPECT_EQ(dialog.commands[0].code, BN_CLICKED);
}

TEST(DialogWindow, BindingsAreClearedWithTheWindow) {
    MainLike dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_NE(dialog.configButton, nullptr);
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.configButton, nullptr);
    EXPECT_EQ(dialog.message, nullptr);
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_MAIN_CONFIG_MENU), nullptr);
    ASSERT_TRUE(dialog.Create());
    EXPECT_NE(dialog.configButton, nullptr);
}

TEST(DialogWindow, AControlMayBeReplacedFromItsOwnClickHandler) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(dialog.Create());
    OwnButton* replacement = nullptr;
    dialog.MapCommand(res::IDC_MENU_RESET, BN_CLICKED, [&] {
        replacement = dialog.SubclassDlgItem<OwnButton>(res::IDC_MENU_RESET);
    });
    QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_MENU_RESET)),
                      Qt::LeftButton);
    ASSERT_NE(replacement, nullptr);
    EXPECT_EQ(dialog.GetDlgItem(res::IDC_MENU_RESET), replacement);
    Pump(10);
}

TEST(DialogWindow, ModelessVisibilityFollowsTheTemplate) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    EXPECT_TRUE(main.IsWindowVisible());
    RecordingDialog panel(res::FindDialogTemplate(res::IDD_STATUS_PANEL));
    ASSERT_TRUE(panel.Create(&main));
    EXPECT_FALSE(panel.IsWindowVisible());
    EXPECT_EQ(WidgetOf(panel)->parentWidget(), WidgetOf(main));
    EXPECT_TRUE(WidgetOf(panel)->isWindow());
    EXPECT_FALSE(panel.Create(&main));  // one window at a time
}

TEST(DialogWindow, OwnerReferenceFallsBackToTheParent) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    RecordingDialog menu(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(menu.Create(&main));
    EXPECT_EQ(menu.GetOwnerWindow(), &main);

    RecordingDialog other(res::FindDialogTemplate(res::IDD_STATUS_PANEL));
    ASSERT_TRUE(other.Create());
    menu.SetOwnerReference(other.Handle());
    EXPECT_EQ(menu.GetOwnerWindow(), &other);
    other.DestroyWindow();  // a dead owner reference is not followed
    EXPECT_EQ(menu.GetOwnerWindow(), &main);
}

TEST(DialogWindow, OwnedWindowsLoseTheirWindowWithTheOwnerButNotTheirObject) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    auto panel = std::make_unique<RecordingDialog>(res::FindDialogTemplate(res::IDD_STATUS_PANEL));
    ASSERT_TRUE(panel->Create(&main));
    main.DestroyWindow();
    EXPECT_FALSE(panel->HasWindow());
    panel.reset();  // the owner's pointer still owns a live object
}

TEST(DialogWindow, ShowMoveAndRectangles) {
    RecordingDialog main(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(main.Create());
    RecordingDialog panel(res::FindDialogTemplate(res::IDD_STATUS_PANEL));
    ASSERT_TRUE(panel.Create(&main));
    EXPECT_FALSE(panel.ShowWindow(SW_SHOW));
    EXPECT_TRUE(panel.IsWindowVisible());
    EXPECT_TRUE(panel.ShowWindow(SW_HIDE));
    EXPECT_FALSE(panel.IsWindowVisible());

    const Rect client = panel.GetClientRect();
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.Width(), WidgetOf(panel)->width());
    EXPECT_EQ(client.Height(), WidgetOf(panel)->height());

    // Docked under the main window: its top-left at the main window's
    // bottom-left corner, without a change of size.
    const Rect mainRect = main.GetWindowRect();
    panel.MoveTo(mainRect.left, mainRect.bottom);
    panel.ShowWindow(SW_SHOW);
    const Rect panelRect = panel.GetWindowRect();
    EXPECT_EQ(panelRect.left, mainRect.left);
    EXPECT_EQ(panelRect.top, mainRect.bottom);
    EXPECT_EQ(panelRect.Width(), client.Width());
    EXPECT_EQ(mainRect.bottom - mainRect.top, WidgetOf(main)->height());  // frameless: no frame
}

TEST(DialogWindow, MovesAreReportedAndShowingCallsTheHook) {
    class Watcher : public RecordingDialog {
      public:
        using RecordingDialog::RecordingDialog;
        std::vector<QPoint> moves;
        std::vector<bool> shows;

      protected:
        void OnMove(int x, int y) override { moves.emplace_back(x, y); }
        void OnShowWindow(bool show) override { shows.push_back(show); }
    };
    Watcher dialog(res::FindDialogTemplate(res::IDD_STATUS_PANEL));
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    dialog.MoveTo(123, 45);
    Pump(10);
    ASSERT_FALSE(dialog.moves.empty());
    EXPECT_EQ(dialog.moves.back(), QPoint(123, 45));
    dialog.ShowWindow(SW_HIDE);
    ASSERT_EQ(dialog.shows.size(), 2u);
    EXPECT_TRUE(dialog.shows[0]);
    EXPECT_FALSE(dialog.shows[1]);
}

TEST(DialogWindow, TopMostAndControlStacking) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_LOAD_SAVE));
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    dialog.SetTopMost(true);
    EXPECT_TRUE(WidgetOf(dialog)->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(dialog.IsWindowVisible());
    dialog.SetTopMost(false);
    EXPECT_FALSE(WidgetOf(dialog)->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(DialogWindow, ColoursGivenByTheDialogReachItsControls) {
    class Coloured : public RecordingDialog {
      public:
        using RecordingDialog::RecordingDialog;

      protected:
        void OnCtlColor(Window*, ControlColors& colors) override { colors.text = Rgb(204, 45, 48); }
    };
    Coloured dialog(res::FindDialogTemplate(res::IDD_VIDEO_PID));
    ASSERT_TRUE(dialog.Create());
    QWidget* label =
        platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_VIDEO_ADDRESS_LABEL));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(204, 45, 48));
    QWidget* port = platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_VIDEO_PORT));
    EXPECT_EQ(port->palette().color(QPalette::Text), QColor(204, 45, 48));
}

TEST(DialogWindow, DraggingTheSurfaceMovesTheWindow) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(dialog.Create());
    dialog.EnableDragFromClientArea(true);
    dialog.MoveTo(100, 100);
    // Pressed on the background picture, which lets the press through.
    QWidget* background =
        platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_MAIN_BACKGROUND));
    QTest::mousePress(background, Qt::LeftButton, {}, QPoint(150, 60));
    QMouseEvent move(QEvent::MouseMove, QPointF(190, 80),
                     QPointF(WidgetOf(dialog)->mapToGlobal(QPoint(190, 80))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(WidgetOf(dialog), &move);
    QTest::mouseRelease(WidgetOf(dialog), Qt::LeftButton, {}, QPoint(190, 80));
    EXPECT_EQ(WidgetOf(dialog)->pos(), QPoint(140, 120));
}

}  // namespace

namespace {

TEST(DialogWindow, CaptionlessWindowDrawsTheFrameItsStyleAsksForAboveItsControls) {
    // Template 166 asks for a modal frame: a raised edge three pixels wide,
    // drawn over the background picture that fills the whole client area.
    RecordingDialog framed(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    ASSERT_TRUE(framed.Create());
    framed.ShowWindow(SW_SHOW);
    const QImage image = WidgetOf(framed)->grab().toImage();
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    EXPECT_EQ(image.pixelColor(0, 0), QColor(227, 227, 227));
    EXPECT_EQ(image.pixelColor(right, 5), QColor(105, 105, 105));
    EXPECT_EQ(image.pixelColor(5, bottom), QColor(105, 105, 105));
    EXPECT_EQ(image.pixelColor(1, 5), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(right - 1, 5), QColor(160, 160, 160));
    const QImage picture = ToQPixmap(LoadBitmap(res::IDB_DIALOG_BACKGROUND)).toImage();
    EXPECT_EQ(image.pixelColor(3, 40), picture.pixelColor(3, 40));  // inside the frame
    // The frame takes nothing from the client area's size.
    EXPECT_EQ(framed.GetClientRect().Width(), WidgetOf(framed)->width());

    // A control made later (a skinned class put in place) stays beneath it.
    auto* later = new QWidget(WidgetOf(framed));
    later->setGeometry(WidgetOf(framed)->rect());
    later->setAutoFillBackground(true);
    QPalette blue = later->palette();
    blue.setColor(QPalette::Window, Qt::blue);
    later->setPalette(blue);
    later->show();
    const QImage covered = WidgetOf(framed)->grab().toImage();
    EXPECT_EQ(covered.pixelColor(0, 0), QColor(227, 227, 227));
    EXPECT_EQ(covered.pixelColor(3, 40), QColor(Qt::blue));

    // A pop-up without a frame style (template 149) shows its picture to the edge.
    RecordingDialog plain(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(plain.Create());
    plain.ShowWindow(SW_SHOW);
    EXPECT_EQ(WidgetOf(plain)->grab().toImage().pixelColor(0, 40),
              ToQPixmap(LoadBitmap(res::IDB_MENU_BACKGROUND)).toImage().pixelColor(0, 40));
}

}  // namespace
