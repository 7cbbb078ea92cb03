// The configuration menu against emulated receivers: each apply reaches the
// receiver and the last-used file, failures say so, the menu goes back to
// its four buttons, and an apply outlives the menu that started it. The
// dialogs are operated as an operator would, with keys and clicks, from
// inside their modal runs.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <fstream>
#include <optional>
#include <sstream>

#include "config/pid_list_form.h"
#include "config/r40_settings_to_xml_doc.h"
#include "config/tuning_form.h"
#include "console/apply_job.h"
#include "console/config_sub_menue.h"
#include "console/console_messages.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/mouse_capture.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "skin/red_check_box.h"
#include "tests/console/console_fixture.h"

using platform::window::qt::WidgetOf;

namespace console_test {
namespace {

// The RF channel the last-used file holds; none when it cannot be read.
std::optional<std::int32_t> LastUsedChannel() {
    CR40SettingsToXmlDoc file;
    std::int32_t channel = 0;
    if (!file.Load(LAST_USED_CONFIG_FILE) || !file.ReadChannel(channel)) return std::nullopt;
    return channel;
}

using console::CConfigSubMenue;

class ConfigMenu : public ConsoleInWorkDir {
  protected:
    // Selects the receiver, waits until it is online and its first status
    // has come, and opens the menu.
    CConfigSubMenue* OpenMenuFor(const std::string& address) {
        Select(address);
        EXPECT_TRUE(WaitForOnline());
        EXPECT_TRUE(WaitUntil([&] { return dialog->OpenDeviceState().has_value(); }, 5000));
        Press(res::IDC_MAIN_CONFIG_MENU);
        CConfigSubMenue* menu = dialog->ConfigMenu();
        EXPECT_NE(menu, nullptr);
        if (menu != nullptr) {
            for (int id : {res::IDC_MENU_NETWORK, res::IDC_MENU_CHANNEL, res::IDC_MENU_CONTENT,
                           res::IDC_MENU_RESET})
                m_places[id] = Button(id)->geometry();
        }
        return menu;
    }

    QWidget* Button(int id) {
        return platform::window::qt::WidgetOf(dialog->ConfigMenu()->GetDlgItem(id));
    }
    // Presses a menu button; a dialog that waits for the receiver's values
    // has run (or was not opened) when this returns.
    void PressMenu(int id) {
        dialog->ConfigMenu()->DispatchCommand(id, window::BN_CLICKED);
        WaitUntil(
            [&] {
                CConfigSubMenue* menu = dialog->ConfigMenu();
                return menu == nullptr || !menu->Reading();
            },
            8000);
    }

    // The menu has shown `result` and, 1.5 s later (neither sooner, give or
    // take a coarse timer's 5 %, nor much later), its four buttons again,
    // each in its own place.
    void ExpectResultThenIdle(const QString& result) {
        CConfigSubMenue* menu = dialog->ConfigMenu();
        ASSERT_TRUE(WaitUntil([&] { return menu->ResultShown(); }, 15000)) << menu->MessageText();
        QElapsedTimer held;
        held.start();
        EXPECT_EQ(menu->MessageText(), result.toStdString());
        EXPECT_TRUE(menu->MessageShown());
        EXPECT_EQ(window::GetCapture(), menu) << "the mouse stays with the menu";
        ASSERT_TRUE(WaitUntil([&] { return !menu->ResultShown(); }, 3000));
        EXPECT_GE(held.elapsed(), 1400) << "the result went before its 1.5 s";
        ExpectIdle();
        EXPECT_EQ(window::GetCapture(), nullptr);
    }

    void ExpectIdle() {
        CConfigSubMenue* menu = dialog->ConfigMenu();
        EXPECT_FALSE(menu->MessageShown());
        for (const auto& [id, place] : m_places) {
            EXPECT_TRUE(Button(id)->isVisible()) << id;
            EXPECT_EQ(Button(id)->geometry(), place) << id;
        }
    }

