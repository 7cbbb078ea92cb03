// The file operations against emulated receivers, the load/save dialog
// operated from inside its modal run: a whole file applied stage by stage,
// files that stop part way, receivers that stop answering, the last-used
// file saved, files created from a receiver's status, and what stays put
// while the dialog is open.
#include <gtest/gtest.h>

#include "config/r40_settings_to_xml_doc.h"
#include "console/config_sub_menue.h"
#include "dialogs/load_save_configuration.h"
#include "platform/window/qt/native.h"
#include "skin/circle_progress.h"
#include "tests/console/console_fixture.h"

using platform::window::qt::WidgetOf;

namespace console_test {
namespace {

using dialogs::CLoadSaveConfiguration;

const QString NETWORK_APPLIED = "Network Configuration Applied Successfully ";
const QString CHANNEL_APPLIED = "Channel Configuration Applied Successfully ";
const QString CONTENT_APPLIED = "Content Configuration Applied Successfully ";
const QString SENDING = "Sending Network Configuration \n Please Wait ... ";

struct Shown {
    QString text;
    qint64 atMs;
    bool polling;
    std::uint32_t progress;  // the indicator's position then
};

class FileOperations : public ConsoleInWorkDir {
  protected:
    void Online(const std::string& address) {
        Select(address);
        ASSERT_TRUE(WaitForOnline());
    }

    // Presses the file button; `act` runs inside the dialog's modal run. A
    // dialog still open after 40 s is closed and the test fails.
    void OperateDialog(const std::function<void(CLoadSaveConfiguration&)>& act) {
        bool opened = false;
        WhenDialogOpens(res::IDD_LOAD_SAVE, [&](window::Dialog& d) {
            opened = true;
            act(static_cast<CLoadSaveConfiguration&>(d));
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            if (CLoadSaveConfiguration* open = dialog->FileDialog()) {
                ADD_FAILURE() << "the load/save dialog was left open";
                open->Close();
            }
        });
        watchdog.start(40000);
        Press(res::IDC_MAIN_FILE_OPERATIONS);
        EXPECT_TRUE(opened);
    }

    static void ChooseAndConfirm(CLoadSaveConfiguration& d, int box, const std::string& path) {
        QTest::mouseClick(platform::window::qt::WidgetOf(d.GetDlgItem(box)), Qt::LeftButton);
        TypeInto(d, res::IDC_FILE_PATH, QString::fromStdString(path));
        QTest::keyClick(platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_FILE_PATH)),
                        Qt::Key_Return);
    }

    void Operate(int box, const std::string& path) {
        OperateDialog([&](CLoadSaveConfiguration& d) { ChooseAndConfirm(d, box, path); });
    }

    // Loads and applies `path`; returns every description the dialog showed,
    // in turn, up to its end. `onText` sees each new one inside the run.
    std::vector<Shown> ApplyAll(
        const std::string& path,
        const std::function<void(CLoadSaveConfiguration&, const QString&)>& onText = {}) {
        std::vector<Shown> shown;
        QElapsedTimer clock;
        QTimer recorder;
        recorder.setInterval(2);
        QObject::connect(&recorder, &QTimer::timeout, [&] {
            CLoadSaveConfiguration* d = dialog->FileDialog();
            if (d == nullptr || d->CurrentState() == CLoadSaveConfiguration::State::Chosen) return;
            const QString text = QString::fromStdString(d->DescriptionText());
            if (shown.empty() || shown.back().text != text) {
                const auto* progress =
                    d->GetDlgItemAs<skin::CMYCircleProgress>(res::IDC_FILE_PROGRESS);
                shown.push_back({text, clock.elapsed(), dialog->PollingEnabled(), progress->Pos()});
                if (onText) onText(*d, text);
            }
        });
        OperateDialog([&](CLoadSaveConfiguration& d) {
            clock.start();
            recorder.start();
            ChooseAndConfirm(d, res::IDC_FILE_LOAD_APPLY_ALL, path);
        });
        shown.push_back({QStringLiteral("(closed)"), clock.elapsed(), dialog->PollingEnabled(), 0});
        return shown;
    }

