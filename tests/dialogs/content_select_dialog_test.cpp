// The content dialog, operated with the keyboard and the mouse: entry modes
// and their conversions, the range ends, the message label, the Add button's
// limit, a full list, and the record handed back, byte for byte, in both
// forms: the R40V's with destinations edited through the video PID dialog,
// and the standard one rebuilt in the list's order.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>

#include <cstring>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/button_control.h"
#include "platform/window/message_box.h"
#include "platform/window/qt/native.h"
#include "platform/window/scripted_dialog_service.h"
#include "platform/window/static_control.h"
#include "resources/ids.h"
#include "skin/red_check_box.h"
#include "skin/transparent_static.h"

namespace {

using namespace dialogs_test;
using dialogs::CConfVideoPIDDlg;
using dialogs::CContentSelectDlg;
using dialogs::PID_REMOVED;

constexpr std::uint16_t R40 = TYPE_R40;
constexpr std::uint16_t R40V = TYPE_R40_TREVAN;
constexpr std::string_view RANGE = "Please enter a PID number between 32 and 8191.";
constexpr std::string_view FULL = "The PID list is full (32 entries).";
const QString DUPLICATE = QStringLiteral("Entry Already Exists in the List");

struct Slot {
    std::uint16_t pid;
    std::uint8_t control = 1;
    PidDestination destination{};
};

// Records as the configuration menu prepares them: zero-filled, every PID
// the null PID, then the entries in entries 0 on.
TrevanPidListRecord ForwardingList(const std::vector<Slot>& entries) {
    TrevanPidListRecord list;
    std::memset(&list, 0, sizeof list);
    for (auto& pid : list.pid) pid = NULL_PID;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list.pid[i] = entries[i].pid;
        list.control[i] = entries[i].control;
        list.destination[i] = entries[i].destination;
    }
    list.count = static_cast<std::int32_t>(entries.size());
    return list;
}

PidListRecord StandardList(const std::vector<Slot>& entries) {
    PidListRecord list;
    std::memset(&list, 0, sizeof list);
    for (auto& pid : list.pid) pid = NULL_PID;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        list.pid[i] = entries[i].pid;
        list.control[i] = entries[i].control;
    }
    list.count = static_cast<std::int32_t>(entries.size());
    return list;
}

template <class Record>
bool SameBytes(const Record& a, const Record& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The dialog's controls by role.
struct Controls {
    explicit Controls(CContentSelectDlg& d) : dialog(d) {}
    CContentSelectDlg& dialog;
    QLineEdit* Entry() {
        return qobject_cast<QLineEdit*>(
            platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CONTENT_PID_ENTRY)));
    }
    ListBoxControl* List() {
        return dialog.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
    }
    skin::CRedCheckBox* Box(int id) { return dialog.GetDlgItemAs<skin::CRedCheckBox>(id); }
    QWidget* Button(int id) { return platform::window::qt::WidgetOf(dialog.GetDlgItem(id)); }
    QString Message() {
        return QString::fromStdString(
            dialog.GetDlgItemAs<skin::CTransparentStatic>(res::IDC_CONTENT_MESSAGE)->Text());
    }
    QStringList Texts() {
        QStringList texts;
        for (int i = 0; i < List()->GetCount(); ++i) texts << ToQString(List()->GetText(i));
        return texts;
    }
    void Add(const QString& typed) {
        Retype(Entry(), typed);
        Click(Button(res::IDC_CONTENT_ADD));
    }
    void Select(std::uint16_t pid) {
        for (int i = 0; i < List()->GetCount(); ++i)
            if (List()->GetItemData(i) == pid) ClickListEntry(List(), i);
    }
};

// Does `act` on the video PID dialog once the handler that opens it has it
// running; a run `act` leaves open is ended, so a failing test never waits.
void WhenVideoDialogOpens(std::function<void(CConfVideoPIDDlg&)> act, bool* opened = nullptr) {
    QTimer::singleShot(0, [act = std::move(act), opened] {
        CConfVideoPIDDlg* video = Shown<CConfVideoPIDDlg>();
        if (opened != nullptr) *opened = video != nullptr;
        if (video == nullptr) return;
        act(*video);
        if (video->IsModalRunning()) video->EndDialog(STILL_RUNNING);
    });
}