    std::map<int, QRect> m_places;
};

TEST_F(ConfigMenu, ChannelChangeReachesTheReceiverAndTheLastUsedFile) {
    r40->SetChannel(14);
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->ConfigSource(), LAST_USED_CONFIG_FILE);

    bool sawPrompt = false;
    WhenDialogOpens(res::IDD_CHANNEL_SELECT, [&](window::Dialog& channel) {
        // The channel button stands alone in the top slot meanwhile.
        sawPrompt = menu->MessageText() == "Enter the Channel Number" &&
                    Button(res::IDC_MENU_CHANNEL)->geometry() == m_places[res::IDC_MENU_NETWORK] &&
                    !Button(res::IDC_MENU_NETWORK)->isVisible();
        TypeInto(channel, res::IDC_CHANNEL_NUMBER, "33");
        Click(channel, window::IDOK);
    });
    PressMenu(res::IDC_MENU_CHANNEL);
    EXPECT_TRUE(sawPrompt);
    // Written before the receiver has answered.
    EXPECT_EQ(LastUsedChannel(), 33);

    ASSERT_TRUE(WaitUntil([&] { return menu->MessageText().starts_with("Configuring"); }, 2000));
    EXPECT_EQ(menu->MessageText(), "Configuring Device\nPlease Wait");
    ExpectResultThenIdle("SUCCESS");
    EXPECT_EQ(r40->Channel(), 33);
}

TEST_F(ConfigMenu, PidListWithADestinationReachesAnR40V) {
    const sim::PidEntry held[] = {sim::PidEntry::Make(0x30, 1)};
    r40v->SetPidEntries(held);
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.21");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->DeviceType(), TYPE_R40_TREVAN);

    // No last-used file yet: the content dialog starts with the receiver's
    // own list, read from it, and no box says anything.
    window::ScriptedDialogService boxes;
    window::ScopedDialogService scoped(boxes);

    int startCount = -1;
    WhenDialogOpens(res::IDD_CONTENT_SELECT, [&](window::Dialog& content) {
        startCount =
            content.GetDlgItemAs<window::ListBoxControl>(res::IDC_CONTENT_PID_LIST)->GetCount();
        Click(content, res::IDC_CONTENT_CLEAR);
        TypeInto(content, res::IDC_CONTENT_PID_ENTRY, "481");
        Click(content, res::IDC_CONTENT_ADD);
        TypeInto(content, res::IDC_CONTENT_PID_ENTRY, "600");
        Click(content, res::IDC_CONTENT_ADD);
        auto* list = content.GetDlgItemAs<window::ListBoxControl>(res::IDC_CONTENT_PID_LIST);
        ASSERT_EQ(list->GetCount(), 2);
        // Mark 481 as the video PID, forwarded to 127.0.0.9:1234.
        WhenDialogOpens(res::IDD_VIDEO_PID, [&](window::Dialog& video) {
            auto* address = video.GetDlgItemAs<window::IpAddressControl>(res::IDC_VIDEO_ADDRESS);
            address->SetAddress(127, 0, 0, 9);
            TypeInto(video, res::IDC_VIDEO_PORT, "1234");
            Click(video, window::IDOK);
        });
        list->SetCurSel(0);  // "481 (0x1E1)" sorts first
        content.DispatchCommand(res::IDC_CONTENT_PID_LIST, window::LBN_SELCHANGE);
        Click(content, res::IDC_CONTENT_VIDEO_PID);
        Click(content, window::IDOK);
    });
    PressMenu(res::IDC_MENU_CONTENT);
    EXPECT_EQ(startCount, 1);
    EXPECT_TRUE(boxes.MessageBoxes().empty());

    ExpectResultThenIdle("SUCCESS");
    const std::vector<sim::PidEntry> entries = r40v->PidEntries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].Pid(), 481);
    EXPECT_EQ(entries[0].destination, (sim::Ipv4{127, 0, 0, 9}));
    EXPECT_EQ(entries[0].port, 1234);
    EXPECT_EQ(entries[1].Pid(), 600);

    // The file holds the list in the form with destinations.
    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(LAST_USED_CONFIG_FILE));
    TrevanPidListRecord stored{};
    ASSERT_TRUE(file.ReadPIDListWithDestinations(stored));
    EXPECT_EQ(stored.count, 2);
    EXPECT_EQ(stored.pid[0], 481);
    EXPECT_EQ(stored.destination[0].port, 1234);
    EXPECT_EQ(stored.control[0], 0);
}

