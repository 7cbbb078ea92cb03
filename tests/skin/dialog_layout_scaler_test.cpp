// The dialog layout scaler: font height, base units and rounding, the walk
// over the children that stops at the first missing control, and Restore.
#include <QFontInfo>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/window/qt/control_properties.h"
#include "platform/window/qt/native.h"
#include "skin/dialog_layout_scaler.h"
#include "skin/template_layout.h"

namespace skin {
namespace {

using platform::window::ControlKind;
using platform::window::ControlTemplate;
using platform::window::DialogTemplate;
using platform::window::DS_SETFONT;

constexpr std::array<ControlTemplate, 4> CONTROLS{{
    {10, ControlKind::Picture, 0, 0, 230, 94},
    {11, ControlKind::Static, 70, 20, 148, 47},
    {12, ControlKind::Button, 4, 72, 66, 16},
    {13, ControlKind::Button, 156, 72, 66, 16},
}};

DialogTemplate MainLikeTemplate(std::int16_t points = 9, bool ownFont = true) {
    DialogTemplate dialog;
    dialog.id = 102;
    dialog.style = ownFont ? DS_SETFONT : 0;
    dialog.cx = 230;
    dialog.cy = 94;
    dialog.pointSize = points;
    dialog.weight = 400;
    dialog.faceName = "Arial";
    dialog.controls = CONTROLS;
    return dialog;
}

// A window of the layer whose native widget gets `children` by hand.
QWidget& NativeOf(platform::window::Window& window) {
    window.Create(0, platform::window::Rect{0, 0, 300, 200});
    return *platform::window::qt::WidgetOf(window);
}

// A dialog built by hand: one child per id, in the given stacking order.
struct HandDialog {
    explicit HandDialog(const std::vector<int>& ids) {
        dialog.setFont(QFont(QStringLiteral("DejaVu Serif"), 20));
        for (const int id : ids) {
            auto child = std::make_unique<QWidget>(&dialog);
            child->setProperty(platform::window::CONTROL_ID_PROPERTY, id);
            child->setGeometry(1, 2, 3, 4);
            children.push_back(std::move(child));
        }
    }
    QWidget* Child(int id) {
        for (auto& child : children)
            if (child->property(platform::window::CONTROL_ID_PROPERTY).toInt() == id)
                return child.get();
        return nullptr;
    }
    platform::window::Window window;
    QWidget& dialog = NativeOf(window);
    std::vector<std::unique_ptr<QWidget>> children;
};

TEST(DialogLayoutScaler, NinePointFontIsTwelvePixelsHigh) {
    HandDialog hand({10, 11, 12, 13});
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    ASSERT_TRUE(scaler.IsApplied());
    EXPECT_EQ(scaler.Font()->pixelSize(), 12);
    EXPECT_EQ(hand.dialog.font().pixelSize(), 12);
    EXPECT_EQ(QFontInfo(hand.dialog.font()).family(), QStringLiteral("Liberation Sans"));
}

TEST(DialogLayoutScaler, EightPointFontIsElevenPixelsHigh) {
    HandDialog hand({10, 11, 12, 13});
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(8), 96.0);
    EXPECT_EQ(scaler.Font()->pixelSize(), 11);
}

TEST(DialogLayoutScaler, TemplateWithoutFontUsesEightPointTahoma) {
    HandDialog hand({10});
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(12, false), 96.0);
    EXPECT_EQ(scaler.Font()->family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(scaler.Font()->pixelSize(), 11);
    EXPECT_EQ(scaler.Font()->weight(), QFont::Normal);
    EXPECT_FALSE(scaler.Font()->italic());
}

TEST(DialogLayoutScaler, ConsoleFontGivesItsKnownLayout) {
    // Liberation Sans at 12 pixels: base units 7 x 14, so the main window's
    // 230 x 94 units are 403 x 165 pixels and a hover button sits at (7, 126).
    HandDialog hand({10, 11, 12, 13});
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.Units().baseX, 7);
    EXPECT_EQ(scaler.Units().baseY, 14);
    EXPECT_EQ(hand.dialog.size(), QSize(403, 165));
    // (70, 20, 148, 47) and (4, 72, 66, 16) units, each rounded to nearest.
    EXPECT_EQ(hand.Child(11)->geometry(), QRect(123, 35, 259, 82));
    EXPECT_EQ(hand.Child(12)->geometry(), QRect(7, 126, 116, 28));
    for (const int id : {10, 11, 12, 13}) EXPECT_EQ(hand.Child(id)->font().pixelSize(), 12) << id;
    EXPECT_EQ(scaler.LaidOutCount(), 4);
}