    // Milliseconds from the text's first showing to the dialog's end.
    static qint64 ShownBeforeTheEnd(const std::vector<Shown>& shown, const QString& text) {
        for (const Shown& s : shown)
            if (s.text == text) return shown.back().atMs - s.atMs;
        return -1;
    }

    static std::vector<QString> Texts(const std::vector<Shown>& shown) {
        std::vector<QString> texts;
        for (const Shown& s : shown) texts.push_back(s.text);
        return texts;
    }

    // A configuration file as the console writes them.
    static void WriteFile(const std::string& path, bool network, std::int32_t channel,
                          const TrevanPidListRecord* pids) {
        CR40SettingsToXmlDoc file;
        ASSERT_EQ(file.OpenForWriting(path), OPEN_OK);
        if (network) {
            const std::uint8_t address[4] = {127, 0, 0, 41}, mask[4] = {255, 0, 0, 0},
                               gateway[4] = {127, 0, 0, 1}, none[4] = {255, 255, 255, 255};
            ASSERT_TRUE(file.WriteDeviceIP(address) && file.WriteDeviceSubNet(mask) &&
                        file.WriteDefaultGW(gateway) && file.WriteUnicastStatus(none) &&
                        file.WriteUseIGMP(true));
        }
        ASSERT_TRUE(file.WriteChannel(channel));
        if (pids != nullptr) {
            ASSERT_TRUE(file.WritePIDListWithDestinations(*pids));
        }
    }

    static TrevanPidListRecord TwoPids() {
        TrevanPidListRecord list{};
        for (auto& pid : list.pid) pid = NULL_PID;
        list.pid[0] = 481;
        list.control[0] = 0;
        list.destination[0] = PidDestination{{127, 0, 0, 9}, 5000};
        list.pid[1] = 600;
        list.control[1] = 1;
        list.count = 2;
        return list;
    }
};

TEST_F(FileOperations, ACompleteFileReachesAnR40VStageByStageAndBecomesTheLastUsed) {
    Online("127.0.0.21");
    const TrevanPidListRecord pids = TwoPids();
    const std::string path = InWorkDir("studio.xml");
    WriteFile(path, true, 44, &pids);
    // Loaded for the menu first, so that the apply's end is seen to undo it.
    Operate(res::IDC_FILE_LOAD_INDIVIDUALLY, path);
    ASSERT_TRUE(dialog->ConfigFileChosen());
    EXPECT_EQ(dialog->MessageText(), "Configuration File Loaded \n studio.xml");

    const std::vector<Shown> shown = ApplyAll(path);
    ASSERT_EQ(Texts(shown), (std::vector<QString>{SENDING, NETWORK_APPLIED, CHANNEL_APPLIED,
                                                  CONTENT_APPLIED, "(closed)"}));
    for (std::size_t i = 0; i + 1 < shown.size(); ++i)
        EXPECT_FALSE(shown[i].polling) << "polling goes on while the dialog runs";
    // The indicator starts again after the network and the channel stage
    // (it advances 2 of 100 every 20 ms).
    EXPECT_LE(shown[1].progress, 10u);
    EXPECT_LE(shown[2].progress, 10u);
    EXPECT_TRUE(dialog->PollingEnabled());
    EXPECT_GE(ShownBeforeTheEnd(shown, CONTENT_APPLIED), 1500) << "it closes 2 s after the last";

    EXPECT_EQ(r40v->Address(), (sim::Ipv4{127, 0, 0, 41}));
    EXPECT_EQ(r40v->StatusDestinationPort(), dialog->StatusPort());
    EXPECT_EQ(r40v->Channel(), 44);
    const std::vector<sim::PidEntry> entries = r40v->PidEntries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].Pid(), 481);
    EXPECT_EQ(entries[0].destination, (sim::Ipv4{127, 0, 0, 9}));
    EXPECT_EQ(entries[0].port, 5000);
    EXPECT_EQ(entries[1].Pid(), 600);
    EXPECT_EQ(FileText(LAST_USED_CONFIG_FILE), FileText(path));
    // Ended with IDOK: the menu goes back to the last-used file.
    EXPECT_FALSE(dialog->ConfigFileChosen());
    Press(res::IDC_MAIN_CONFIG_MENU);
    ASSERT_NE(dialog->ConfigMenu(), nullptr);
    EXPECT_EQ(dialog->ConfigMenu()->ConfigSource(), LAST_USED_CONFIG_FILE);
}