TEST_F(ConfigMenu, NetworkSettingsMoveTheReceiverAndAreKept) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_NETWORK_CONFIG, [&](window::Dialog& network) {
        auto set = [&](int id, std::array<int, 4> a) {
            network.GetDlgItemAs<window::IpAddressControl>(id)->SetAddress(a[0], a[1], a[2], a[3]);
        };
        set(res::IDC_NET_RECEIVER_ADDRESS, {127, 0, 0, 30});
        set(res::IDC_NET_SUBNET_MASK, {255, 0, 0, 0});
        set(res::IDC_NET_GATEWAY, {127, 0, 0, 1});
        set(res::IDC_NET_STATUS_ADDRESS, {255, 255, 255, 255});
        Click(network, window::IDOK);
    });
    const bool igmpBefore = dialog->OpenDeviceState()->igmp;
    PressMenu(res::IDC_MENU_NETWORK);
    ExpectResultThenIdle("SUCCESS");
    EXPECT_EQ(r40->Address(), (sim::Ipv4{127, 0, 0, 30}));
    EXPECT_EQ(r40->StatusDestinationPort(), dialog->StatusPort());

    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(LAST_USED_CONFIG_FILE));
    std::array<std::uint8_t, 4> address{};
    ASSERT_TRUE(file.ReadDeviceIP(address));
    EXPECT_EQ(address, (std::array<std::uint8_t, 4>{127, 0, 0, 30}));
    std::int32_t igmp = -1;
    ASSERT_TRUE(file.ReadUseIGMP(igmp));
    EXPECT_EQ(igmp, igmpBefore ? 1 : 0) << "the box starts as the receiver has it";
    EXPECT_NE(FileText(LAST_USED_CONFIG_FILE).find("MACByte0=\"20\""), std::string::npos);
}

TEST_F(ConfigMenu, ResetIsSentOnlyWhenConfirmed) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_RESET_CONFIRM, [&](window::Dialog& reset) {
        QTest::keyClick(WidgetOf(reset), Qt::Key_Escape);
    });
    PressMenu(res::IDC_MENU_RESET);
    ExpectIdle();
    EXPECT_EQ(r40->ResetCount(), 0u);

    WhenDialogOpens(res::IDD_RESET_CONFIRM,
                    [&](window::Dialog& reset) { Click(reset, window::IDOK); });
    PressMenu(res::IDC_MENU_RESET);
    ExpectResultThenIdle("SUCCESS");
    EXPECT_EQ(r40->ResetCount(), 1u);
    EXPECT_FALSE(QFile::exists(LAST_USED_CONFIG_FILE)) << "a reset writes nothing";
}

TEST_F(ConfigMenu, ASilentReceiverFailsAndTheFileKeepsTheChange) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    // It neither answers nor applies anything.
    r40->SetFault(sim::Fault::NoEcho, true);
    r40->SetFault(sim::Fault::IgnoreCommands, true);
    WhenDialogOpens(res::IDD_CHANNEL_SELECT, [&](window::Dialog& channel) {
        TypeInto(channel, res::IDC_CHANNEL_NUMBER, "40");
        QTest::keyClick(platform::window::qt::WidgetOf(channel.GetDlgItem(res::IDC_CHANNEL_NUMBER)),
                        Qt::Key_Return);
    });
    PressMenu(res::IDC_MENU_CHANNEL);
    ExpectResultThenIdle("Failed To Configure");
    EXPECT_NE(r40->Channel(), 40);
    EXPECT_EQ(LastUsedChannel(), 40);
}

