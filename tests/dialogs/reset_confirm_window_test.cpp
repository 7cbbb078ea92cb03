// The reset question: how each way of closing it ends the run, and where it
// stands beside its owner.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/reset_confirm_window.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace dialogs_test;
using dialogs::CResetConfirmWindow;

TEST(ResetConfirmWindow, OnlyTheCheckMarkAndEnterConfirm) {
    CResetConfirmWindow question;
    EXPECT_EQ(RunModal(question,
                       [&] { Click(platform::window::qt::WidgetOf(question.GetDlgItem(IDOK))); }),
              IDOK);
    EXPECT_EQ(RunModal(question, [&] { QTest::keyClick(WidgetOf(question), Qt::Key_Return); }),
              IDOK);
    EXPECT_EQ(RunModal(question, [&] { QTest::keyClick(WidgetOf(question), Qt::Key_Escape); }),
              IDCANCEL);
    EXPECT_EQ(
        RunModal(question,
                 [&] { Click(platform::window::qt::WidgetOf(question.GetDlgItem(IDCANCEL))); }),
        IDCANCEL);
    EXPECT_EQ(RunModal(question, [&] { WidgetOf(question)->close(); }), IDCANCEL);
}

TEST(ResetConfirmWindow, StandsAtTheOwnersTopRightCornerOrWhereFirstPlacedWithoutOne) {
    Rect firstPlace;
    {
        CResetConfirmWindow ownerless;
        RunModal(ownerless, [&] {
            firstPlace = ownerless.GetWindowRect();
            ownerless.EndDialog(IDCANCEL);
        });
    }
    Dialog menu(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(menu.Create());
    menu.MoveTo(30, 40);
    menu.ShowWindow(SW_SHOW);
    CResetConfirmWindow question;
    question.SetOwnerReference(menu.Handle());
    Rect shownAt;
    RunModal(question, [&] {
        shownAt = question.GetWindowRect();
        question.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shownAt.left, menu.GetWindowRect().right);
    EXPECT_EQ(shownAt.top, 40);
    EXPECT_EQ(shownAt.Width(), firstPlace.Width());
    EXPECT_EQ(shownAt.Height(), firstPlace.Height());
    EXPECT_NE(shownAt, firstPlace);
}

}  // namespace