TEST_F(FileOperations, AFileWithChannelSeventyStillAppliesItsPidListToAnR40) {
    Online("127.0.0.20");
    const TrevanPidListRecord pids = TwoPids();
    const std::string path = InWorkDir("channel70.xml");
    WriteFile(path, true, 70, &pids);
    const std::vector<Shown> shown = ApplyAll(path);
    // The channel's text follows the network's at once: no pause comes first.
    std::vector<QString> texts = Texts(shown);
    std::erase(texts, NETWORK_APPLIED);
    EXPECT_EQ(texts, (std::vector<QString>{SENDING,
                                           "Can't Find Channel Configuration in the file \n "
                                           "Configuration File may be Invalid ",
                                           CONTENT_APPLIED, "(closed)"}));
    EXPECT_GE(ShownBeforeTheEnd(shown, CONTENT_APPLIED), 1500);
    EXPECT_EQ(r40->Address(), (sim::Ipv4{127, 0, 0, 41}));
    EXPECT_NE(r40->Channel(), 70);
    // The R40 takes the standard form: both PIDs, neither forwarded.
    const std::vector<sim::PidEntry> entries = r40->PidEntries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].Pid(), 481);
    EXPECT_EQ(entries[1].Pid(), 600);
    EXPECT_TRUE(QFile::exists(LAST_USED_CONFIG_FILE));
}

TEST_F(FileOperations, AFileWithoutNetworkSettingsStopsThereAndEscapeThenCloses) {
    Online("127.0.0.20");
    const TrevanPidListRecord pids = TwoPids();
    const std::string path = InWorkDir("no-network.xml");
    WriteFile(path, false, 44, &pids);
    r40->ClearCommands();
    const QString stopped =
        "Can't Find Network Configuration in the file \n Configuration File may be Invalid \n "
        "Click on the X button to close this window ";
    const std::vector<Shown> shown =
        ApplyAll(path, [&](CLoadSaveConfiguration& d, const QString& text) {
            if (text != stopped) return;
            ASSERT_TRUE(WaitUntil([&] { return !d.Job()->applyStarted; }, 2000));
            QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
        });
    // The stop may come before the first text was seen.
    std::vector<QString> texts = Texts(shown);
    std::erase(texts, SENDING);
    EXPECT_EQ(texts, (std::vector<QString>{stopped, "(closed)"}));
    EXPECT_TRUE(r40->Commands().empty());
    EXPECT_NE(r40->Channel(), 44);
    EXPECT_FALSE(QFile::exists(LAST_USED_CONFIG_FILE));
}

TEST_F(FileOperations, AReceiverThatStopsAnsweringGivesTheFailureTexts) {
    Online("127.0.0.20");
    const TrevanPidListRecord pids = TwoPids();
    const std::string path = InWorkDir("full.xml");
    WriteFile(path, true, 44, &pids);
    bool escapeIgnored = false;
    const std::vector<Shown> shown =
        ApplyAll(path, [&](CLoadSaveConfiguration& d, const QString& text) {
            if (text != NETWORK_APPLIED) return;
            r40->SetFault(sim::Fault::NoEcho, true);
            r40->SetFault(sim::Fault::IgnoreCommands, true);
            QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
            escapeIgnored = d.IsModalRunning();
        });
    EXPECT_EQ(Texts(shown),
              (std::vector<QString>{
                  SENDING, NETWORK_APPLIED,
                  "Failed to apply channel configuration\n The device's network configuration may "
                  "make it unreachable. \n Please review the network configuration",
                  "Failed to apply Content configuration\n The device's network configuration may "
                  "make it unreachable. \n Please review the network configuration",
                  "(closed)"}));
    EXPECT_TRUE(escapeIgnored);
    EXPECT_EQ(r40->Address(), (sim::Ipv4{127, 0, 0, 41})) << "what applied stays applied";
    EXPECT_FALSE(QFile::exists(LAST_USED_CONFIG_FILE));
}

