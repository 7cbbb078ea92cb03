// The load/save dialog operated with clicks and keys: choosing an operation
// leaves only its row, the file dialog's modes, OK and Cancel in every
// state, and an apply-all that stops at the file or network stage on files
// of every bad kind (no receiver is needed before the network stage).
#include <sys/stat.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>

#include "config/r40_settings_to_xml_doc.h"
#include "dialog_test_support.h"
#include "dialogs/load_save_configuration.h"
#include "platform/window/button_control.h"
#include "platform/window/file_dialog.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "skin/circle_progress.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace dialogs_test;
using dialogs::CLoadSaveConfiguration;
using State = CLoadSaveConfiguration::State;

const int BOXES[] = {res::IDC_FILE_SAVE_LAST_USED, res::IDC_FILE_FROM_STATUS,
                     res::IDC_FILE_LOAD_APPLY_ALL, res::IDC_FILE_LOAD_INDIVIDUALLY};
const int LABELS[] = {res::IDC_FILE_SAVE_LAST_USED_LABEL, res::IDC_FILE_FROM_STATUS_LABEL,
                      res::IDC_FILE_LOAD_APPLY_ALL_LABEL, res::IDC_FILE_LOAD_INDIVIDUALLY_LABEL};

QLineEdit* PathEdit(CLoadSaveConfiguration& d) {
    return qobject_cast<QLineEdit*>(
        platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_FILE_PATH)));
}

void Choose(CLoadSaveConfiguration& d, int box) {
    Click(platform::window::qt::WidgetOf(d.GetDlgItem(box)));
}

bool Shown(CLoadSaveConfiguration& d, int id) {
    return platform::window::qt::WidgetOf(d.GetDlgItem(id))->isVisible();
}

// Runs the apply of `path` to no receiver and returns the description once
// the apply has ended, and whether Enter and Escape meanwhile did nothing.
struct ApplyEnd {
    QString text;
    State state = State::Choosing;
    bool keysIgnoredWhileApplying = false;
    int result = STILL_RUNNING;
};

ApplyEnd ApplyToNoReceiver(const std::string& path) {
    CLoadSaveConfiguration d;
    ApplyEnd end;
    end.result = RunModal(d, [&] {
        Choose(d, res::IDC_FILE_LOAD_APPLY_ALL);
        Retype(PathEdit(d), QString::fromStdString(path));
        QTest::keyClick(PathEdit(d), Qt::Key_Return);
        QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
        end.keysIgnoredWhileApplying = d.IsModalRunning();
        if (!WaitUntil([&] { return d.CurrentState() == State::Failed && !d.Job()->applyStarted; },
                       5000))
            return;
        end.text = QString::fromStdString(d.DescriptionText());
        end.state = d.CurrentState();
        // A failed apply is never started again (Enter goes to the focused
        // X button, as on Win32: OK itself is asked here).
        auto job = d.Job();
        d.DispatchCommand(IDOK, BN_CLICKED);
        end.keysIgnoredWhileApplying = end.keysIgnoredWhileApplying && d.Job() == job;
        const auto still = d.GetDlgItemAs<skin::CMYCircleProgress>(res::IDC_FILE_PROGRESS)->Pos();
        WaitUntil([] { return false; }, 100);
        end.keysIgnoredWhileApplying =
            end.keysIgnoredWhileApplying && Shown(d, res::IDC_FILE_PROGRESS) &&
            d.GetDlgItemAs<skin::CMYCircleProgress>(res::IDC_FILE_PROGRESS)->Pos() == still &&
            Shown(d, IDCANCEL) && !Shown(d, IDOK);
        QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
    });
    return end;
}