TEST(DialogLayoutScaler, StopsAtTheFirstControlWithoutAWindow) {
    HandDialog hand({10, 12, 13});  // 11 is missing
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.LaidOutCount(), 1);
    EXPECT_NE(hand.Child(10)->geometry(), QRect(1, 2, 3, 4));
    EXPECT_EQ(hand.Child(10)->font().pixelSize(), 12);
    for (const int id : {12, 13}) {
        EXPECT_EQ(hand.Child(id)->geometry(), QRect(1, 2, 3, 4)) << id;
        EXPECT_EQ(hand.Child(id)->font().family(), QStringLiteral("DejaVu Serif")) << id;
    }
}

TEST(DialogLayoutScaler, ControlStackedBeforeAnEarlierOneEndsTheLayout) {
    HandDialog hand({11, 10, 12, 13});  // 11 moved before 10
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.LaidOutCount(), 1);
    EXPECT_EQ(hand.Child(11)->geometry(), QRect(1, 2, 3, 4));
}

TEST(TemplateLayout, ControlsWithoutIdAreFoundInTurnAndOtherWidgetsAreSkipped) {
    QWidget dialog;
    QWidget helper(&dialog);  // no control id: never a template control
    QWidget picture(&dialog);
    picture.setProperty(platform::window::CONTROL_ID_PROPERTY, -1);
    QWidget groupBox(&dialog);
    groupBox.setProperty(platform::window::CONTROL_ID_PROPERTY, -1);
    QWidget list(&dialog);
    list.setProperty(platform::window::CONTROL_ID_PROPERTY, 1017);
    const std::array<int, 3> ids{-1, -1, 1017};
    const std::vector<QWidget*> found = FindControlsInOrder(dialog, ids);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], &picture);
    EXPECT_EQ(found[1], &groupBox);
    EXPECT_EQ(found[2], &list);
}

TEST(DialogLayoutScaler, RestoreGivesFontsBackAndKeepsSizes) {
    HandDialog hand({10, 11, 12, 13});
    const QFont before = hand.dialog.font();
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    const QSize laidOut = hand.dialog.size();
    const QRect buttonRect = hand.Child(12)->geometry();

    scaler.Restore();
    EXPECT_FALSE(scaler.IsApplied());
    EXPECT_EQ(hand.dialog.font(), before);
    for (const int id : {10, 11, 12, 13}) EXPECT_EQ(hand.Child(id)->font(), before) << id;
    EXPECT_EQ(hand.dialog.size(), laidOut);
    EXPECT_EQ(hand.Child(12)->geometry(), buttonRect);

    // A second Restore does nothing.
    hand.Child(12)->setFont(QFont(QStringLiteral("Liberation Mono"), 7));
    scaler.Restore();
    EXPECT_EQ(hand.Child(12)->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(hand.dialog.font(), before);
}

TEST(DialogLayoutScaler, ApplyingTwiceRestoresInBetweenAndMakesANewFont) {
    HandDialog hand({10, 11, 12, 13});
    const QFont before = hand.dialog.font();
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    scaler.Apply(hand.window, MainLikeTemplate(8), 96.0);
    EXPECT_EQ(scaler.Font()->pixelSize(), 11);
    EXPECT_EQ(hand.Child(11)->font().pixelSize(), 11);
    // The font saved by the second Apply is the original, not the first
    // application's.
    scaler.Restore();
    EXPECT_EQ(hand.dialog.font(), before);
    EXPECT_EQ(hand.Child(11)->font(), before);
}

TEST(DialogLayoutScaler, RestoreAfterTheDialogIsGoneIsHarmless) {
    CDialogLayoutScaler scaler;
    {
        HandDialog hand({10, 11});
        scaler.Apply(hand.window, MainLikeTemplate(9), 96.0);
    }
    scaler.Restore();
    EXPECT_FALSE(scaler.IsApplied());
}

TEST(DialogLayoutScaler, DialogWithoutExplicitFontInheritsAgainAfterRestore) {
    platform::window::Window window;
    QWidget& dialog = NativeOf(window);
    ASSERT_FALSE(dialog.testAttribute(Qt::WA_SetFont));
    CDialogLayoutScaler scaler;
    scaler.Apply(window, MainLikeTemplate(9), 96.0);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_SetFont));
    scaler.Restore();
    EXPECT_FALSE(dialog.testAttribute(Qt::WA_SetFont));
}

}  // namespace
}  // namespace skin