// A file made from the R40V, applied to the R40: the R40 keeps its own
// address (said in the dialog) and takes the channel and the PID list; the
// file does not become the R40's last-used configuration.
TEST_F(FileOperations, AnotherReceiversFileKeepsItsAddressToItself) {
    Online("127.0.0.20");
    const TrevanPidListRecord pids = TwoPids();
    const std::string path = InWorkDir("r40v.xml");
    WriteFile(path, true, 44, &pids);
    {
        CR40SettingsToXmlDoc file;
        ASSERT_EQ(file.OpenForWriting(path), OPEN_OK);
        ASSERT_TRUE(file.WriteMACBytes(std::array<std::uint8_t, 3>{0x00, 0x00, 0x15}));
    }
    // Nothing is sent first: the skip may come before the first text was seen.
    std::vector<QString> texts = Texts(ApplyAll(path));
    std::erase(texts, SENDING);
    EXPECT_EQ(texts,
              (std::vector<QString>{
                  "Network Configuration Not Applied \n The file was made from receiver 00-00-15",
                  CHANNEL_APPLIED, CONTENT_APPLIED, "(closed)"}));
    EXPECT_EQ(r40->Address(), (sim::Ipv4{127, 0, 0, 20}));
    EXPECT_TRUE(r40->CommandsOnPort(sim::NETWORK_PORT).empty());
    EXPECT_EQ(r40->Channel(), 44);
    EXPECT_EQ(r40->PidEntries()[0].Pid(), 481);
    EXPECT_FALSE(QFile::exists(LAST_USED_CONFIG_FILE));
}

// A box the menu shows goes when the menu goes, so the console's shut-down
// never waits for an operator to close it.
TEST_F(FileOperations, TheMenusMessageBoxGoesWithTheMenu) {
    Online("127.0.0.20");
    const std::string path = InWorkDir("no-pids.xml");
    WriteFile(path, true, 44, nullptr);
    Operate(res::IDC_FILE_LOAD_INDIVIDUALLY, path);
    ASSERT_TRUE(dialog->ConfigFileChosen());
    Press(res::IDC_MAIN_CONFIG_MENU);
    ASSERT_NE(dialog->ConfigMenu(), nullptr);

    // The real box: from inside its modal run, the main window shuts down.
    bool boxSeen = false;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr ||
            dynamic_cast<window::Dialog*>(platform::window::qt::WindowOf(modal)) != nullptr)
            return;
        closer.stop();
        boxSeen = true;
        Shut();
    });
    QTimer rescue;  // a box left open is closed, and the test fails
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "the box outlived the menu";
            modal->close();
        }
    });
    closer.start();
    rescue.start(10000);
    dialog->ConfigMenu()->DispatchCommand(res::IDC_MENU_CONTENT, window::BN_CLICKED);
    EXPECT_TRUE(boxSeen);
    EXPECT_TRUE(dialog->ShutDownDone());
    EXPECT_EQ(dialog->ConfigMenu(), nullptr);
}

