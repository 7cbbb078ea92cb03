// The real console window, offscreen, with emulated receivers on loopback.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/halden_dlg.h"
#include "console/status_panel.h"
#include "platform/window/button_control.h"
#include "platform/window/combo_box_control.h"
#include "platform/window/images.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "resources/ids.h"
#include "sim/emulated_receiver.h"
#include "skin/transparent_static.h"

// Texts in test failures as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace console_test {

using namespace std::chrono_literals;
namespace window = platform::window;

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

inline void Pump(int ms) {
    WaitUntil([] { return false; }, ms);
}

// The console's texts are UTF-8 strings.
inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Runs `act` on the topmost modal dialog made from template `templateId` as
// soon as it is shown: from inside the modal run that the press started.
inline void WhenDialogOpens(int templateId, std::function<void(window::Dialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, templateId, act] {
        auto* modal = dynamic_cast<window::Dialog*>(
            platform::window::qt::WindowOf(QApplication::activeModalWidget()));
        if (modal == nullptr || !modal->IsWindowVisible() || modal->Template() == nullptr ||
            modal->Template()->id != templateId)
            return;
        timer->stop();
        timer->deleteLater();
        act(*modal);
    });
    timer->start();
}

inline void Click(window::Dialog& dialog, int id) {
    QWidget* control = platform::window::qt::WidgetOf(dialog.GetDlgItem(id));
    ASSERT_NE(control, nullptr) << id;
    QTest::mouseClick(control, Qt::LeftButton);
}

inline void TypeInto(window::Dialog& dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(platform::window::qt::WidgetOf(dialog.GetDlgItem(id)));
    ASSERT_NE(edit, nullptr) << id;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, c.toLatin1());
            continue;
        }
        // QTest maps only ASCII to keys; a letter beyond it comes as the
        // text of a key without a code, as an input method sends it.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(edit, &press);
    }
}

inline std::string FileText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The colour in the middle of an indicator's icon.
inline QColor IndicatorColour(window::ButtonControl* indicator) {
    const QPixmap pixmap = window::ToQPixmap(indicator->GetIcon().ImageNear({8, 8}));
    if (pixmap.isNull()) return {};
    const QImage image = pixmap.toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

inline const QColor GREEN{0, 255, 0};
inline const QColor DARK_GREEN{0, 128, 0};
inline const QColor RED{255, 0, 0};

class Console : public ::testing::Test {
  protected:
    void SetUp() override {
        r40 = Start(sim::Model::R40, {127, 0, 0, 20});
        r40v = Start(sim::Model::R40V, {127, 0, 0, 21});
        t22 = Start(sim::Model::T22V3, {127, 0, 0, 22});
        dialog = std::make_unique<console::CHaldenDlg>();
        ASSERT_TRUE(dialog->Create());
        dialog->ShowWindow(window::SW_SHOW);
    }
    void TearDown() override {
        if (dialog && dialog->HasWindow() && !dialog->ShutDownDone()) Shut();
        dialog.reset();
    }

    std::unique_ptr<sim::EmulatedReceiver> Start(sim::Model model, sim::Ipv4 address) {
        sim::ReceiverConfig config = sim::ReceiverConfig::For(model, address);
        config.statusInterval = 50ms;
        auto rx = std::make_unique<sim::EmulatedReceiver>(config);
        std::string error;
        EXPECT_TRUE(rx->Start(&error)) << error;
        return rx;
    }

    // Runs the shut-down as Escape would.
    void Shut() { dialog->DispatchCommand(window::IDCANCEL, window::BN_CLICKED); }

    window::ComboBoxControl* Combo() {
        return dialog->GetDlgItemAs<window::ComboBoxControl>(res::IDC_MAIN_DEVICE_LIST);
    }
    window::ButtonControl* LockIndicator() {
        return dialog->GetDlgItemAs<window::ButtonControl>(res::IDC_MAIN_LOCK_INDICATOR);
    }
    window::ButtonControl* DataIndicator() {
        return dialog->GetDlgItemAs<window::ButtonControl>(res::IDC_MAIN_DATA_INDICATOR);
    }

    bool WaitForDevices(int count, int timeoutMs = 8000) {
        return WaitUntil(
            [&] { return Combo()->GetCount() >= count && dialog->Devices().count >= count; },
            timeoutMs);
    }

    int ItemOf(const std::string& address) {
        for (int i = 0; i < Combo()->GetCount(); ++i)
            if (Combo()->GetLBText(i).find("(" + address + ")") != std::string::npos) return i;
        return -1;
    }

    // Picks the device at `address` in the list as the operator would.
    void Select(const std::string& address) {
        ASSERT_TRUE(WaitForDevices(3));
        const int item = ItemOf(address);
        ASSERT_GE(item, 0) << address;
        dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_DROPDOWN);
        Combo()->SetCurSel(item);
        dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_SELENDOK);
        dialog->DispatchCommand(res::IDC_MAIN_DEVICE_LIST, window::CBN_CLOSEUP);
    }

    bool WaitForOnline(int timeoutMs = 5000) {
        return WaitUntil(
            [&] {
                return Contains(dialog->MessageText(), "Device Status: Online") &&
                       dialog->GetOpenDevice() != nullptr;
            },
            timeoutMs);
    }

    void Press(int id) { dialog->DispatchCommand(id, window::BN_CLICKED); }

    QString PanelText(int id) {
        auto* label = dialog->StatusPanel()->GetDlgItemAs<skin::CTransparentStatic>(id);
        return label ? QString::fromStdString(label->Text()) : QString();
    }

    std::unique_ptr<sim::EmulatedReceiver> r40, r40v, t22;
    std::unique_ptr<console::CHaldenDlg> dialog;
};

// The console working in a temporary directory of its own, where its
// last-used file lands.
class ConsoleInWorkDir : public Console {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_workDir.isValid());
        m_oldDir = QDir::currentPath();
        QDir::setCurrent(m_workDir.path());
        Console::SetUp();
    }
    void TearDown() override {
        Console::TearDown();
        QDir::setCurrent(m_oldDir);
    }
    std::string InWorkDir(const char* name) const { return m_workDir.filePath(name).toStdString(); }

    QTemporaryDir m_workDir;
    QString m_oldDir;
};

}  // namespace console_test
