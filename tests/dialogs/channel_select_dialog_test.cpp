// The channel dialog, operated with the keyboard and the mouse: the channel
// it starts with, the ends of 2 to 69, text that is no number, one message
// box per refused OK, and where it stands beside its owner.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "dialog_test_support.h"
#include "dialogs/channel_select_dialog.h"
#include "platform/window/message_box.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace dialogs_test;
using dialogs::CChannelSelectDlg;

QLineEdit* Edit(CChannelSelectDlg& dialog) {
    return qobject_cast<QLineEdit*>(
        platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CHANNEL_NUMBER)));
}

// What the edit box shows when the dialog starts with `start` (none: no
// start channel given), and the channel confirmed by Enter without a change.
std::pair<QString, std::int32_t> ShownAndConfirmed(std::optional<std::int32_t> start) {
    CChannelSelectDlg dialog;
    if (start) dialog.SetStartChannel(*start);
    QString shown;
    RunModal(dialog, [&] {
        shown = Edit(dialog)->text();
        QTest::keyClick(Edit(dialog), Qt::Key_Return);
    });
    std::int32_t channel = 0;
    if (!dialog.GetResult(channel)) channel = -1;
    return {shown, channel};
}

TEST(ChannelDialog, StartsWithTheGivenChannelOrFourOutsideTwoToSixtyNine) {
    using Shown = std::pair<QString, std::int32_t>;
    EXPECT_EQ(ShownAndConfirmed(std::nullopt), Shown("4", 4));
    EXPECT_EQ(ShownAndConfirmed(1), Shown("4", 4));
    EXPECT_EQ(ShownAndConfirmed(70), Shown("4", 4));
    EXPECT_EQ(ShownAndConfirmed(2), Shown("2", 2));
    EXPECT_EQ(ShownAndConfirmed(69), Shown("69", 69));
}

TEST(ChannelDialog, EntriesOutsideTheRangeOrWithoutANumberAreRefusedOnceEach) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CChannelSelectDlg dialog;
    std::vector<std::size_t> boxesAfterEachOk;
    bool selectedForCorrection = true;
    const int result = RunModal(dialog, [&] {
        for (const char* entry : {"1", "70", "abc", ""}) {
            Retype(Edit(dialog), QString::fromLatin1(entry));
            Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
            boxesAfterEachOk.push_back(service.MessageBoxes().size());
            selectedForCorrection = selectedForCorrection && dialog.IsModalRunning() &&
                                    WidgetOf(dialog)->focusWidget() == Edit(dialog) &&
                                    Edit(dialog)->selectedText() == Edit(dialog)->text();
        }
        Retype(Edit(dialog), QStringLiteral("007"));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(result, IDOK);
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
    EXPECT_EQ(channel, 7);
}

TEST(ChannelDialog, CancelAfterARefusedEntryIsUnconfirmed) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CChannelSelectDlg dialog;
    const int ended = RunModal(dialog, [&] {
        Retype(Edit(dialog), QStringLiteral("99"));
        QTest::keyClick(Edit(dialog), Qt::Key_Return);
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
    });
    EXPECT_EQ(ended, IDCANCEL);
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
