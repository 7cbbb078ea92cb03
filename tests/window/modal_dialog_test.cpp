// Modal runs: ended by the OK and Cancel buttons, by Enter and Escape, by
// closing; values refused with the framework's messages, answered by the
// scripted dialog service so that nothing waits for an operator.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "platform/window/button_control.h"
#include "platform/window/data_exchange.h"
#include "platform/window/edit_control.h"
#include "platform/window/message_box.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace window_test;

// The channel dialog's exchange: an integer from 2 to 69 in edit 1020.
class ChannelDialog : public RecordingDialog {
  public:
    ChannelDialog() : RecordingDialog(res::FindDialogTemplate(res::IDD_CHANNEL_SELECT)) {}
    int channel = 4;
    EditControl* edit = nullptr;
    // The edit's native control, which the keys and clicks go to.
    QLineEdit* Line() const { return qobject_cast<QLineEdit*>(WidgetOf(*edit)); }

  protected:
    void DoDataExchange(DataExchange& dx) override {
        DDX_Control(dx, res::IDC_CHANNEL_NUMBER, edit);
        DDX_Text(dx, res::IDC_CHANNEL_NUMBER, channel);
        DDV_MinMaxInt(dx, channel, 2, 69);
    }
};

// Runs `act` once the modal loop is running.
void WhenRunning(std::function<void()> act) {
    QTimer::singleShot(0, std::move(act));
}

TEST(ModalDialog, ButtonOneEndsWithIdOkAndButtonTwoWithIdCancel) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    WhenRunning([&] {
        QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.HasWindow());

    WhenRunning([&] {
        QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)),
                          Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.initCalls, 2);
}