TEST_F(ConfigMenu, ClicksDuringAnApplyAndItsResultDoNothing) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_RESET_CONFIRM,
                    [&](window::Dialog& reset) { Click(reset, window::IDOK); });
    PressMenu(res::IDC_MENU_RESET);
    // No dialog may open now: any that did would be left open and fail
    // the wait below.
    for (int id :
         {res::IDC_MENU_NETWORK, res::IDC_MENU_CHANNEL, res::IDC_MENU_CONTENT, res::IDC_MENU_RESET})
        PressMenu(id);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return menu->ResultShown(); }, 5000));
    PressMenu(res::IDC_MENU_CHANNEL);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The main window's buttons are out of reach while the menu holds the
    // mouse: a click on the status button lands on the menu.
    QTest::mouseClick(
        platform::window::qt::WidgetOf(dialog->GetDlgItem(res::IDC_MAIN_STATUS_PANEL)),
        Qt::LeftButton);
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
    ExpectResultThenIdle("SUCCESS");
    EXPECT_EQ(r40->ResetCount(), 1u);
}

TEST_F(ConfigMenu, CancellingEachDialogBringsBackTheFourButtons) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.21");
    ASSERT_NE(menu, nullptr);
    window::ScriptedDialogService boxes;
    window::ScopedDialogService scoped(boxes);
    const std::pair<int, int> runs[] = {{res::IDC_MENU_NETWORK, res::IDD_NETWORK_CONFIG},
                                        {res::IDC_MENU_CHANNEL, res::IDD_CHANNEL_SELECT},
                                        {res::IDC_MENU_CONTENT, res::IDD_CONTENT_SELECT},
                                        {res::IDC_MENU_RESET, res::IDD_RESET_CONFIRM}};
    for (const auto& [button, templateId] : runs) {
        WhenDialogOpens(templateId, [&](window::Dialog& d) { Click(d, window::IDCANCEL); });
        PressMenu(button);
        ExpectIdle();
        EXPECT_FALSE(menu->WorkerRunning());
    }
    EXPECT_FALSE(QFile::exists(LAST_USED_CONFIG_FILE));
}

