// Helpers of the dialog tests: acting inside a modal run, and operating the
// controls with the keyboard and the mouse as an operator would.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/window/dialog.h"
#include "platform/window/geometry.h"
#include "platform/window/ip_address_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/ip_address_host.h"
#include "platform/window/qt/list_box_host.h"
#include "platform/window/qt/native.h"

namespace dialogs_test {

using namespace platform::window;

// What RunModal returns when the actions left the dialog open.
inline constexpr int STILL_RUNNING = -99;

// Runs `dialog` modally and does `act` once the run is going. A run that
// `act` leaves open is ended with STILL_RUNNING, so that a failing test
// never waits for an operator.
inline int RunModal(Dialog& dialog, std::function<void()> act) {
    QTimer::singleShot(0, [&dialog, act = std::move(act)] {
        act();
        if (dialog.IsModalRunning()) dialog.EndDialog(STILL_RUNNING);
    });
    // A dialog that `act` opened unexpectedly (and so waits inside it) is
    // ended too, innermost first.
    QTimer watchdog;
    watchdog.setInterval(10000);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            if (auto* open = dynamic_cast<Dialog*>(platform::window::qt::WindowOf(*it));
                open && open->IsModalRunning()) {
                ADD_FAILURE() << "a dialog was left open";
                open->EndDialog(STILL_RUNNING);
                return;
            }
    });
    watchdog.start();
    return dialog.DoModal();
}

// Processes events until `done` holds or `timeoutMs` has passed.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The shown top-level window of class T (the innermost modal dialog).
template <class T>
T* Shown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* found = dynamic_cast<T*>(platform::window::qt::WindowOf(widget));
            found != nullptr && found->IsWindowVisible())
            return found;
    return nullptr;
}

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

inline void Click(platform::window::Window* window) {
    Click(platform::window::qt::WidgetOf(*window));
}

// Replaces a line edit's text by typing: End, Backspace over every
// character, then the new text.
inline void Retype(QLineEdit* edit, const QString& text) {
    edit->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(edit, Qt::Key_End);
    for (qsizetype i = edit->text().size(); i > 0; --i) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Field editor `index` of an address control, which the operator types into.
inline QLineEdit* AddressField(IpAddressControl* control, int index) {
    return qt::IpAddressField(*control, index);
}

// Types the four numbers of an address, one field after the other; an
// empty number leaves its field blank.
inline void TypeAddress(IpAddressControl* control, const QStringList& numbers) {
    for (int i = 0; i < 4; ++i) Retype(AddressField(control, i), numbers.value(i));
}

inline void ClickListEntry(ListBoxControl* list, int index) {
    QTest::mouseClick(qt::ListWidgetOf(*list)->viewport(), Qt::LeftButton, Qt::NoModifier,
                      ToQRect(list->GetItemRect(index)).center());
}

// Screen rectangle of a window, frame included.
inline Rect WindowRect(const QWidget* window) {
    return FromQRect(window->frameGeometry());
}

}  // namespace dialogs_test
