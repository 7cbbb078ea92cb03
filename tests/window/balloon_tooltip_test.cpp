// Balloon tooltips: per-tool texts with line feeds, the title and colour,
// the relay that shows a tool's tip, the dialog's own tip where no control
// has one, a click that puts the tip away, and the show time.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "platform/window/balloon_tooltip.h"
#include "platform/window/geometry.h"
#include "platform/window/qt/balloon_tip_window.h"
#include "platform/window/qt/balloon_tooltip_native.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

const std::string STATUS_TIP =
    ("A copy of the device status will be sent to that unicast address \n Enter 255.255.255.255 "
     "to disable that feature");
const std::string DIALOG_TIP =
    ("Enter the network settings for the R40\n Click check mark to apply settings or 'X' to "
     "cancel \n Note: you have to close this dialog box before using the console further ");

// The network dialog with its tooltips, relaying as its Part says.
class NetworkLike : public RecordingDialog {
  public:
    NetworkLike() : RecordingDialog(res::FindDialogTemplate(res::IDD_NETWORK_CONFIG)) {}
    BalloonToolTip tips;

  protected:
    bool OnInitDialog() override {
        tips.Create(this, TTS_ALWAYSTIP | TTS_BALLOON);
        tips.SetTitle(TTI_INFO, "Network Configuration Dialog");
        tips.AddTool(GetDlgItem(res::IDC_NET_STATUS_ADDRESS), STATUS_TIP);
        tips.AddTool(GetDlgItem(IDCANCEL), "Discard the Settings and close this dialog box");
        tips.AddTool(this, DIALOG_TIP);
        tips.SetDelayTime(TTDT_AUTOPOP, 8000);
        tips.SetDelayTime(TTDT_RESHOW, 0);
        tips.SetDelayTime(TTDT_INITIAL, 0);
        tips.SetTipTextColor(Rgb(204, 48, 45));
        return true;
    }
    bool PreTranslateMessage(const InputMessage& message) override {
        tips.RelayEvent(message);
        return false;
    }
};

void MoveOver(QWidget* widget, QPoint at = QPoint(3, 3)) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void Click(QWidget* widget) {
    const QPointF at(3, 3);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

class TooltipTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
    }
    NetworkLike dialog;
};

TEST_F(TooltipTest, EachToolKeepsItsOwnText) {
    EXPECT_EQ(dialog.tips.GetToolCount(), 3);
    EXPECT_EQ(dialog.tips.GetText(dialog.GetDlgItem(res::IDC_NET_STATUS_ADDRESS)), STATUS_TIP);
    EXPECT_EQ(dialog.tips.GetText(&dialog), DIALOG_TIP);
    EXPECT_TRUE(dialog.tips.GetText(dialog.GetDlgItem(IDOK)).empty());
    dialog.tips.UpdateTipText("changed", dialog.GetDlgItem(IDCANCEL));
    EXPECT_EQ(dialog.tips.GetText(dialog.GetDlgItem(IDCANCEL)), "changed");
    EXPECT_EQ(dialog.tips.GetDelayTime(TTDT_AUTOPOP), 8000);
    EXPECT_EQ(dialog.tips.GetDelayTime(TTDT_RESHOW), 0);
}