TEST(LoadSaveDialog, ChoosingAnOperationLeavesOnlyItsRowAtTheTop) {
    const int operations[] = {dialogs::FILE_OP_SAVE_LAST_USED, dialogs::FILE_OP_FROM_STATUS,
                              dialogs::FILE_OP_LOAD_APPLY_ALL, dialogs::FILE_OP_LOAD_INDIVIDUALLY};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        CLoadSaveConfiguration d;
        RunModal(d, [&] {
            EXPECT_TRUE(d.ToolTip().HasTool(&d));
            for (int id : {IDOK, res::IDC_FILE_PATH, res::IDC_FILE_BROWSE,
                           res::IDC_FILE_DESCRIPTION, res::IDC_FILE_PROGRESS})
                EXPECT_FALSE(Shown(d, id)) << id;
            EXPECT_TRUE(Shown(d, IDCANCEL));
            const QPoint topBox = platform::window::qt::WidgetOf(d.GetDlgItem(BOXES[0]))->pos();
            const QPoint topLabel = platform::window::qt::WidgetOf(d.GetDlgItem(LABELS[0]))->pos();

            Choose(d, BOXES[row]);
            for (int other = 0; other < 4; ++other) {
                EXPECT_EQ(Shown(d, BOXES[other]), other == row);
                EXPECT_EQ(Shown(d, LABELS[other]), other == row);
            }
            EXPECT_EQ(platform::window::qt::WidgetOf(d.GetDlgItem(BOXES[row]))->pos(), topBox);
            EXPECT_EQ(platform::window::qt::WidgetOf(d.GetDlgItem(LABELS[row]))->pos(), topLabel);
            EXPECT_EQ(d.GetDlgItemAs<skin::CTransparentStatic>(res::IDC_FILE_HEADING)->Text(),
                      "Select File Name ");
            for (int id : {IDOK, IDCANCEL, res::IDC_FILE_PATH, res::IDC_FILE_BROWSE,
                           res::IDC_FILE_DESCRIPTION})
                EXPECT_TRUE(Shown(d, id)) << id;
            EXPECT_FALSE(d.ToolTip().HasTool(&d));
            // Pressing the box again keeps it checked and the choice as it was.
            Choose(d, BOXES[row]);
            EXPECT_TRUE(d.GetDlgItemAs<skin::CRedCheckBox>(BOXES[row])->IsChecked());
            d.DispatchCommand(BOXES[(row + 1) % 4], BN_CLICKED);
            EXPECT_EQ(d.GetOperation(), operations[row]);
            EXPECT_FALSE(Shown(d, BOXES[(row + 1) % 4]));
            // No path: OK cancels.
            Click(platform::window::qt::WidgetOf(d.GetDlgItem(IDOK)));
        });
        EXPECT_EQ(d.GetOperation(), operations[row]);
        EXPECT_TRUE(d.GetPath().empty());
    }
}

TEST(LoadSaveDialog, EnterWithoutAnOperationOrAPathCancels) {
    CLoadSaveConfiguration d;
    EXPECT_EQ(RunModal(d, [&] { QTest::keyClick(WidgetOf(d), Qt::Key_Return); }), IDCANCEL);
    EXPECT_EQ(d.GetOperation(), dialogs::FILE_OP_NONE);
}