void ConfirmDestination(CConfVideoPIDDlg& video, const QStringList& address, const QString& port) {
    TypeAddress(video.GetDlgItemAs<IpAddressControl>(res::IDC_VIDEO_ADDRESS), address);
    Retype(qobject_cast<QLineEdit*>(
               platform::window::qt::WidgetOf(video.GetDlgItem(res::IDC_VIDEO_PORT))),
           port);
    Click(platform::window::qt::WidgetOf(video.GetDlgItem(IDOK)));
}

// ---- Entry modes, conversions and ranges ---------------------------------------

TEST(ContentDialog, EachWayOfTypingPid481AddsTheSameEntry) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CContentSelectDlg dialog(R40);
    PidListRecord list = StandardList({});
    dialog.AttachPidList(&list);
    Controls c(dialog);
    std::vector<QStringList> after;
    RunModal(dialog, [&] {
        c.Add("481");  // decimal mode at the start
        after.push_back(c.Texts());
        Click(c.Box(res::IDC_CONTENT_HEX));
        for (const char* typed : {"0x1E1", "1e1", "1E1"}) {
            Click(c.Button(res::IDC_CONTENT_CLEAR));
            c.Add(QString::fromLatin1(typed));
            after.push_back(c.Texts());
        }
        after.push_back({c.Entry()->text()});  // the box keeps its text
    });
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(after[i], QStringList{"481 (0x1E1)"}) << i;
    EXPECT_EQ(after[4], QStringList{"1E1"});
    EXPECT_TRUE(service.MessageBoxes().empty());
}

TEST(ContentDialog, ModeBoxesWorkAsAPairAndRewriteTheEntry) {
    CContentSelectDlg dialog(R40);
    Controls c(dialog);
    QStringList shown;
    const auto look = [&] {
        shown << QStringLiteral("%1 %2 %3")
                     .arg(c.Entry()->text())
                     .arg(c.Box(res::IDC_CONTENT_DECIMAL)->IsChecked())
                     .arg(c.Box(res::IDC_CONTENT_HEX)->IsChecked());
    };
    RunModal(dialog, [&] {
        look();
        Retype(c.Entry(), "481");
        Click(c.Box(res::IDC_CONTENT_DECIMAL));  // already decimal: stays so
        look();
        Click(c.Box(res::IDC_CONTENT_HEX));
        look();
        Click(c.Box(res::IDC_CONTENT_HEX));  // already hexadecimal
        look();
        Click(c.Box(res::IDC_CONTENT_DECIMAL));
        look();
        Retype(c.Entry(), "");
        Click(c.Box(res::IDC_CONTENT_HEX));
        look();
        Retype(c.Entry(), "");
        Click(c.Box(res::IDC_CONTENT_DECIMAL));
        look();
    });
    EXPECT_EQ(shown, (QStringList{" 1 0", "481 1 0", "0x1E1 0 1", "0x1E1 0 1", "481 1 0", "0x0 0 1",
                                  "0 1 0"}));
}

TEST(ContentDialog, PidsOutsideThirtyTwoTo8191AreRefusedWithTheRangeBox) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CContentSelectDlg dialog(R40);
    Controls c(dialog);
    QStringList accepted;
    RunModal(dialog, [&] {
        for (const char* typed : {"31", "8192", "0x20", "", "abc", "-40"}) c.Add(typed);
        for (const char* typed : {"32", "8191"}) c.Add(typed);
        accepted = c.Texts();
    });
    ASSERT_EQ(service.MessageBoxes().size(), 6u);
    for (const MessageBoxRequest& box : service.MessageBoxes()) {
        EXPECT_EQ(box.text, RANGE);
        EXPECT_EQ(box.type, MB_OK);  // an OK button and no icon
        EXPECT_EQ(box.caption, "R40 Management Console");
    }
    EXPECT_EQ(accepted, (QStringList{"32 (0x20)", "8191 (0x1FFF)"}));
}

