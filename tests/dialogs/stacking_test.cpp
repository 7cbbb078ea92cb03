// On a real X server without a window manager nothing but the program orders
// its windows: a modal dialog must end up above the window it blocks, and be
// seen there, whatever its placement asks of the Z order.
#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "dialog_test_support.h"
#include "dialogs/channel_select_dialog.h"
#include "dialogs/content_select_dialog.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "dialogs/video_pid_dialog.h"
#include "platform/window/qt/native.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"

using platform::window::qt::WidgetOf;

namespace {

using namespace dialogs_test;

// The X server's top-level windows, bottom first.
std::vector<xcb_window_t> StackingOrder() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr) return {};
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, screen->root), nullptr),
        &std::free);
    if (!tree) return {};
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return std::vector<xcb_window_t>(children,
                                     children + xcb_query_tree_children_length(tree.get()));
}

// Whether `upper` lies above `lower` in the server's stacking order.
bool IsAbove(QWidget* upper, QWidget* lower) {
    const std::vector<xcb_window_t> order = StackingOrder();
    const auto at = [&order](QWidget* w) {
        return std::find(order.begin(), order.end(), static_cast<xcb_window_t>(w->winId()));
    };
    return at(upper) != order.end() && at(lower) != order.end() && at(upper) > at(lower);
}

// Whether the screen shows `window`'s own picture in the part `area` (window
// coordinates), i.e. nothing else covers it there.
bool ScreenShows(QWidget* window, const QRect& area) {
    QCoreApplication::processEvents();
    const QPoint origin = window->mapToGlobal(area.topLeft());
    const QImage onScreen = QGuiApplication::primaryScreen()
                                ->grabWindow(0, origin.x(), origin.y(), area.width(), area.height())
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
    const QImage own = window->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    return !onScreen.isNull() && onScreen == own;
}

// A window standing in for the configuration menu, shown and mapped.
struct StandIn {
    explicit StandIn(QPoint at) {
        created = menu.Create();
        menu.MoveTo(at.x(), at.y());
        menu.ShowWindow(SW_SHOW);
        exposed = QTest::qWaitForWindowExposed(WidgetOf(menu));
    }
    Dialog menu{res::FindDialogTemplate(res::IDD_CONFIG_MENU)};
    bool created = false;
    bool exposed = false;
};

struct Seen {
    bool exposed = false;
    bool above = false;
    bool visible = false;
    Rect rect;
};

// Runs `dialog` modally and records, once it is on screen, whether it lies
// above `other` and shows its OK button unhidden; then cancels it.
Seen RunAndLook(Dialog& dialog, QWidget* other) {
    Seen seen;
    RunModal(dialog, [&] {
        seen.exposed = QTest::qWaitForWindowExposed(WidgetOf(dialog));
        WaitUntil([] { return false; }, 100);  // let the server settle
        seen.above = IsAbove(WidgetOf(dialog), other);
        seen.visible = ScreenShows(
            WidgetOf(dialog), platform::window::qt::WidgetOf(dialog.GetDlgItem(IDOK))->geometry());
        seen.rect = dialog.GetWindowRect();
        QTest::keyClick(WidgetOf(dialog), Qt::Key_Escape);
    });
    return seen;
}

TEST(Stacking, NetworkDialogBesideTheMenuIsAboveItAndSeen) {
    StandIn standIn(QPoint(60, 80));
    ASSERT_TRUE(standIn.created && standIn.exposed);
    dialogs::CNetCfgDlgSkined dialog;
    dialog.SetAnchorRect(standIn.menu.GetWindowRect());
    const Seen seen = RunAndLook(dialog, WidgetOf(standIn.menu));
    EXPECT_TRUE(seen.exposed);
    EXPECT_EQ(seen.rect.left, standIn.menu.GetWindowRect().right);
    EXPECT_EQ(seen.rect.top, 80);
    EXPECT_TRUE(seen.above);
    EXPECT_TRUE(seen.visible);
}

TEST(Stacking, DialogsAskedToStandBehindTheirOwnerStayAboveIt) {
    StandIn standIn(QPoint(60, 80));
    ASSERT_TRUE(standIn.created && standIn.exposed);
    dialogs::CChannelSelectDlg channel;
    channel.SetOwnerReference(standIn.menu.Handle());
    const Seen channelSeen = RunAndLook(channel, WidgetOf(standIn.menu));
    EXPECT_TRUE(channelSeen.above);
    EXPECT_TRUE(channelSeen.visible);

    dialogs::CResetConfirmWindow reset;
    reset.SetOwnerReference(standIn.menu.Handle());
    const Seen resetSeen = RunAndLook(reset, WidgetOf(standIn.menu));
    EXPECT_TRUE(resetSeen.above);
    EXPECT_TRUE(resetSeen.visible);
}

TEST(Stacking, VideoPidDialogOnItsOwnersCornerCoversItVisibly) {
    // The owner is larger than the dialog, so the dialog lies wholly on it.
    Dialog owner(res::FindDialogTemplate(res::IDD_LOAD_SAVE));
    ASSERT_TRUE(owner.Create());
    owner.MoveTo(300, 200);
    owner.ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(owner)));
    dialogs::CConfVideoPIDDlg dialog;
    dialog.SetOwnerReference(owner.Handle());
    const Seen seen = RunAndLook(dialog, WidgetOf(owner));
    EXPECT_EQ(seen.rect.left, 300);
    EXPECT_EQ(seen.rect.top, 200);
    EXPECT_TRUE(seen.above);
    EXPECT_TRUE(seen.visible);
}

TEST(Stacking, VideoPidDialogOpenedFromTheContentDialogIsSeenOverIt) {
    TrevanPidListRecord list{};
    for (auto& pid : list.pid) pid = NULL_PID;
    list.pid[0] = 481;
    list.destination[0] = PidDestination{{239, 1, 1, 1}, 5000};
    list.count = 1;
    dialogs::CContentSelectDlg content(TYPE_R40_TREVAN);
    content.AttachPidList(&list);
    Seen seen;
    bool opened = false;
    Rect contentRect;
    RunModal(content, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetOf(content)));
        contentRect = content.GetWindowRect();
        QTimer::singleShot(0, [&] {
            auto* video = Shown<dialogs::CConfVideoPIDDlg>();
            opened = video != nullptr;
            if (!opened) return;
            seen.exposed = QTest::qWaitForWindowExposed(WidgetOf(*video));
            WaitUntil([] { return false; }, 100);
            seen.above = IsAbove(WidgetOf(*video), WidgetOf(content));
            seen.visible =
                ScreenShows(WidgetOf(*video),
                            platform::window::qt::WidgetOf(video->GetDlgItem(IDOK))->geometry());
            seen.rect = video->GetWindowRect();
            QTest::keyClick(WidgetOf(*video), Qt::Key_Escape);
        });
        // Selecting the PID with a destination opens its dialog at once.
        auto* entries = content.GetDlgItemAs<ListBoxControl>(res::IDC_CONTENT_PID_LIST);
        ClickListEntry(entries, 0);
        QTest::keyClick(WidgetOf(content), Qt::Key_Escape);
    });
    ASSERT_TRUE(opened);
    EXPECT_EQ(seen.rect.left, contentRect.left);
    EXPECT_EQ(seen.rect.top, contentRect.top);
    EXPECT_TRUE(seen.above);
    EXPECT_TRUE(seen.visible);
}

}  // namespace