TEST_F(FileOperations, LoadingAndSavingRememberTheFileWhateverHappens) {
    Online("127.0.0.20");
    // Operation 1 on a file that is not there: said so, the file still chosen.
    Operate(res::IDC_FILE_LOAD_INDIVIDUALLY, InWorkDir("absent.xml"));
    EXPECT_EQ(dialog->MessageText(),
              "Failed To Load Configuration File \n File doesn't Exist or Invalid Configuration "
              "File");
    EXPECT_EQ(dialog->ConfigFile(), InWorkDir("absent.xml"));
    EXPECT_TRUE(dialog->ConfigFileChosen());

    // Operation 2 before anything was applied.
    const std::string copy = InWorkDir("copy.xml");
    Operate(res::IDC_FILE_SAVE_LAST_USED, copy);
    const std::string noLastUsed =
        "Can't find Last used settings \n Please configure the device first before saving the "
        "Configuration";
    EXPECT_EQ(dialog->MessageText(), noLastUsed);
    EXPECT_EQ(dialog->ConfigFile(), copy);
    // The status poll does not take the line back at once.
    Pump(1500);
    EXPECT_EQ(dialog->MessageText(), noLastUsed);

    WriteFile(LAST_USED_CONFIG_FILE, true, 12, nullptr);
    Operate(res::IDC_FILE_SAVE_LAST_USED, copy);
    EXPECT_EQ(FileText(copy), FileText(LAST_USED_CONFIG_FILE));
    EXPECT_EQ(dialog->MessageText(), "Last Used Configuration Saved to File \n copy.xml");
    // The line names the file, not its folder, and a name outside ASCII
    // reaches the label on the screen as it was chosen.
    const std::string named = InWorkDir("Studio \xC3\x9C \xE2\x82\xAC.xml");
    Operate(res::IDC_FILE_SAVE_LAST_USED, named);
    EXPECT_EQ(FileText(named), FileText(LAST_USED_CONFIG_FILE));
    const std::string savedNamed =
        "Last Used Configuration Saved to File \n Studio \xC3\x9C \xE2\x82\xAC.xml";
    EXPECT_EQ(dialog->MessageText(), savedNamed);
    auto* line = dialog->GetDlgItemAs<skin::CTransparentStatic>(res::IDC_MAIN_MESSAGE);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Text(), savedNamed);

    // A target that cannot be written: a directory.
    Operate(res::IDC_FILE_SAVE_LAST_USED, m_workDir.path().toStdString());
    EXPECT_EQ(dialog->MessageText(),
              "Can't Create New File \n Make sure there is enough disk space, and the file name "
              "is valid");

    // The menu opened now starts its dialogs from the remembered file.
    Press(res::IDC_MAIN_CONFIG_MENU);
    ASSERT_NE(dialog->ConfigMenu(), nullptr);
    EXPECT_EQ(dialog->ConfigMenu()->ConfigSource(), m_workDir.path().toStdString());
}

TEST_F(FileOperations, AFileFromAnR40sStatusKeepsWhatElseTheFileHeld) {
    r40->SetChannel(23);
    r40->SetPidEntries(
        std::vector<sim::PidEntry>{sim::PidEntry::Make(0x31, 1), sim::PidEntry::Make(2000, 1)});
    Online("127.0.0.20");
    ASSERT_TRUE(WaitUntil([&] { return dialog->LastStatus() != nullptr; }, 3000));
    const std::string path = InWorkDir("from-status.xml");
    std::ofstream(path) << "<Device><Site>Studio B</Site><Channel>9</Channel></Device>\n";
    Operate(res::IDC_FILE_FROM_STATUS, path);
    ASSERT_TRUE(WaitUntil([&] { return !dialog->StatusFileRunning(); }, 10000));
    Pump(50);  // the worker's report
    EXPECT_EQ(dialog->MessageText(),
              "Configuration File Created From The Device Status \n from-status.xml");
    EXPECT_EQ(dialog->ConfigFile(), path);
    const std::string text = FileText(path);
    EXPECT_NE(text.find("<Site>Studio B</Site>"), std::string::npos) << text;
    EXPECT_NE(text.find("MACByte0=\"20\""), std::string::npos) << text;
    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(path));
    std::int32_t channel = 0;
    EXPECT_TRUE(file.ReadChannel(channel));
    EXPECT_EQ(channel, 23);
    std::array<std::uint8_t, 4> address{};
    EXPECT_TRUE(file.ReadDeviceIP(address));
    EXPECT_EQ(address, (std::array<std::uint8_t, 4>{127, 0, 0, 20}));
    PidListRecord list{};
    ASSERT_TRUE(file.ReadPIDList(list));
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(list.pid[0], 0x31);
    EXPECT_EQ(list.pid[1], 2000);
    EXPECT_EQ(text.find("Destination_IP"), std::string::npos) << "the R40 has no destinations";

    // A receiver that does not answer the PID table read leaves the file alone.
    r40->SetFault(sim::Fault::NoEcho, true);
    const std::string before = FileText(path);
    Operate(res::IDC_FILE_FROM_STATUS, path);
    EXPECT_TRUE(dialog->StatusFileRunning());
    ASSERT_TRUE(WaitUntil([&] { return !dialog->StatusFileRunning(); }, 20000));
    Pump(50);
    EXPECT_EQ(dialog->MessageText(),
              "Can't Create New File \n The selected receiver did not send its PID list");
    EXPECT_EQ(FileText(path), before);
}

