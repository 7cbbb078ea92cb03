// Messages posted to windows by handle: delivered on the window's thread,
// dropped (with their payload freed) once the window is gone, never
// delivered to a later window of the same object.
#include <gtest/gtest.h>

#include <QThread>

#include <atomic>
#include <memory>
#include <thread>

#include "platform/window/window_handle.h"
#include "platform/window/worker_thread.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "tests/window/window_recorder.h"
#include "window_test_support.h"

namespace {

using namespace window_test;

constexpr unsigned WM_TEST = WM_APP + 1;

using window_checks::Record;

const DialogTemplate* PanelTemplate() {
    return res::FindDialogTemplate(res::IDD_STATUS_PANEL);
}

TEST(PostedMessage, ReachesTheWindowOnItsOwnThreadWithTheRecord) {
    RecordingDialog dialog(PanelTemplate());
    ASSERT_TRUE(dialog.Create());
    int received = 0;
    Qt::HANDLE handlerThread = nullptr;
    dialog.MapMessage(WM_TEST, [&](Message& m) -> std::intptr_t {
        auto record = m.payload.Take<Record>();
        received = record ? record->value : -1;
        EXPECT_EQ(m.wParam, 1u);
        handlerThread = QThread::currentThreadId();
        return 0;
    });
    std::atomic<bool> posted{false};
    std::thread worker([&, handle = dialog.Handle()] {
        posted = PostMessage(handle, WM_TEST, 1, 0, std::make_unique<Record>(42));
    });
    worker.join();
    EXPECT_TRUE(posted);
    ASSERT_TRUE(WaitUntil([&] { return received != 0; }));
    EXPECT_EQ(received, 42);
    EXPECT_EQ(handlerThread, QThread::currentThreadId());
    EXPECT_EQ(Record::alive, 0);
}

TEST(PostedMessage, ToADestroyedWindowIsDroppedAndFreesItsRecord) {
    WindowHandle handle;
    {
        RecordingDialog dialog(PanelTemplate());
        ASSERT_TRUE(dialog.Create());
        handle = dialog.Handle();
        ASSERT_TRUE(handle);
    }
    EXPECT_EQ(FromHandle(handle), nullptr);
    EXPECT_FALSE(PostMessage(handle, WM_TEST, 1, 0, std::make_unique<Record>(1)));
    EXPECT_EQ(Record::alive, 0);

    // The same from a worker thread.
    std::atomic<int> result{-1};
    std::thread worker(
        [&] { result = PostMessage(handle, WM_TEST, 1, 0, std::make_unique<Record>(2)) ? 1 : 0; });
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Record::alive, 0);
}

TEST(PostedMessage, QueuedBeforeTheWindowWentIsNeverHandled) {
    RecordingDialog dialog(PanelTemplate());
    ASSERT_TRUE(dialog.Create());
    int handled = 0;
    dialog.MapMessage(WM_TEST, [&](Message&) -> std::intptr_t { return ++handled; });
    const WindowHandle first = dialog.Handle();
    ASSERT_TRUE(PostMessage(first, WM_TEST, 0, 0, std::make_unique<Record>(3)));
    dialog.DestroyWindow();
    // A new window of the same object gets a new handle: the old message
    // and the old handle do not reach it.
    ASSERT_TRUE(dialog.Create());
    EXPECT_NE(dialog.Handle(), first);
    EXPECT_FALSE(PostMessage(first, WM_TEST));
    Pump(50);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(Record::alive, 0);
    EXPECT_TRUE(PostMessage(dialog.Handle(), WM_TEST));
    EXPECT_TRUE(WaitUntil([&] { return handled == 1; }));
}

TEST(PostedMessage, ObjectDeletedWithMessagesQueuedFreesThem) {
    auto dialog = std::make_unique<RecordingDialog>(PanelTemplate());
    ASSERT_TRUE(dialog->Create());
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(PostMessage(dialog->Handle(), WM_TEST, 0, 0, std::make_unique<Record>(i)));
    EXPECT_EQ(Record::alive, 10);
    dialog.reset();
    Pump(20);
    EXPECT_EQ(Record::alive, 0);
}