TEST(LoadSaveDialog, BrowseOpensToLoadAndSavesWithAQuestion) {
    ScriptedDialogService files;
    ScopedDialogService installed(files);
    files.AnswerFileDialog("/tmp/a.xml");
    files.AnswerFileDialog(std::nullopt);
    files.AnswerFileDialog("/tmp/b.xml");
    CLoadSaveConfiguration load;
    QString afterCancel;
    WindowHandle loadWindow;
    EXPECT_EQ(
        RunModal(load,
                 [&] {
                     loadWindow = load.Handle();
                     Choose(load, res::IDC_FILE_LOAD_INDIVIDUALLY);
                     Click(platform::window::qt::WidgetOf(load.GetDlgItem(res::IDC_FILE_BROWSE)));
                     EXPECT_EQ(PathEdit(load)->text(), "/tmp/a.xml");
                     Click(platform::window::qt::WidgetOf(load.GetDlgItem(res::IDC_FILE_BROWSE)));
                     afterCancel = PathEdit(load)->text();
                     Click(platform::window::qt::WidgetOf(load.GetDlgItem(res::IDC_FILE_BROWSE)));
                     Click(platform::window::qt::WidgetOf(load.GetDlgItem(IDOK)));
                 }),
        IDOK);
    EXPECT_TRUE(afterCancel.isEmpty()) << "a cancelled file dialog empties the path";
    EXPECT_EQ(load.GetPath(), "/tmp/b.xml");

    CLoadSaveConfiguration save;
    EXPECT_EQ(
        RunModal(save,
                 [&] {
                     Choose(save, res::IDC_FILE_FROM_STATUS);
                     Click(platform::window::qt::WidgetOf(save.GetDlgItem(res::IDC_FILE_BROWSE)));
                     // A path typed by hand counts as well.
                     Retype(PathEdit(save), QStringLiteral("typed.xml"));
                     QTest::keyClick(PathEdit(save), Qt::Key_Return);
                 }),
        IDOK);
    EXPECT_EQ(save.GetPath(), "typed.xml");

    ASSERT_EQ(files.FileDialogs().size(), 4u);
    const FileDialogRequest& open = files.FileDialogs()[0];
    EXPECT_TRUE(open.open);
    EXPECT_EQ(open.filter, "Xml Configuration File(*.xml)|*.xml|All Files(*.*)|*.*||");
    EXPECT_EQ(open.defaultExtension, "xml");
    EXPECT_TRUE(open.fileName.empty());
    EXPECT_EQ(open.flags & (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST),
              OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    EXPECT_EQ(open.owner, loadWindow) << "the dialog owns the file dialog";
    EXPECT_TRUE(loadWindow);
    const FileDialogRequest& saveRequest = files.FileDialogs()[3];
    EXPECT_FALSE(saveRequest.open);
    EXPECT_EQ(saveRequest.flags & (OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST),
              OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
}

TEST(LoadSaveDialog, EscapeAndTheXButtonCancelBeforeAnApply) {
    for (bool key : {true, false}) {
        CLoadSaveConfiguration d;
        EXPECT_EQ(RunModal(d,
                           [&] {
                               Choose(d, res::IDC_FILE_SAVE_LAST_USED);
                               Retype(PathEdit(d), QStringLiteral("kept.xml"));
                               if (key)
                                   QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
                               else
                                   Click(platform::window::qt::WidgetOf(d.GetDlgItem(IDCANCEL)));
                           }),
                  IDCANCEL);
    }
}

TEST(LoadSaveDialog, FilesThatCannotBeLoadedStopTheApplyAtTheFileStage) {
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.xml").toStdString();
    const std::string pipe = dir.filePath("pipe.xml").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);  // reading it would wait for a writer
    const std::string huge = dir.filePath("huge.xml").toStdString();
    {
        std::ofstream out(huge);
        out << "<Device>";
        out << std::string(3 * 1024 * 1024, ' ');
        out << "<Channel>4</Channel></Device>";
    }
    const std::string fileText =
        "Failed to Load Configuration File \n Configuration File may be Invalid \n Click on the "
        "X button to close this window ";
    for (const std::string& path : {missing, pipe, huge, dir.path().toStdString()}) {
        SCOPED_TRACE(path);
        const ApplyEnd end = ApplyToNoReceiver(path);
        EXPECT_EQ(end.text.toStdString(), fileText);
        EXPECT_TRUE(end.keysIgnoredWhileApplying);
        EXPECT_EQ(end.result, IDCANCEL);
    }
}

TEST(LoadSaveDialog, AFileWithoutNetworkSettingsOrWithoutAReceiverStopsAtTheNetworkStage) {
    QTemporaryDir dir;
    const std::string channelOnly = dir.filePath("channel.xml").toStdString();
    const std::string complete = dir.filePath("complete.xml").toStdString();
    {
        CR40SettingsToXmlDoc file;
        ASSERT_EQ(file.OpenForWriting(channelOnly), OPEN_OK);
        ASSERT_TRUE(file.WriteChannel(14));
        const std::uint8_t address[4] = {10, 0, 0, 5};
        ASSERT_TRUE(file.WriteDeviceIP(address));  // four of the five settings missing
    }
    {
        CR40SettingsToXmlDoc file;
        ASSERT_EQ(file.OpenForWriting(complete), OPEN_OK);
        const std::uint8_t address[4] = {10, 0, 0, 5}, mask[4] = {255, 0, 0, 0};
        ASSERT_TRUE(file.WriteDeviceIP(address) && file.WriteDeviceSubNet(mask) &&
                    file.WriteDefaultGW(address) && file.WriteUnicastStatus(address) &&
                    file.WriteUseIGMP(true) && file.WriteChannel(14));
    }
    ApplyEnd end = ApplyToNoReceiver(channelOnly);
    EXPECT_EQ(end.text.toStdString(),
              "Can't Find Network Configuration in the file \n Configuration File may be Invalid "
              "\n Click on the X button to close this window ");
    EXPECT_TRUE(end.keysIgnoredWhileApplying);
    end = ApplyToNoReceiver(complete);
    EXPECT_EQ(end.text.toStdString(),
              "Failed to apply network configuration\n Further configuration isn't possible \n "
              "Click on the X button to close this window ");
    EXPECT_EQ(end.result, IDCANCEL);

    // A value no receiver can take (the read makes 255.255.255.255 of it)
    // stops the apply before anything is sent, and is named.
    const std::string broadcast = dir.filePath("broadcast.xml").toStdString();
    {
        std::ofstream(broadcast) << "<Device><DeviceIP>-1.-1.-1.-1</DeviceIP><DeviceSubNet>"
                                    "255.0.0.0</DeviceSubNet><DefaultGW>10.0.0.1</DefaultGW>"
                                    "<UnicastStatus>10.0.0.9</UnicastStatus><UseIGMP>No</UseIGMP>"
                                    "</Device>";
    }
    end = ApplyToNoReceiver(broadcast);
    EXPECT_EQ(end.text.toStdString(),
              "Invalid value in the file, nothing was sent: \n DeviceIP \"-1.-1.-1.-1\" \n Click "
              "on the X button to close this window ");
    EXPECT_EQ(end.result, IDCANCEL);
}

TEST(LoadSaveDialog, StandsOnTopOfTheConsoleAtItsTopLeftCorner) {
    Dialog console(res::FindDialogTemplate(res::IDD_MAIN_CONSOLE));
    ASSERT_TRUE(console.Create());
    console.MoveTo(120, 90);
    console.ShowWindow(SW_SHOW);
    CLoadSaveConfiguration d;
    d.SetOwnerReference(console.Handle());
    Rect shownAt;
    bool topMost = false;
    RunModal(d, [&] {
        shownAt = d.GetWindowRect();
        topMost = WidgetOf(d)->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(shownAt.left, 120);
    EXPECT_EQ(shownAt.top, 90);
    EXPECT_TRUE(topMost);
}

}  // namespace