TEST_F(TooltipTest, RestingOnAToolShowsItsTipWithTitleColourAndLines) {
    // The pointer rests on one of the address control's fields.
    auto* ip = platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_NET_STATUS_ADDRESS));
    QWidget* field = ip->findChild<QWidget*>();
    ASSERT_NE(field, nullptr);
    MoveOver(field);
    ASSERT_TRUE(WaitUntil([&] { return dialog.tips.IsTipShown(); }));
    BalloonTipWindow* tip = dialog.tips.GetNative().window.get();
    EXPECT_EQ(dialog.tips.CurrentTool(), dialog.GetDlgItem(res::IDC_NET_STATUS_ADDRESS));
    EXPECT_EQ(tip->Title(), "Network Configuration Dialog");
    EXPECT_EQ(tip->Icon(), TTI_INFO);
    EXPECT_EQ(tip->TextColor(), QColor(204, 48, 45));
    ASSERT_EQ(tip->Lines().size(), 2);
    EXPECT_EQ(tip->Lines()[1], " Enter 255.255.255.255 to disable that feature");
    EXPECT_TRUE(tip->grab().toImage().save(RenderDir() + QStringLiteral("/balloon_tooltip.png")));

    // Its pixels carry the tip's colour.
    const QImage image = tip->grab().toImage();
    bool coloured = false;
    for (int y = 0; y < image.height() && !coloured; ++y)
        for (int x = 0; x < image.width() && !coloured; ++x)
            coloured = image.pixelColor(x, y) == QColor(204, 48, 45);
    EXPECT_TRUE(coloured);
}

TEST_F(TooltipTest, LabelsAndPicturesShowTheDialogsOwnTip) {
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_NET_RECEIVER_LABEL)));
    ASSERT_TRUE(WaitUntil([&] { return dialog.tips.IsTipShown(); }));
    EXPECT_EQ(dialog.tips.CurrentTool(), &dialog);
    EXPECT_EQ(dialog.tips.GetNative().window->Text().toStdString(), DIALOG_TIP);
    EXPECT_EQ(dialog.tips.GetNative().window.get()->Lines().size(), 3);
}

TEST_F(TooltipTest, AControlWithoutToolShowsNothing) {
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    Pump(50);
    EXPECT_FALSE(dialog.tips.IsTipShown());
    EXPECT_EQ(dialog.tips.CurrentTool(), nullptr);
}

TEST_F(TooltipTest, AClickPutsTheTipAwayUntilAnotherTool) {
    QWidget* cancel = platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL));
    MoveOver(cancel);
    ASSERT_TRUE(WaitUntil([&] { return dialog.tips.IsTipShown(); }));
    Click(cancel);
    EXPECT_FALSE(dialog.tips.IsTipShown());
    MoveOver(cancel, QPoint(4, 4));
    Pump(50);
    EXPECT_FALSE(dialog.tips.IsTipShown());
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_NET_IGMP_LABEL)));
    EXPECT_TRUE(WaitUntil([&] { return dialog.tips.IsTipShown(); }));
    EXPECT_EQ(dialog.tips.CurrentTool(), &dialog);
}

TEST_F(TooltipTest, RemovedToolShowsNoMore) {
    dialog.tips.DelTool(&dialog);
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_NET_RECEIVER_LABEL)));
    Pump(50);
    EXPECT_FALSE(dialog.tips.IsTipShown());
    EXPECT_EQ(dialog.tips.GetToolCount(), 2);
}

TEST_F(TooltipTest, TheTipGoesAfterItsShowTime) {
    dialog.tips.SetDelayTime(TTDT_AUTOPOP, 30);
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
    ASSERT_TRUE(WaitUntil([&] { return dialog.tips.IsTipShown(); }));
    EXPECT_TRUE(WaitUntil([&] { return !dialog.tips.IsTipShown(); }));
}

TEST_F(TooltipTest, AnInactiveTooltipShowsNothing) {
    dialog.tips.Activate(false);
    MoveOver(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
    Pump(50);
    EXPECT_FALSE(dialog.tips.IsTipShown());
}

TEST(TooltipDelays, AutomaticSetsAllThreeAndNegativeRestoresDefaults) {
    BalloonToolTip tips;
    tips.SetDelayTime(TTDT_AUTOMATIC, 400);
    EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), 400);
    EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), 4000);
    EXPECT_EQ(tips.GetDelayTime(TTDT_RESHOW), 80);
    tips.SetDelayTime(TTDT_AUTOPOP, -1);
    EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), 5000);
    EXPECT_FALSE(tips.AddTool(nullptr, "x"));
}

}  // namespace