TEST_F(FileOperations, AFileFromAnR40VsStatusHasTheDestinationsAndBadTargetsAreRefused) {
    r40v->SetPidEntries(
        std::vector<sim::PidEntry>{sim::PidEntry::Make(481, 0, {127, 0, 0, 9}, 1234)});
    Online("127.0.0.21");
    ASSERT_TRUE(WaitUntil([&] { return dialog->LastStatus() != nullptr; }, 3000));
    const std::string path = InWorkDir("r40v.xml");
    Operate(res::IDC_FILE_FROM_STATUS, path);
    ASSERT_TRUE(WaitUntil([&] { return !dialog->StatusFileRunning(); }, 10000));
    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(path));
    TrevanPidListRecord list{};
    ASSERT_TRUE(file.ReadPIDListWithDestinations(list));
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.pid[0], 481);
    EXPECT_EQ(list.destination[0].port, 1234);

    for (const std::string& bad :
         {m_workDir.filePath("no/such/dir.xml").toStdString(), m_workDir.path().toStdString()}) {
        Operate(res::IDC_FILE_FROM_STATUS, bad);
        ASSERT_TRUE(WaitUntil([&] { return !dialog->StatusFileRunning(); }, 10000));
        Pump(50);
        EXPECT_EQ(dialog->MessageText(),
                  "Can't Create New File \n Make sure there is enough disk space, and the file "
                  "name is valid")
            << bad;
    }
}

TEST_F(FileOperations, ATwentyTwoHasNoStatusToCreateAFileFrom) {
    Online("127.0.0.22");
    const std::string path = InWorkDir("t22.xml");
    Operate(res::IDC_FILE_FROM_STATUS, path);
    EXPECT_FALSE(dialog->StatusFileRunning());
    EXPECT_EQ(dialog->MessageText(),
              "Can't Create New File \n No status has been received from the selected receiver");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(FileOperations, WhileTheDialogIsOpenTheIndicatorsStandStillAndCancelChangesNothing) {
    Online("127.0.0.20");
    const std::string path = InWorkDir("chosen.xml");
    WriteFile(path, true, 12, nullptr);
    Operate(res::IDC_FILE_LOAD_INDIVIDUALLY, path);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return IndicatorColour(LockIndicator()) == GREEN &&
                   IndicatorColour(DataIndicator()) == GREEN;
        },
        3000));

    QColor lockWhileOpen, dataWhileOpen;
    OperateDialog([&](CLoadSaveConfiguration& d) {
        r40->SetLocked(false);
        r40->SetDataFlowing(false);
        Pump(1500);
        lockWhileOpen = IndicatorColour(LockIndicator());
        dataWhileOpen = IndicatorColour(DataIndicator());
        QTest::mouseClick(
            platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_FILE_SAVE_LAST_USED)),
            Qt::LeftButton);
        TypeInto(d, res::IDC_FILE_PATH, QString::fromStdString(InWorkDir("other.xml")));
        QTest::keyClick(WidgetOf(d), Qt::Key_Escape);
    });
    EXPECT_EQ(lockWhileOpen, GREEN);
    EXPECT_EQ(dataWhileOpen, GREEN);
    EXPECT_EQ(dialog->ConfigFile(), path);
    EXPECT_TRUE(dialog->ConfigFileChosen());
    // Afterwards they follow the receiver again.
    EXPECT_TRUE(WaitUntil([&] { return IndicatorColour(LockIndicator()) == RED; }, 3000));
}

TEST_F(FileOperations, ShutDownDuringAnApplyWaitsForIt) {
    Online("127.0.0.20");
    const std::string path = InWorkDir("slow.xml");
    WriteFile(path, true, 44, nullptr);
    r40->SetFault(sim::Fault::NoEcho, true);  // the network stage waits out its time-outs
    std::shared_ptr<const dialogs::LoadApplyJob> job;
    ApplyAll(path, [&](CLoadSaveConfiguration& d, const QString& text) {
        if (text != SENDING || job) return;
        job = d.Job();
        Shut();
    });
    ASSERT_TRUE(job);
    EXPECT_TRUE(dialog->ShutDownDone());
    EXPECT_FALSE(job->applyStarted) << "the shut-down ended before the apply";
    Pump(100);  // the worker's last posts go to a window that has gone
}

}  // namespace
}  // namespace console_test
