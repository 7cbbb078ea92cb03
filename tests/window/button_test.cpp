// Buttons as windows: the native control each kind gets, the pushes its
// host reports (once per push, by mouse or Space), and the text, check
// state and pushed state that live in the native control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/button_control.h"
#include "platform/window/qt/native.h"
#include "platform/window/styles.h"
#include "resources/dialog_templates.h"
#include "resources/ids.h"
#include "window_test_support.h"

namespace {

using namespace window_test;
using platform::window::qt::WidgetOf;

// Writes down each push it is told of, and whether it was down by then.
template <class Base>
class Recording : public Base {
  public:
    std::vector<std::string> log;

  protected:
    void OnPushStarted() override {
        log.push_back((this->GetState() & BST_PUSHED) != 0 ? "start, pushed" : "start, up");
    }
    void OnPushEnded() override { log.push_back("end"); }
};

// A button class that paints itself, as the skin's buttons do.
class RecordingSelfPainting : public Recording<ButtonControl> {
  public:
    RecordingSelfPainting() { SetPaintsItself(); }

  protected:
    void OnPaint(DeviceContext&) override {}
};

enum class Kind { Push, CheckBox, PaintsItself };

std::unique_ptr<ButtonControl> Make(Kind kind, std::vector<std::string>*& log) {
    switch (kind) {
        case Kind::Push: {
            auto button = std::make_unique<Recording<ButtonControl>>();
            log = &button->log;
            return button;
        }
        case Kind::CheckBox: {
            auto box = std::make_unique<Recording<CheckBoxControl>>();
            log = &box->log;
            return box;
        }
        case Kind::PaintsItself: {
            auto own = std::make_unique<RecordingSelfPainting>();
            log = &own->log;
            return own;
        }
    }
    return nullptr;
}

void Move(QWidget* widget, QPoint at, Qt::MouseButtons held) {
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, held,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void AutoRepeatSpace(QWidget* widget) {
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(widget, &repeat);
}

void LoseFocus(QWidget* widget) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(widget, &out);
}

TEST(ButtonPushes, EachPushIsReportedOnceFromStartToEnd) {
    const QPoint in(5, 5), out(70, 70);
    struct Gesture {
        const char* name;
        std::function<void(QWidget*)> act;
        std::vector<std::string> expected;
    };
    const std::vector<std::string> onePush = {"start, pushed", "end"};
    const Gesture gestures[] = {
        {"a click", [&](QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, in); }, onePush},
        {"two clicks",
         [&](QWidget* w) {
             QTest::mouseClick(w, Qt::LeftButton, {}, in);
             QTest::mouseClick(w, Qt::LeftButton, {}, in);
         },
         {"start, pushed", "end", "start, pushed", "end"}},
        {"dragged out and back in twice, let go outside",
         [&](QWidget* w) {
             QTest::mousePress(w, Qt::LeftButton, {}, in);
             for (const QPoint at : {out, in, out, in, out}) Move(w, at, Qt::LeftButton);
             QTest::mouseRelease(w, Qt::LeftButton, {}, out);
         },
         onePush},
        {"the right button is no push",
         [&](QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, in); },
         {}},
        {"Space held with auto-repeat",
         [&](QWidget* w) {
             QTest::keyPress(w, Qt::Key_Space);
             AutoRepeatSpace(w);
             AutoRepeatSpace(w);
             QTest::keyRelease(w, Qt::Key_Space);
         },
         onePush},
        {"Space, then the focus goes (the key is let go elsewhere)",
         [&](QWidget* w) {
             QTest::keyPress(w, Qt::Key_Space);
             LoseFocus(w);
         },
         onePush},
    };
    const std::pair<Kind, const char*> kinds[] = {
        {Kind::Push, "push button"},
        {Kind::CheckBox, "check box"},
        {Kind::PaintsItself, "button that paints itself"},
    };
    for (const auto& [kind, kindName] : kinds) {
        for (const Gesture& gesture : gestures) {
            SCOPED_TRACE(std::string(kindName) + ", " + gesture.name);
            std::vector<std::string>* log = nullptr;
            std::unique_ptr<ButtonControl> button = Make(kind, log);
            ASSERT_TRUE(button->Create("Go", 0, Rect::FromSize(0, 0, 40, 20)));
            QWidget* widget = WidgetOf(*button);
            gesture.act(widget);
            EXPECT_EQ(*log, gesture.expected);
            EXPECT_EQ(button->GetState() & BST_PUSHED, 0u);
        }
    }
}