// ---- The message label, Remove, Clear and the Add button --------------------------

TEST(ContentDialog, MessagesForADuplicateAndAMissingSelectionClearAfterTheirTime) {
    CContentSelectDlg dialog(R40);
    Controls c(dialog);
    QString duplicate;
    QString noSelection;
    qint64 shownFor = 0;
    QStringList listAfter;
    RunModal(dialog, [&] {
        c.Add("100");
        c.Add("0100");
        duplicate = c.Message();
        QElapsedTimer clock;
        clock.start();
        WaitUntil([&] { return c.Message().isEmpty(); });
        shownFor = clock.elapsed();
        Click(c.Button(res::IDC_CONTENT_REMOVE));
        noSelection = c.Message();
        listAfter = c.Texts();
    });
    EXPECT_EQ(duplicate, DUPLICATE);
    EXPECT_GE(shownFor, 1100);
    EXPECT_LT(shownFor, 2500);
    EXPECT_EQ(noSelection, "Please Select PID to Remove, Use Clear Button to Clear the List");
    EXPECT_EQ(listAfter, QStringList{"100 (0x64)"});
}

TEST(ContentDialog, AddButtonGoesAfterTheSeventeenthEntryForTheRestOfTheRun) {
    std::vector<Slot> sixteen;
    for (std::uint16_t pid = 100; pid < 116; ++pid) sixteen.push_back({pid});
    PidListRecord list = StandardList(sixteen);
    CContentSelectDlg dialog(R40);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    std::vector<bool> visible;
    int entries = 0;
    RunModal(dialog, [&] {
        visible.push_back(c.Button(res::IDC_CONTENT_ADD)->isVisible());
        c.Add("200");
        visible.push_back(c.Button(res::IDC_CONTENT_ADD)->isVisible());
        c.Select(100);
        Click(c.Button(res::IDC_CONTENT_REMOVE));
        visible.push_back(c.Button(res::IDC_CONTENT_ADD)->isVisible());
        Click(c.Button(res::IDC_CONTENT_CLEAR));
        visible.push_back(c.Button(res::IDC_CONTENT_ADD)->isVisible());
        entries = c.List()->GetCount();
    });
    EXPECT_EQ(visible, (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(entries, 0);
}

// A start list of 32 entries still shows the Add button; an Add is refused
// like an entry out of range and changes neither the list nor the record.
template <class Record>
void ExpectFullListRefusesAnAdd(std::uint16_t deviceType, Record list) {
    const Record before = list;
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    CContentSelectDlg dialog(deviceType);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    int entries = 0;
    const int result = RunModal(dialog, [&] {
        c.Add("7000");
        entries = c.List()->GetCount();
        QTest::keyClick(c.Entry(), Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(service.MessageBoxes().size(), 1u);
    EXPECT_EQ(service.MessageBoxes()[0].text, FULL);
    EXPECT_EQ(service.MessageBoxes()[0].type, MB_OK);
    EXPECT_EQ(entries, MAX_PIDS);
    EXPECT_TRUE(SameBytes(list, before));
}

TEST(ContentDialog, AFullListRefusesAnAddInEitherForm) {
    std::vector<Slot> full;
    for (std::uint16_t pid = 1000; pid < 1000 + MAX_PIDS; ++pid) full.push_back({pid});
    ExpectFullListRefusesAnAdd(R40, StandardList(full));
    ExpectFullListRefusesAnAdd(R40V, ForwardingList(full));
}

TEST(ContentDialog, ACountOutsideTheRecordIsHeldToItsThirtyTwoSlots) {
    std::vector<Slot> full;
    for (std::uint16_t pid = 40; pid < 40 + MAX_PIDS; ++pid) full.push_back({pid});
    for (const std::int32_t count : {-3, 0, 33, 1000000}) {
        PidListRecord standard = StandardList(full);
        standard.count = count;
        CContentSelectDlg dialog(R40);
        dialog.AttachPidList(&standard);
        Controls c(dialog);
        int entries = -1;
        RunModal(dialog, [&] {
            entries = c.List()->GetCount();
            Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
        });
        EXPECT_EQ(entries, count <= 0 ? 0 : MAX_PIDS) << count;
        EXPECT_EQ(standard.count, count <= 0 ? 0 : MAX_PIDS) << count;
    }
    TrevanPidListRecord forwarding = ForwardingList(full);
    forwarding.count = 40;
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&forwarding);
    Controls c(dialog);
    int entries = -1;
    RunModal(dialog, [&] {
        entries = c.List()->GetCount();
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_EQ(entries, MAX_PIDS);
    EXPECT_TRUE(SameBytes(forwarding, ForwardingList(full)));
}

// ---- The standard form -------------------------------------------------------------

TEST(ContentDialog, StandardListIsRebuiltInTheListsOrderWithControlOneOnlyOnOk) {
    PidListRecord list = StandardList({{100, 0}, {32, 7}, {2000, 0}});
    const PidListRecord start = list;
    {
        CContentSelectDlg cancelled(R40);
        cancelled.AttachPidList(&list);
        Controls c(cancelled);
        RunModal(cancelled, [&] {
            c.Add("481");
            Click(platform::window::qt::WidgetOf(cancelled.GetDlgItem(IDCANCEL)));
        });
        EXPECT_FALSE(cancelled.IsConfirmed());
        EXPECT_TRUE(SameBytes(list, start));
    }
    CContentSelectDlg dialog(R40);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    bool videoShown = true;
    RunModal(dialog, [&] {
        videoShown = c.Box(res::IDC_CONTENT_VIDEO_PID)->IsWindowVisible() ||
                     platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CONTENT_VIDEO_LABEL))
                         ->isVisible() ||
                     platform::window::qt::WidgetOf(dialog.GetDlgItem(res::IDC_CONTENT_VIDEO_FRAME))
                         ->isVisible();
        c.Add("481");
        // Enter in the entry box confirms the dialog; it does not add.
        Retype(c.Entry(), "555");
        QTest::keyClick(c.Entry(), Qt::Key_Return);
    });
    EXPECT_FALSE(videoShown);
    EXPECT_TRUE(dialog.IsConfirmed());
    // "100 (0x64)" < "2000 (0x7D0)" < "32 (0x20)" < "481 (0x1E1)" as text.
    PidListRecord expected = StandardList({{100, 1}, {2000, 1}, {32, 1}, {481, 1}});
    EXPECT_TRUE(SameBytes(list, expected));
}

TEST(ContentDialog, EachFormIsEditedOnlyWithinItselfWhateverTheDeviceType) {
    ScriptedDialogService service;
    ScopedDialogService installed(service);
    const PidDestination toB{{239, 1, 1, 2}, 5002};
    // A forwarding form for another type is rebuilt like the standard one;
    // each PID keeps its own destination as the list reorders it.
    TrevanPidListRecord forwarding = ForwardingList({{0x50, 0, toB}, {0x100, 1, {}}});
    CContentSelectDlg satellite(TYPE_TREVAN);
    satellite.AttachPidList(&forwarding);
    Controls s(satellite);
    bool videoShown = true;
    RunModal(satellite, [&] {
        videoShown = s.Box(res::IDC_CONTENT_VIDEO_PID)->IsWindowVisible();
        s.Add("0x40");  // decimal mode: 0
        s.Add("64");
        Click(platform::window::qt::WidgetOf(satellite.GetDlgItem(IDOK)));
    });
    EXPECT_FALSE(videoShown);
    // "256 (0x100)" < "64 (0x40)" < "80 (0x50)" as text.
    EXPECT_TRUE(SameBytes(forwarding, ForwardingList({{0x100}, {0x40}, {0x50, 1, toB}})));

    // A standard form given for an R40V has no room for destinations: no
    // video PID box, and nothing written past its 100 bytes.
    PidListRecord standard = StandardList({{0x100, 0}});
    CContentSelectDlg r40v(R40V);
    r40v.AttachPidList(&standard);
    Controls c(r40v);
    RunModal(r40v, [&] {
        videoShown = c.Box(res::IDC_CONTENT_VIDEO_PID)->IsWindowVisible();
        c.Add("4096");
        Click(platform::window::qt::WidgetOf(r40v.GetDlgItem(IDOK)));
    });
    EXPECT_FALSE(videoShown);
    EXPECT_TRUE(SameBytes(standard, StandardList({{0x100, 1}, {0x1000, 1}})));
}

// ---- The R40V's form with destinations ---------------------------------------------

const PidDestination TO_A{{239, 1, 1, 1}, 5001};
const PidDestination TO_B{{239, 1, 1, 2}, 5002};

TEST(ContentDialog, RemovingTheFirstOfThreeClosesTheGapOnOk) {
    TrevanPidListRecord list = ForwardingList({{0x100, 1, {}}, {0x200, 0, TO_A}, {0x300, 0, TO_B}});
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    RunModal(dialog, [&] {
        c.Select(0x100);
        Click(c.Button(res::IDC_CONTENT_REMOVE));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    ASSERT_TRUE(dialog.IsConfirmed());
    TrevanPidListRecord expected = ForwardingList({{0x200, 0, TO_A}, {0x300, 0, TO_B}});
    // The last slot moved up is left marked as removed, keeping its control byte.
    expected.pid[2] = PID_REMOVED;
    expected.control[2] = 0;
    EXPECT_TRUE(SameBytes(list, expected));
}

TEST(ContentDialog, VideoPidBoxSetsClearsAndCancelsADestination) {
    TrevanPidListRecord list = ForwardingList({{0x100}, {0x200}});
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    std::vector<TrevanPidListRecord> after;
    bool openedOnSelect = true;
    bool openedOnCheck = false;
    std::string pidShown;
    bool boxAfterCancel = true;
    RunModal(dialog, [&] {
        // No destination yet: selecting opens nothing.
        WhenVideoDialogOpens([](CConfVideoPIDDlg&) {}, &openedOnSelect);
        c.Select(0x200);
        QCoreApplication::processEvents();

        WhenVideoDialogOpens(
            [&](CConfVideoPIDDlg& video) {
                pidShown = video.GetDlgItemAs<StaticControl>(res::IDC_VIDEO_PID_TEXT)->Text();
                ConfirmDestination(video, {"239", "9", "9", "9"}, "1234");
            },
            &openedOnCheck);
        Click(c.Box(res::IDC_CONTENT_VIDEO_PID));
        after.push_back(list);

        Click(c.Box(res::IDC_CONTENT_VIDEO_PID));  // unchecked: back to a plain PID
        after.push_back(list);

        WhenVideoDialogOpens([](CConfVideoPIDDlg& video) {
            Click(platform::window::qt::WidgetOf(video.GetDlgItem(IDCANCEL)));
        });
        Click(c.Box(res::IDC_CONTENT_VIDEO_PID));
        boxAfterCancel = c.Box(res::IDC_CONTENT_VIDEO_PID)->IsChecked();
        after.push_back(list);
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDCANCEL)));
    });
    EXPECT_FALSE(openedOnSelect);
    EXPECT_TRUE(openedOnCheck);
    EXPECT_EQ(pidShown, "PID:  512");
    ASSERT_EQ(after.size(), 3u);
    TrevanPidListRecord marked = ForwardingList({{0x100}, {0x200, 0, {{239, 9, 9, 9}, 1234}}});
    EXPECT_TRUE(SameBytes(after[0], marked));
    EXPECT_TRUE(SameBytes(after[1], ForwardingList({{0x100}, {0x200}})));
    EXPECT_FALSE(boxAfterCancel);
    EXPECT_TRUE(SameBytes(after[2], ForwardingList({{0x100}, {0x200}})));
    // Cancel leaves the record as edited, unconfirmed.
    EXPECT_FALSE(dialog.IsConfirmed());
}

TEST(ContentDialog, SelectingAPidWithADestinationOpensItsDialogAtOnce) {
    TrevanPidListRecord list = ForwardingList({{0x100, 0, TO_A}, {0x200, 1, {}}});
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    bool opened = false;
    QString addressShown;
    QString portShown;
    bool boxChecked = false;
    RunModal(dialog, [&] {
        WhenVideoDialogOpens(
            [&](CConfVideoPIDDlg& video) {
                addressShown =
                    ToQString(video.GetDlgItemAs<IpAddressControl>(res::IDC_VIDEO_ADDRESS)->Text());
                portShown = qobject_cast<QLineEdit*>(platform::window::qt::WidgetOf(
                                                         video.GetDlgItem(res::IDC_VIDEO_PORT)))
                                ->text();
                ConfirmDestination(video, {"10", "0", "0", "7"}, "7000");
            },
            &opened);
        c.Select(0x100);
        boxChecked = c.Box(res::IDC_CONTENT_VIDEO_PID)->IsChecked();
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(addressShown, "239.1.1.1");
    EXPECT_EQ(portShown, "5001");
    EXPECT_TRUE(boxChecked);
    // The new destination; the control byte stays as it was.
    EXPECT_TRUE(
        SameBytes(list, ForwardingList({{0x100, 0, {{10, 0, 0, 7}, 7000}}, {0x200, 1, {}}})));
}

// Cancelled, the video PID dialog changes nothing: the slot keeps its
// destination and control byte, and the box stays checked.
TEST(ContentDialog, CancellingTheVideoPidDialogOfASelectedPidKeepsItAsItWas) {
    const TrevanPidListRecord before = ForwardingList({{0x100, 0, TO_A}, {0x200, 1, {}}});
    TrevanPidListRecord list = before;
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    bool opened = false;
    bool boxChecked = false;
    bool recordUntouched = false;
    RunModal(dialog, [&] {
        WhenVideoDialogOpens(
            [&](CConfVideoPIDDlg& video) {
                TypeAddress(video.GetDlgItemAs<IpAddressControl>(res::IDC_VIDEO_ADDRESS),
                            {"10", "0", "0", "7"});
                Click(platform::window::qt::WidgetOf(video.GetDlgItem(IDCANCEL)));
            },
            &opened);
        c.Select(0x100);
        boxChecked = c.Box(res::IDC_CONTENT_VIDEO_PID)->IsChecked();
        recordUntouched = SameBytes(list, before);
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(boxChecked);
    EXPECT_TRUE(recordUntouched) << "the cancelled dialog changed the slot while it ran";
    EXPECT_TRUE(SameBytes(list, before));
}

TEST(ContentDialog, AddsReuseRemovedSlotsAndClearFreesEverySlot) {
    TrevanPidListRecord list = ForwardingList({{0x100, 1, {}}, {0x200, 0, TO_B}});
    CContentSelectDlg dialog(R40V);
    dialog.AttachPidList(&list);
    Controls c(dialog);
    TrevanPidListRecord afterAdds{};
    RunModal(dialog, [&] {
        c.Select(0x100);
        Click(c.Button(res::IDC_CONTENT_REMOVE));
        c.Add("768");   // 0x300 takes the removed slot 0
        c.Add("1024");  // 0x400 the first free slot after the count
        afterAdds = list;
        Click(c.Button(res::IDC_CONTENT_CLEAR));
        Click(platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK)));
    });
    EXPECT_TRUE(
        SameBytes(afterAdds, ForwardingList({{0x300, 1, {}}, {0x200, 0, TO_B}, {0x400, 1, {}}})));
    TrevanPidListRecord cleared =
        ForwardingList({{NULL_PID, 1, {}}, {NULL_PID, 0, {}}, {NULL_PID, 1, {}}});
    cleared.count = 0;
    EXPECT_TRUE(SameBytes(list, cleared));
}

}  // namespace