TEST(ModalDialog, EnterEndsWithIdOkAndEscapeWithIdCancel) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    WhenRunning([&] { QTest::keyClick(WidgetOf(dialog), Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    WhenRunning([&] { QTest::keyClick(WidgetOf(dialog), Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    WhenRunning([&] { QTest::keyClick(WidgetOf(dialog), Qt::Key_Enter); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(ModalDialog, EnterAndEscapeInAnEditReachTheDialog) {
    ChannelDialog dialog;
    WhenRunning([&] {
        dialog.Line()->setFocus();
        QTest::keyClick(dialog.Line(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    WhenRunning([&] { QTest::keyClick(dialog.Line(), Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(ModalDialog, EnterOnAFocusedButtonPressesThatButton) {
    // As on Win32, a push button with the focus is the default one.
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    WhenRunning([&] {
        QWidget* add = platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CONTENT_ADD));
        add->setFocus();
        QTest::keyClick(add, Qt::Key_Return);
        dialog.EndDialog(42);
    });
    EXPECT_EQ(dialog.DoModal(), 42);
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.front().id, res::IDC_CONTENT_ADD);
    EXPECT_EQ(dialog.commands.front().code, BN_CLICKED);
}

TEST(ModalDialog, EnterInTheContentEntryConfirmsThroughTheDefaultButton) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONTENT_SELECT));
    WhenRunning([&] {
        QWidget* entry =
            platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CONTENT_PID_ENTRY));
        entry->setFocus();
        QTest::keyClicks(entry, QStringLiteral("481"));
        QTest::keyClick(entry, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_FALSE(dialog.commands.empty());
    EXPECT_EQ(dialog.commands.back().id, IDOK);
}

TEST(ModalDialog, EscapeDoesNothingWhileCancelIsDisabled) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    WhenRunning([&] {
        platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL))->setEnabled(false);
        QTest::keyClick(WidgetOf(dialog), Qt::Key_Escape);
        EXPECT_TRUE(dialog.IsModalRunning());
        dialog.EndDialog(7);
    });
    EXPECT_EQ(dialog.DoModal(), 7);
}

TEST(ModalDialog, ClosingTheWindowIsCancel) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    WhenRunning([&] { WidgetOf(dialog)->close(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(ModalDialog, EndDialogDuringInitialisationReturnsAtOnce) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    dialog.onInit = [&] { dialog.EndDialog(IDCANCEL); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(ModalDialog, WithoutTemplateFailsWithMinusOne) {
    RecordingDialog dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create());
}

TEST(ModalDialog, RefusedValueIsAnsweredByTheServiceAndTheDialogStaysOpen) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    ChannelDialog dialog;
    bool focusedAndSelected = false;
    WhenRunning([&] {
        dialog.Line()->setText(QStringLiteral("1"));
        QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)), Qt::LeftButton);
        // Refused: still running, the edit has the focus with its text selected.
        EXPECT_TRUE(dialog.IsModalRunning());
        focusedAndSelected = WidgetOf(dialog)->focusWidget() == dialog.Line() &&
                             dialog.Line()->selectedText() == "1";
        dialog.Line()->setText(QStringLiteral(""));
        QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)), Qt::LeftButton);
        EXPECT_TRUE(dialog.IsModalRunning());
        dialog.Line()->setText(QStringLiteral("007"));
        QTest::mouseClick(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.channel, 7);
    EXPECT_TRUE(focusedAndSelected);
    ASSERT_EQ(service.MessageBoxes().size(), 2u);
    EXPECT_EQ(service.MessageBoxes()[0].text, "Enter an integer between 2 and 69.");
    EXPECT_EQ(service.MessageBoxes()[0].type, MB_ICONEXCLAMATION);
    EXPECT_EQ(service.MessageBoxes()[0].caption, ApplicationName());
    EXPECT_EQ(service.MessageBoxes()[1].text, "Enter an integer.");
}

TEST(ModalDialog, StartValueIsWrittenIntoTheControlBeforeInitialisation) {
    ChannelDialog dialog;
    dialog.channel = 12;
    QString shown;
    dialog.onInit = [&] {
        shown = dialog.Line()->text();
        dialog.EndDialog(IDCANCEL);
    };
    dialog.DoModal();
    EXPECT_EQ(shown, "12");
    EXPECT_EQ(dialog.edit, nullptr);  // unbound with the window
    EXPECT_EQ(dialog.channel, 12);    // cancel keeps the member
}

TEST(ModalDialog, ABoxShownFromAHandlerIsAnsweredFromTheScript) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    service.AnswerMessageBox(IDNO);
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_RESET_CONFIRM));
    int answer = 0;
    dialog.MapCommand(IDOK, BN_CLICKED, [&] {
        answer = AfxMessageBox("Reset?", MB_YESNO | MB_ICONQUESTION);
        dialog.EndDialog(IDOK);
    });
    WhenRunning([&] { QTest::keyClick(WidgetOf(dialog), Qt::Key_Return); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(answer, IDNO);
    // Unscripted boxes take their first button.
    EXPECT_EQ(AfxMessageBox("again", MB_YESNO), IDYES);
    EXPECT_EQ(AfxMessageBox("ok"), IDOK);
    EXPECT_EQ(service.MessageBoxes().size(), 3u);
}

TEST(DataExchange, LeadingIntegerRules) {
    EXPECT_EQ(ParseLeadingInteger("007"), 7);
    EXPECT_EQ(ParseLeadingInteger(" 12x"), 12);
    EXPECT_EQ(ParseLeadingInteger("-5"), -5);
    EXPECT_EQ(ParseLeadingInteger("+69"), 69);
    EXPECT_EQ(ParseLeadingInteger(""), std::nullopt);
    EXPECT_EQ(ParseLeadingInteger("x1"), std::nullopt);
    EXPECT_EQ(ParseLeadingInteger("-"), std::nullopt);
    EXPECT_EQ(ParseLeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseLeadingInteger("-99999999999999999999"), -2147483647 - 1);
    // Digits of other scripts are not decimal digits here.
    EXPECT_EQ(ParseLeadingInteger("\u0663"), std::nullopt);
}

TEST(DataExchange, DecimalNumberRules) {
    // The whole text is one number with a point, whatever the desktop's
    // locale; blanks around it are allowed, nothing else.
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"1234.5", 1234.5}, {" 27.5 ", 27.5},        {"+3", 3.0},           {"-.5", -0.5},
        {"10.", 10.0},      {"1,5", std::nullopt},   {"1e3", std::nullopt}, {".", std::nullopt},
        {"", std::nullopt}, {"1.2.3", std::nullopt}, {"- 1", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseDecimalNumber(text), expected) << text;
}

}  // namespace