TEST(Buttons, EachKindGetsItsNativeControl) {
    struct Case {
        Kind kind;
        std::uint32_t style;
        bool push, checkBox;
    };
    const Case cases[] = {
        {Kind::Push, BS_PUSHBUTTON, true, false},
        {Kind::Push, BS_AUTOCHECKBOX, false, true},  // a check box by its style
        {Kind::CheckBox, 0, false, true},
        // A class that paints itself draws every state: no Qt button look.
        {Kind::PaintsItself, BS_PUSHBUTTON, false, false},
        {Kind::PaintsItself, BS_AUTOCHECKBOX, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind) * 100 + static_cast<int>(c.style));
        std::vector<std::string>* log = nullptr;
        std::unique_ptr<ButtonControl> button = Make(c.kind, log);
        ASSERT_TRUE(button->Create("", c.style, Rect::FromSize(0, 0, 40, 20)));
        QWidget* widget = WidgetOf(*button);
        EXPECT_NE(qobject_cast<QAbstractButton*>(widget), nullptr);
        EXPECT_EQ(qobject_cast<QPushButton*>(widget) != nullptr, c.push);
        EXPECT_EQ(qobject_cast<QCheckBox*>(widget) != nullptr, c.checkBox);
        EXPECT_FALSE(button->Create("", c.style, Rect::FromSize(0, 0, 40, 20)));
    }
}

TEST(Buttons, TextAndCheckStateLiveInTheNativeControl) {
    struct Case {
        const char* name;
        std::unique_ptr<ButtonControl> button;
        int checkAfterSetCheck;
        int checkAfterClick;
    };
    Case cases[] = {
        // Push buttons are never checked, as BM_SETCHECK leaves them alone.
        {"push button", std::make_unique<ButtonControl>(), BST_UNCHECKED, BST_UNCHECKED},
        {"check box", std::make_unique<CheckBoxControl>(), BST_CHECKED, BST_UNCHECKED},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        ButtonControl& button = *c.button;
        // Without a window there is nothing to read.
        button.SetWindowText("lost");
        EXPECT_EQ(button.GetWindowText(), "");
        EXPECT_EQ(button.GetCheck(), BST_UNCHECKED);
        EXPECT_EQ(button.GetState(), 0u);

        ASSERT_TRUE(
            button.Create("&\xC3\x96"
                          "ffnen",
                          0, Rect::FromSize(0, 0, 60, 20)));
        auto* native = qobject_cast<QAbstractButton*>(WidgetOf(button));
        ASSERT_NE(native, nullptr);
        EXPECT_EQ(button.GetWindowText(),
                  "&\xC3\x96"
                  "ffnen");
        EXPECT_EQ(native->text(), QStringLiteral("&Öffnen"));
        button.SetWindowText("Speichern");
        EXPECT_EQ(native->text(), QStringLiteral("Speichern"));
        EXPECT_TRUE(native->windowTitle().isEmpty());

        button.SetCheck(BST_CHECKED);
        EXPECT_EQ(button.GetCheck(), c.checkAfterSetCheck);
        EXPECT_EQ((button.GetState() & BST_CHECKED) != 0, c.checkAfterSetCheck == BST_CHECKED);
        QTest::mouseClick(native, Qt::LeftButton, {}, QPoint(5, 10));
        EXPECT_EQ(button.GetCheck(), c.checkAfterClick);
    }
}

TEST(Buttons, ASelfPaintingClassReplacesADialogsButtonAndStillClicks) {
    RecordingDialog dialog(res::FindDialogTemplate(res::IDD_CONFIG_MENU));
    ASSERT_TRUE(dialog.Create());
    auto* button = dialog.SubclassDlgItem<RecordingSelfPainting>(res::IDC_MENU_RESET);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(dialog.GetDlgItemAs<RecordingSelfPainting>(res::IDC_MENU_RESET), button);
    QWidget* widget = WidgetOf(*button);
    EXPECT_EQ(qobject_cast<QPushButton*>(widget), nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(button->log, (std::vector<std::string>{"start, pushed", "end"}));
    ASSERT_EQ(dialog.commands.size(), 1u);
    EXPECT_EQ(dialog.commands[0].id, res::IDC_MENU_RESET);
    EXPECT_EQ(dialog.commands[0].code, BN_CLICKED);
}

}  // namespace