// The last-used file starts the dialogs only where it describes the
// selected receiver (its MAC bytes, or none and the receiver's address);
// otherwise, and without a file, they start with the receiver's own values,
// read from it where the console has them not, and no box says anything.
TEST_F(ConfigMenu, DialogsStartWithTheFileOnlyWhereItDescribesTheReceiver) {
    struct Row {
        const char* name;
        bool file;
        std::optional<std::array<std::uint8_t, 3>> mac;
        std::uint8_t lastOctet;  // of the file's DeviceIP
        bool fileValues;         // the dialogs show the file's values
    };
    const Row rows[] = {
        {"unmarked, the receiver's address", true, std::nullopt, 20, true},
        {"the receiver's MAC bytes", true, std::array<std::uint8_t, 3>{0, 0, 20}, 99, true},
        {"the R40V's MAC bytes", true, std::array<std::uint8_t, 3>{0, 0, 21}, 21, false},
        {"unmarked, another address", true, std::nullopt, 21, false},
        {"no file", false, std::nullopt, 0, false},
    };
    r40->SetChannel(30);
    const sim::PidEntry held[] = {sim::PidEntry::Make(0x30, 1), sim::PidEntry::Make(0x31, 1)};
    r40->SetPidEntries(held);
    const int receiverPids = 2;
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    window::ScriptedDialogService boxes;
    window::ScopedDialogService scoped(boxes);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(LAST_USED_CONFIG_FILE);
        if (row.file) {
            CR40SettingsToXmlDoc file;
            ASSERT_EQ(file.OpenForWriting(LAST_USED_CONFIG_FILE), OPEN_OK);
            if (row.mac) {
                ASSERT_TRUE(file.WriteMACBytes(*row.mac));
            }
            const std::uint8_t address[4] = {127, 0, 0, row.lastOctet}, mask[4] = {255, 0, 0, 0},
                               gateway[4] = {127, 0, 0, 1}, status[4] = {255, 255, 255, 255};
            PidListRecord pids = config::EmptyPidList<PidListRecord>();
            pids.pid[0] = 700;
            pids.count = 1;
            ASSERT_TRUE(file.WriteDeviceIP(address) && file.WriteDeviceSubNet(mask) &&
                        file.WriteDefaultGW(gateway) && file.WriteUnicastStatus(status) &&
                        file.WriteUseIGMP(false) && file.WriteChannel(52) &&
                        file.WritePIDList(pids));
        }
        QString channel;
        WhenDialogOpens(res::IDD_CHANNEL_SELECT, [&](window::Dialog& d) {
            channel = qobject_cast<QLineEdit*>(
                          platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_CHANNEL_NUMBER)))
                          ->text();
            Click(d, window::IDCANCEL);
        });
        PressMenu(res::IDC_MENU_CHANNEL);
        std::uint32_t address = 0;
        WhenDialogOpens(res::IDD_NETWORK_CONFIG, [&](window::Dialog& d) {
            d.GetDlgItemAs<window::IpAddressControl>(res::IDC_NET_RECEIVER_ADDRESS)
                ->GetAddress(address);
            Click(d, window::IDCANCEL);
        });
        PressMenu(res::IDC_MENU_NETWORK);
        int pids = -1;
        WhenDialogOpens(res::IDD_CONTENT_SELECT, [&](window::Dialog& d) {
            pids = d.GetDlgItemAs<window::ListBoxControl>(res::IDC_CONTENT_PID_LIST)->GetCount();
            Click(d, window::IDCANCEL);
        });
        PressMenu(res::IDC_MENU_CONTENT);

        EXPECT_EQ(channel, row.fileValues ? "52" : "30");
        EXPECT_EQ(address, 0x7F000000u | (row.fileValues ? row.lastOctet : 20u));
        EXPECT_EQ(pids, row.fileValues ? 1 : receiverPids);
        EXPECT_TRUE(boxes.MessageBoxes().empty());
        ExpectIdle();
    }
}

// A change made for one receiver never leaves another's network settings
// in the last-used file beside it: the file starts afresh for the receiver
// it now describes, marked with its MAC bytes.
TEST_F(ConfigMenu, TheLastUsedFileDescribesOneReceiver) {
    {
        CR40SettingsToXmlDoc file;
        ASSERT_EQ(file.OpenForWriting(LAST_USED_CONFIG_FILE), OPEN_OK);
        const std::uint8_t address[4] = {127, 0, 0, 21};
        ASSERT_TRUE(file.WriteMACBytes(std::array<std::uint8_t, 3>{0, 0, 21}) &&
                    file.WriteDeviceIP(address) && file.WriteChannel(61));
    }
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_CHANNEL_SELECT, [&](window::Dialog& channel) {
        TypeInto(channel, res::IDC_CHANNEL_NUMBER, "33");
        Click(channel, window::IDOK);
    });
    PressMenu(res::IDC_MENU_CHANNEL);
    ExpectResultThenIdle("SUCCESS");
    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(LAST_USED_CONFIG_FILE));
    std::array<std::uint8_t, 3> mac{};
    ASSERT_TRUE(file.ReadMACBytes(mac));
    EXPECT_EQ(mac, (std::array<std::uint8_t, 3>{0, 0, 20}));
    std::array<std::uint8_t, 4> address{};
    EXPECT_FALSE(file.ReadDeviceIP(address)) << "the R40V's address stayed in the R40's file";
    EXPECT_EQ(LastUsedChannel(), 33);
}