TEST(PostedMessage, WorkersPostingWhileTheWindowDiesNeverTouchIt) {
    // Workers keep posting while the user-interface thread destroys the
    // window; under the sanitizers any use of the dead window would show.
    std::atomic<bool> stop{false};
    std::atomic<int> refused{0};
    for (int round = 0; round < 5; ++round) {
        auto dialog = std::make_unique<RecordingDialog>(PanelTemplate());
        ASSERT_TRUE(dialog->Create());
        std::atomic<int> handled{0};
        dialog->MapMessage(WM_TEST, [&](Message&) -> std::intptr_t { return ++handled; });
        const WindowHandle handle = dialog->Handle();
        stop = false;
        std::thread a([&] {
            while (!stop)
                if (!PostMessage(handle, WM_TEST, 0, 0, std::make_unique<Record>(0))) ++refused;
        });
        std::thread b([&] {
            while (!stop)
                if (!PostMessage(handle, WM_TEST)) ++refused;
        });
        // Messages flow before the window goes (a loaded machine may take a
        // while to start the threads).
        for (int i = 0; i < 200 && handled.load() == 0; ++i) Pump(10);
        Pump(10);
        dialog.reset();
        Pump(5);
        stop = true;
        a.join();
        b.join();
        Pump(5);
        EXPECT_GT(handled.load(), 0);
    }
    EXPECT_GT(refused.load(), 0);
    EXPECT_EQ(Record::alive, 0);
}

TEST(PostedMessage, PayloadIsTakenOnlyAsItsOwnType) {
    MessagePayload payload(std::make_unique<Record>(7));
    EXPECT_FALSE(payload.Holds<int>());
    EXPECT_EQ(payload.Take<int>(), nullptr);
    EXPECT_TRUE(payload.Holds<Record>());
    auto record = payload.Take<Record>();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 7);
    EXPECT_TRUE(payload.Empty());
    EXPECT_EQ(payload.Take<Record>(), nullptr);
}

TEST(PostedMessage, SendMessageRunsTheHandlerAtOnceOnlyOnTheWindowThread) {
    RecordingDialog dialog(PanelTemplate());
    ASSERT_TRUE(dialog.Create());
    dialog.MapMessage(WM_TEST, [](Message& m) -> std::intptr_t { return m.lParam * 2; });
    EXPECT_EQ(SendMessage(dialog.Handle(), WM_TEST, 0, 21), 42);
    std::intptr_t fromWorker = -1;
    std::thread worker([&, h = dialog.Handle()] { fromWorker = SendMessage(h, WM_TEST, 0, 21); });
    worker.join();
    EXPECT_EQ(fromWorker, 0);
    EXPECT_EQ(SendMessage(WindowHandle(), WM_TEST, 0, 21), 0);
}

TEST(PostedMessage, HandlesAreNeverReused) {
    RecordingDialog a(PanelTemplate());
    ASSERT_TRUE(a.Create());
    const WindowHandle first = a.Handle();
    a.DestroyWindow();
    EXPECT_FALSE(a.Handle());
    RecordingDialog b(PanelTemplate());
    ASSERT_TRUE(b.Create());
    EXPECT_NE(b.Handle(), first);
    EXPECT_EQ(FromHandle(first), nullptr);
    EXPECT_EQ(FromHandle(b.Handle()), &b);
}

TEST(WorkerThread, RunsWithTheWindowHandleAndReportsByPosting) {
    RecordingDialog dialog(PanelTemplate());
    ASSERT_TRUE(dialog.Create());
    std::atomic<bool> sawHandle{false};
    int reported = 0;
    dialog.MapMessage(WM_TEST, [&](Message& m) -> std::intptr_t {
        reported = static_cast<int>(m.lParam);
        return 0;
    });
    ASSERT_TRUE(BeginWorkerThread(
        [&, expected = dialog.Handle()](WindowHandle window) {
            sawHandle = window == expected;
            PostMessage(window, WM_TEST, 0, 99);
        },
        dialog.Handle()));
    WaitForWorkerThreads();
    EXPECT_TRUE(sawHandle);
    EXPECT_EQ(RunningWorkerThreads(), 0);
    EXPECT_TRUE(WaitUntil([&] { return reported == 99; }));
}

TEST(WorkerThread, AnExceptionEndsOnlyThatWorker) {
    ASSERT_TRUE(BeginWorkerThread([](WindowHandle) { throw std::runtime_error("lost device"); },
                                  WindowHandle()));
    std::atomic<bool> ran{false};
    ASSERT_TRUE(BeginWorkerThread([&](WindowHandle) { ran = true; }, WindowHandle()));
    WaitForWorkerThreads();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(BeginWorkerThread(WorkerBody(), WindowHandle()));
}

}  // namespace
