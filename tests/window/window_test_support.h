// Helpers of the window tests: a dialog that records what reaches it, event
// processing with a deadline, and where rendered pictures go.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <vector>

#include "platform/window/dialog.h"
#include "platform/window/qt/painting.h"

namespace window_test {

using namespace platform::window;

// Processes events until `done` holds or `timeoutMs` has passed.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Processes events for `ms` milliseconds.
inline void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Makes `window` the active window, so that focus and keys work as for an
// operator. False when the platform would not activate it.
bool Activate(QWidget* window);

// The folder in the build tree where renders are written.
QString RenderDir();

struct Command {
    int id;
    int code;
};

// A dialog that records its commands, timer ticks and init calls.
class RecordingDialog : public Dialog {
  public:
    using Dialog::Dialog;

    std::vector<Command> commands;
    std::vector<int> ticks;
    int initCalls = 0;
    std::function<void()> onInit;
    std::function<void(int)> onTimer;

    using Dialog::PreTranslateMessage;

  protected:
    bool OnInitDialog() override {
        ++initCalls;
        if (onInit) onInit();
        return true;
    }
    bool OnCommand(int id, int code) override {
        commands.push_back({id, code});
        return Dialog::OnCommand(id, code);
    }
    void OnTimer(int id) override {
        ticks.push_back(id);
        if (onTimer) onTimer(id);
    }
};

}  // namespace window_test