// The channel button of a satellite receiver opens the satellite tuning
// dialog with the receiver's tuning; what it sends is a tuning record, and
// an RF channel never reaches the receiver.
TEST_F(ConfigMenu, ASatelliteReceiverIsTunedByFrequencyNeverByChannel) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.22");
    ASSERT_NE(menu, nullptr);
    // An RF channel dialog, should one open, is noted and closed.
    bool channelDialog = false;
    QTimer channelWatch;
    channelWatch.setInterval(5);
    QObject::connect(&channelWatch, &QTimer::timeout, [&] {
        auto* modal = dynamic_cast<window::Dialog*>(
            platform::window::qt::WindowOf(QApplication::activeModalWidget()));
        if (modal == nullptr || modal->Template() == nullptr ||
            modal->Template()->id != res::IDD_CHANNEL_SELECT)
            return;
        channelDialog = true;
        modal->EndDialog(window::IDCANCEL);
    });
    channelWatch.start();
    QString frequency, symbolRate, prompt;
    WhenDialogOpens(res::IDD_SATELLITE_TUNING, [&](window::Dialog& d) {
        frequency = qobject_cast<QLineEdit*>(
                        platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_SAT_FREQUENCY)))
                        ->text();
        symbolRate = qobject_cast<QLineEdit*>(
                         platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_SAT_SYMBOL_RATE)))
                         ->text();
        prompt = QString::fromStdString(menu->MessageText());
        TypeInto(d, res::IDC_SAT_FREQUENCY, "1150");
        TypeInto(d, res::IDC_SAT_SYMBOL_RATE, "22");
        Click(d, res::IDC_SAT_OPTION0);
        QTest::keyClick(platform::window::qt::WidgetOf(d.GetDlgItem(res::IDC_SAT_SYMBOL_RATE)),
                        Qt::Key_Return);
    });
    PressMenu(res::IDC_MENU_CHANNEL);
    EXPECT_FALSE(channelDialog);
    EXPECT_EQ(frequency, "1234.5");
    EXPECT_EQ(symbolRate, "27.500");
    EXPECT_EQ(prompt, "Enter the Frequency and Symbol Rate");
    ExpectResultThenIdle("SUCCESS");
    EXPECT_EQ(t22->Tuning(), (sim::SatelliteTuning{22000, 11500, 0x01}));
    for (const auto& command : t22->CommandsOnPort(sim::TUNE_PORT))
        EXPECT_EQ(command.bytes.at(5), 8) << "only the satellite form was sent";
    CR40SettingsToXmlDoc file;
    ASSERT_TRUE(file.Load(LAST_USED_CONFIG_FILE));
    SatelliteTuning kept{};
    ASSERT_TRUE(file.ReadSatelliteTuning(kept));
    EXPECT_FLOAT_EQ(kept.frequency, 1150.0f);
    EXPECT_FLOAT_EQ(kept.symbolRate, 22.0f);
    EXPECT_EQ(config::OptionBitsOf(kept), 0x01u);
}

// An R40 takes the standard form: the list confirmed in the content dialog
// is what the receiver holds afterwards.
TEST_F(ConfigMenu, AContentApplyReachesAnR40) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_CONTENT_SELECT, [&](window::Dialog& content) {
        Click(content, res::IDC_CONTENT_CLEAR);
        for (const char* pid : {"49", "1000"}) {
            TypeInto(content, res::IDC_CONTENT_PID_ENTRY, pid);
            Click(content, res::IDC_CONTENT_ADD);
        }
        Click(content, window::IDOK);
    });
    PressMenu(res::IDC_MENU_CONTENT);
    ExpectResultThenIdle("SUCCESS");
    std::vector<int> held;
    for (const sim::PidEntry& e : r40->PidEntries())
        if (e.Pid() != sim::UNUSED_PID) held.push_back(e.Pid());
    std::sort(held.begin(), held.end());
    EXPECT_EQ(held, (std::vector<int>{49, 1000}));
}

