// The channel dialog, operated with the keyboard and the mouse: the channel
// it starts with, the ends of 2 to 69, text that is no number, one message
// box per refused OK, and where it stands beside its owner.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "dialogs/channel_select_dialog.h"
#include "platform/window/edit_control.h"
#include "platform/window/message_box.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

namespace {

using namespace dialogs_test;
using dialogs::CChannelSelectDlg;

EditControl* Edit(CChannelSelectDlg& dialog) {
    return dialog.GetDlgItemAs<EditControl>(res::IDC_CHANNEL_NUMBER);
}

// What the edit box shows when the dialog starts with `start` (none: no
// start channel given).
QString ShownAtStart(std::optional<std::int32_t> start) {
    CChannelSelectDlg dialog;
    if (start) dialog.SetStartChannel(*start);
    QString shown;
    RunModal(dialog, [&] {
        shown = Edit(dialog)->text();
        QTest::keyClick(Edit(dialog), Qt::Key_Escape);
    });
    return shown;
}

TEST(ChannelDialog, StartsWithTheGivenChannelOrFourOutsideTwoToSixtyNine) {
    EXPECT_EQ(ShownAtStart(std::nullopt), "4");
    EXPECT_EQ(ShownAtStart(1), "4");
    EXPECT_EQ(ShownAtStart(70), "4");
    EXPECT_EQ(ShownAtStart(2), "2");
    EXPECT_EQ(ShownAtStart(69), "69");
}

TEST(ChannelDialog, UntouchedStartChannelIsConfirmedWithEnter) {
    CChannelSelectDlg dialog;
    dialog.SetStartChannel(23);
    EXPECT_EQ(RunModal(dialog, [&] { QTest::keyClick(Edit(dialog), Qt::Key_Return); }), IDOK);
    std::int32_t channel = 0;
    EXPECT_TRUE(dialog.GetResult(channel));
    EXPECT_EQ(channel, 23);
}

TEST(ChannelDialog, EntriesOutsideTheRangeOrWithoutANumberAreRefusedOnceEach) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CChannelSelectDlg dialog;
    std::vector<std::size_t> boxesAfterEachOk;
    bool selectedForCorrection = true;
    EXPECT_EQ(
        RunModal(dialog,
                 [&] {
                     for (const QString& entry : {QStringLiteral("1"), QStringLiteral("70"),
                                                  QStringLiteral("abc"), QStringLiteral("")}) {
                         Retype(Edit(dialog), entry);
                         Click(dialog.GetDlgItem(IDOK));
                         boxesAfterEachOk.push_back(service.MessageBoxes().size());
                         selectedForCorrection =
                             selectedForCorrection && dialog.IsModalRunning() &&
                             dialog.focusWidget() == Edit(dialog) &&
                             Edit(dialog)->selectedText() == Edit(dialog)->text();
                     }
                     Retype(Edit(dialog), QStringLiteral("69"));
                     Click(dialog.GetDlgItem(IDOK));
                 }),
        IDOK);
    EXPECT_EQ(boxesAfterEachOk, (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_TRUE(selectedForCorrection);
    ASSERT_EQ(service.MessageBoxes().size(), 4u);
    for (int i : {0, 1}) {
        EXPECT_EQ(service.MessageBoxes()[i].text, "Enter an integer between 2 and 69.");
        EXPECT_EQ(service.MessageBoxes()[i].type, MB_OK | MB_ICONEXCLAMATION);
        EXPECT_EQ(service.MessageBoxes()[i].caption, "R40 Management Console");
    }
    // Letters never reach a digits-only box: it stays empty.
    EXPECT_EQ(service.MessageBoxes()[2].text, "Enter an integer.");
    EXPECT_EQ(service.MessageBoxes()[3].text, "Enter an integer.");
    std::int32_t channel = 0;
    EXPECT_TRUE(dialog.GetResult(channel));
    EXPECT_EQ(channel, 69);
}

TEST(ChannelDialog, LowestChannelAndLeadingZeroesAreAccepted) {
    for (const auto& [typed, expected] :
         {std::pair{QStringLiteral("2"), 2}, std::pair{QStringLiteral("007"), 7}}) {
        ScriptedDialogService service;
        ScopedDialogService installed(service);
        CChannelSelectDlg dialog;
        EXPECT_EQ(RunModal(dialog,
                           [&] {
                               Retype(Edit(dialog), typed);
                               QTest::keyClick(Edit(dialog), Qt::Key_Enter);
                           }),
                  IDOK)
            << typed.toStdString();
        std::int32_t channel = 0;
        EXPECT_TRUE(dialog.GetResult(channel));
        EXPECT_EQ(channel, expected);
        EXPECT_TRUE(service.MessageBoxes().empty());
    }
}

TEST(ChannelDialog, CancelAfterARefusedEntryIsUnconfirmed) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CChannelSelectDlg dialog;
    EXPECT_EQ(RunModal(dialog,
                       [&] {
                           Retype(Edit(dialog), QStringLiteral("99"));
                           QTest::keyClick(Edit(dialog), Qt::Key_Return);
                           Click(dialog.GetDlgItem(IDCANCEL));
                       }),
              IDCANCEL);
    std::int32_t channel = -1;
    EXPECT_FALSE(dialog.GetResult(channel));
    EXPECT_EQ(service.MessageBoxes().size(), 1u);
}

TEST(ChannelDialog, StandsAtTheOwnersTopRightCorner) {
    Dialog menu(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(menu.Create());
    menu.MoveTo(200, 150);
    menu.ShowWindow(SW_SHOW);
    CChannelSelectDlg dialog;
    dialog.SetOwnerReference(menu.Handle());
    Rect shownAt;
    RunModal(dialog, [&] {
        shownAt = dialog.GetWindowRect();
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shownAt.left, menu.GetWindowRect().right);
    EXPECT_EQ(shownAt.top, 150);
}

}  // namespace