TEST_F(ConfigMenu, AnApplyOutlivesTheMenuThatStartedIt) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    WhenDialogOpens(res::IDD_RESET_CONFIRM,
                    [&](window::Dialog& reset) { Click(reset, window::IDOK); });
    PressMenu(res::IDC_MENU_RESET);
    std::shared_ptr<const console::ApplyJob> job = menu->LastJob();
    ASSERT_TRUE(job);
    ASSERT_TRUE(job->running);
    // Hiding to the notification area destroys the menu mid-apply; its
    // worker's posts then go to a window that no longer exists.
    Press(res::IDC_MAIN_HIDE_TO_TRAY);
    EXPECT_EQ(dialog->ConfigMenu(), nullptr);
    EXPECT_EQ(window::GetCapture(), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !job->running; }, 8000));
    EXPECT_EQ(job->result, 0);
    EXPECT_EQ(r40->ResetCount(), 1u);
    Pump(100);  // the worker's last posts arrive and are dropped

    // A new menu works as before.
    dialog->ShowWindow(window::SW_SHOW);
    Press(res::IDC_MAIN_CONFIG_MENU);
    ASSERT_NE(dialog->ConfigMenu(), nullptr);
    EXPECT_FALSE(dialog->ConfigMenu()->WorkerRunning());
}

// A menu made while an apply runs shows that apply and gets its result, and
// starts no second one meanwhile; the finished apply lets its device go.
TEST_F(ConfigMenu, OneChangeAtATimeAndAFinishedOneLetsItsDeviceGo) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    r40->SetFault(sim::Fault::NoEcho, true);  // the reset waits out its four attempts
    WhenDialogOpens(res::IDD_RESET_CONFIRM,
                    [&](window::Dialog& reset) { Click(reset, window::IDOK); });
    PressMenu(res::IDC_MENU_RESET);
    ASSERT_TRUE(menu->WorkerRunning());
    Press(res::IDC_MAIN_CONFIG_MENU);  // the menu goes
    ASSERT_EQ(dialog->ConfigMenu(), nullptr);
    Press(res::IDC_MAIN_CONFIG_MENU);  // and a new one comes
    menu = dialog->ConfigMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->WorkerRunning());
    EXPECT_EQ(menu->MessageText(), "Configuring Device\nPlease Wait");
    for (int id :
         {res::IDC_MENU_NETWORK, res::IDC_MENU_CHANNEL, res::IDC_MENU_CONTENT, res::IDC_MENU_RESET})
        PressMenu(id);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a dialog opened beside the apply";
    ExpectResultThenIdle("Failed To Configure");
    EXPECT_LE(r40->CommandsOnPort(sim::RESET_PORT).size(), 4u) << "a second apply was sent";

    std::weak_ptr<console::DeviceSession> session = dialog->GetOpenDevice();
    Select("127.0.0.21");
    EXPECT_TRUE(WaitUntil([&] { return session.expired(); }, 5000))
        << "the finished apply still holds the device it was sent to";
}

TEST_F(ConfigMenu, ShutDownWaitsForARunningApply) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    r40->SetFault(sim::Fault::NoEcho, true);  // the apply waits out its time-outs
    WhenDialogOpens(res::IDD_RESET_CONFIRM,
                    [&](window::Dialog& reset) { Click(reset, window::IDOK); });
    PressMenu(res::IDC_MENU_RESET);
    std::shared_ptr<const console::ApplyJob> job = menu->LastJob();
    ASSERT_TRUE(job && job->running);
    Shut();
    EXPECT_TRUE(dialog->ShutDownDone());
    EXPECT_FALSE(job->running) << "the shut-down ended before the apply";
    // Commands after the shut-down has begun do nothing.
    Press(res::IDC_MAIN_STATUS_PANEL);
    Press(res::IDC_MAIN_CONFIG_MENU);
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
    EXPECT_EQ(dialog->ConfigMenu(), nullptr);
}

TEST_F(ConfigMenu, EveryTipReadsAsWritten) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    const window::BalloonToolTip& tips = menu->ToolTip();
    EXPECT_EQ(tips.GetTitle(), "Configuration Menu");
    EXPECT_EQ(tips.GetTitleIcon(), window::TTI_INFO);
    EXPECT_EQ(tips.GetTipTextColor(), window::Rgb(204, 45, 48));
    const std::pair<int, const char*> expected[] = {
        {1026,
         "This button opens the network configuration dialog \n Netowrk configuration affects "
         "receiver IP address, Default Gateway and SubnetMask \n You can turn turn IGMP on or off "
         "from that dialog box"},
        {1029,
         "This button Brings up the reset device dialog \n This allows you to send a reset "
         "Message to the Receiver"},
        {1020,
         "This button brings up the channel configuration dialog \n You can select the Channel "
         "number that you want to tune to \n Click on the Check Mark to apply the configuration"},
        {1030,
         "This button opens the content selection dialog \n Use this dialog to select the "
         "programs that you want to receive \n Click on the check mark to apply the settings"},
    };
    EXPECT_EQ(tips.GetToolCount(), static_cast<int>(std::size(expected)));
    for (const auto& [id, text] : expected)
        EXPECT_EQ(tips.GetText(dialog->ConfigMenu()->GetDlgItem(id)), text) << id;
}

TEST_F(ConfigMenu, MenuDocksBesideTheStatusPanel) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    const window::Rect main = dialog->GetWindowRect();
    EXPECT_EQ(menu->GetWindowRect().left, main.left);
    EXPECT_EQ(menu->GetWindowRect().top, main.bottom);
    Press(res::IDC_MAIN_STATUS_PANEL);
    EXPECT_EQ(menu->GetWindowRect().right, main.left);
    Press(res::IDC_MAIN_STATUS_PANEL);
    EXPECT_EQ(menu->GetWindowRect().left, main.left);
    Press(res::IDC_MAIN_CONFIG_MENU);
    EXPECT_EQ(dialog->ConfigMenu(), nullptr) << "a second press closes the menu";
}

// The menu's result for each way an apply can end, and the message line's
// word on the one failure the operator can mend: a route refused for want
// of rights (an unelevated console on Windows). A real refusal needs a
// process without the rights; here the worker's report is what is sent.
TEST_F(ConfigMenu, ARefusedRouteSaysWhatItNeedsOnTheMessageLine) {
    CConfigSubMenue* menu = OpenMenuFor("127.0.0.20");
    ASSERT_NE(menu, nullptr);
    const std::string line = dialog->MessageText();
    const struct {
        std::int32_t result;
        const char* menuText;
        std::string lineText;
    } cases[] = {
        {0, "SUCCESS", line},
        {ERR_ECHO_TIMEOUT, "Failed To Configure", line},
        {ERR_ADAPTER_NOT_FOUND, "Failed To Configure", line},
        {ERR_ROUTE_REFUSED, "Failed To Configure", DeviceResultText(ERR_ROUTE_REFUSED)},
    };
    for (const auto& c : cases) {
        window::SendMessage(menu->Handle(), console::WM_APPLY_STARTED, console::APPLY_NETWORK, 1);
        window::SendMessage(menu->Handle(), console::WM_APPLY_FINISHED, console::APPLY_NETWORK,
                            c.result);
        EXPECT_EQ(dialog->MessageText(), c.lineText) << std::hex << c.result;
        ExpectResultThenIdle(c.menuText);
    }
    EXPECT_NE(dialog->MessageText().find("administrator"), std::string::npos);
}

TEST_F(ConfigMenu, APressWhileTheDeviceOpensChangesNothing) {
    ASSERT_TRUE(WaitForDevices(3));
    r40->SetFault(sim::Fault::Silence, true);  // its open waits for a first status
    Select("127.0.0.20");
    ASSERT_TRUE(dialog->OpenPending());
    const std::string description = dialog->MessageText();
    Press(res::IDC_MAIN_CONFIG_MENU);
    Press(res::IDC_MAIN_STATUS_PANEL);
    EXPECT_EQ(dialog->MessageText(), description);
    EXPECT_EQ(dialog->ConfigMenu(), nullptr);
    EXPECT_EQ(dialog->StatusPanel(), nullptr);
}

}  // namespace
}  // namespace console_test
