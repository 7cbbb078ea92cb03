// The dialog layout scaler: font height, base units and rounding, the walk
// over the children that stops at the first missing control, and Restore.
// The dialogs are real ones built from templates; their fonts are read
// through the Qt backend where a family or a whole font is compared.
#include <QFontInfo>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "platform/window/dialog.h"
#include "platform/window/frame_control.h"
#include "platform/window/list_box_control.h"
#include "platform/window/picture_control.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"
#include "skin/dialog_layout_scaler.h"
#include "skin/template_layout.h"

namespace skin {
namespace {

namespace window = platform::window;
using window::ControlKind;
using window::ControlTemplate;
using window::DialogTemplate;
using window::DS_SETFONT;
using window::Rect;
using window::WS_CHILD;
using window::WS_VISIBLE;

constexpr std::uint32_t SHOWN = WS_CHILD | WS_VISIBLE;

constexpr ControlTemplate PICTURE_10{10, ControlKind::Picture, 0, 0, 230, 94, SHOWN};
constexpr ControlTemplate STATIC_11{11, ControlKind::Static, 70, 20, 148, 47, SHOWN};
constexpr ControlTemplate BUTTON_12{12, ControlKind::Button, 4, 72, 66, 16, SHOWN};
constexpr ControlTemplate BUTTON_13{13, ControlKind::Button, 156, 72, 66, 16, SHOWN};

constexpr std::array<ControlTemplate, 4> CONTROLS{{PICTURE_10, STATIC_11, BUTTON_12, BUTTON_13}};
constexpr std::array<ControlTemplate, 3> WITHOUT_11{{PICTURE_10, BUTTON_12, BUTTON_13}};
constexpr std::array<ControlTemplate, 4> ELEVEN_FIRST{
    {STATIC_11, PICTURE_10, BUTTON_12, BUTTON_13}};

DialogTemplate MainLikeTemplate(std::int16_t points = 9, bool ownFont = true,
                                std::span<const ControlTemplate> controls = CONTROLS) {
    DialogTemplate dialog;
    dialog.id = 102;
    dialog.style = ownFont ? DS_SETFONT : 0;
    dialog.cx = 230;
    dialog.cy = 94;
    dialog.pointSize = points;
    dialog.weight = 400;
    dialog.faceName = "Arial";
    dialog.controls = controls;
    return dialog;
}

QFont Q(const window::Font& font) {
    return window::ToQFont(font);
}

// A dialog made from an 8 point template with the given controls, in that
// stacking order, wearing a font far from the template's so that what the
// scaler reaches shows; the controls inherit it.
struct HandDialog {
    explicit HandDialog(std::span<const ControlTemplate> controls)
        : layout(MainLikeTemplate(8, true, controls)), dialog(&layout) {
        created = dialog.Create();
        dialog.SetFont(window::Font::Create("DejaVu Serif", 27, 400));
    }
    window::Window* Child(int id) { return dialog.GetDlgItemAs<window::Window>(id); }
    DialogTemplate layout;
    window::Dialog dialog;
    bool created = false;
};

TEST(DialogLayoutScaler, TemplateFontsComeOutAtTheirCharacterHeight) {
    struct Case {
        const char* name;
        std::int16_t points;
        bool ownFont;
        bool italic;
        const char* family;  // as the font asks for it
        int pixels;
    };
    const Case cases[] = {
        {"nine points are twelve pixels", 9, true, false, "Arial", 12},
        {"eight points are eleven pixels", 8, true, false, "Arial", 11},
        {"a negative size stands for its magnitude", -9, true, false, "Arial", 12},
        {"an italic template font stays italic", 9, true, true, "Arial", 12},
        {"without a font, eight point Tahoma", 12, false, false, "Tahoma", 11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HandDialog hand(CONTROLS);
        ASSERT_TRUE(hand.created);
        DialogTemplate layout = MainLikeTemplate(c.points, c.ownFont);
        layout.italic = c.italic;
        CDialogLayoutScaler scaler;
        scaler.Apply(hand.dialog, layout, 96.0);
        ASSERT_TRUE(scaler.IsApplied());
        EXPECT_EQ(scaler.Font()->PixelSize(), c.pixels);
        EXPECT_EQ(scaler.Font()->Italic(), c.italic);
        EXPECT_EQ(Q(*scaler.Font()).family(), QString::fromUtf8(c.family));
        EXPECT_EQ(Q(*scaler.Font()).weight(), QFont::Normal);
        EXPECT_EQ(hand.dialog.GetFont().PixelSize(), c.pixels);
        EXPECT_EQ(hand.Child(12)->GetFont().Italic(), c.italic);
    }
    // Arial is drawn in its metric twin here, which the known layout below
    // is measured on.
    HandDialog hand(CONTROLS);
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(QFontInfo(Q(hand.dialog.GetFont())).family(), QStringLiteral("Liberation Sans"));
}

TEST(DialogLayoutScaler, ConsoleFontGivesItsKnownLayout) {
    // Liberation Sans at 12 pixels: base units 7 x 14, so the main window's
    // 230 x 94 units are 403 x 165 pixels and a hover button sits at (7, 126).
    HandDialog hand(CONTROLS);
    ASSERT_TRUE(hand.created);
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.Units().baseX, 7);
    EXPECT_EQ(scaler.Units().baseY, 14);
    EXPECT_EQ(hand.dialog.GetClientRect().GetSize(), (window::Size{403, 165}));
    // (70, 20, 148, 47) and (4, 72, 66, 16) units, each rounded to nearest.
    EXPECT_EQ(hand.Child(11)->GetPlacement(), Rect::FromSize(123, 35, 259, 82));
    EXPECT_EQ(hand.Child(12)->GetPlacement(), Rect::FromSize(7, 126, 116, 28));
    for (const int id : {10, 11, 12, 13})
        EXPECT_EQ(hand.Child(id)->GetFont().PixelSize(), 12) << id;
    EXPECT_EQ(scaler.LaidOutCount(), 4);
}

TEST(DialogLayoutScaler, StopsAtTheFirstControlWithoutAWindow) {
    HandDialog hand(WITHOUT_11);
    ASSERT_TRUE(hand.created);
    const Rect before10 = hand.Child(10)->GetPlacement();
    const Rect before12 = hand.Child(12)->GetPlacement();
    const Rect before13 = hand.Child(13)->GetPlacement();
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.LaidOutCount(), 1);
    EXPECT_NE(hand.Child(10)->GetPlacement(), before10);
    EXPECT_EQ(hand.Child(10)->GetFont().PixelSize(), 12);
    // The rest keep their place and the font they showed, which the
    // dialog's new font does not reach.
    EXPECT_EQ(hand.Child(12)->GetPlacement(), before12);
    EXPECT_EQ(hand.Child(13)->GetPlacement(), before13);
    for (const int id : {12, 13})
        EXPECT_EQ(Q(hand.Child(id)->GetFont()).family(), QStringLiteral("DejaVu Serif")) << id;
}

TEST(DialogLayoutScaler, ControlStackedBeforeAnEarlierOneEndsTheLayout) {
    HandDialog hand(ELEVEN_FIRST);  // 11 made before 10
    ASSERT_TRUE(hand.created);
    const Rect before11 = hand.Child(11)->GetPlacement();
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    EXPECT_EQ(scaler.LaidOutCount(), 1);
    EXPECT_EQ(hand.Child(11)->GetPlacement(), before11);
}

TEST(TemplateLayout, ControlsWithoutIdAreFoundInTurnAndOtherWidgetsAreSkipped) {
    static constexpr std::array<ControlTemplate, 3> controls{{
        {-1, ControlKind::Picture, 0, 0, 20, 20, SHOWN},
        {-1, ControlKind::Frame, 20, 0, 20, 20, SHOWN},
        {1017, ControlKind::ListBox, 40, 0, 40, 40, SHOWN},
    }};
    HandDialog hand(controls);
    ASSERT_TRUE(hand.created);
    // A widget of the backend's own, first among the children: no window
    // of the layer, never a template control.
    auto* helper = new QWidget(window::qt::WidgetOf(hand.dialog));
    helper->lower();
    const std::array<int, 3> ids{-1, -1, 1017};
    const std::vector<window::Window*> found = FindControlsInOrder(hand.dialog, ids);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_NE(dynamic_cast<window::PictureControl*>(found[0]), nullptr);
    EXPECT_NE(dynamic_cast<window::FrameControl*>(found[1]), nullptr);
    EXPECT_NE(dynamic_cast<window::ListBoxControl*>(found[2]), nullptr);
    EXPECT_EQ(found[2], hand.Child(1017));
    EXPECT_EQ(found[2]->GetDlgCtrlID(), 1017);
    // Ids the dialog lacks end the search at once.
    const std::array<int, 2> missing{1017, -1};
    EXPECT_EQ(FindControlsInOrder(hand.dialog, missing).size(), 1u);
}

TEST(DialogLayoutScaler, RestoreGivesFontsBackAndKeepsSizes) {
    HandDialog hand(CONTROLS);
    ASSERT_TRUE(hand.created);
    const QFont before = Q(hand.dialog.GetFont());
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    const window::Size laidOut = hand.dialog.GetClientRect().GetSize();
    const Rect buttonRect = hand.Child(12)->GetPlacement();

    scaler.Restore();
    EXPECT_FALSE(scaler.IsApplied());
    EXPECT_EQ(Q(hand.dialog.GetFont()), before);
    for (const int id : {10, 11, 12, 13}) EXPECT_EQ(Q(hand.Child(id)->GetFont()), before) << id;
    EXPECT_EQ(hand.dialog.GetClientRect().GetSize(), laidOut);
    EXPECT_EQ(hand.Child(12)->GetPlacement(), buttonRect);

    // A second Restore does nothing.
    hand.Child(12)->SetFont(window::Font::Create("Liberation Mono", 9, 400));
    scaler.Restore();
    EXPECT_EQ(Q(hand.Child(12)->GetFont()).family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(Q(hand.dialog.GetFont()), before);
}

TEST(DialogLayoutScaler, ApplyingTwiceRestoresInBetweenAndMakesANewFont) {
    HandDialog hand(CONTROLS);
    ASSERT_TRUE(hand.created);
    const QFont before = Q(hand.dialog.GetFont());
    CDialogLayoutScaler scaler;
    scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
    scaler.Apply(hand.dialog, MainLikeTemplate(8), 96.0);
    EXPECT_EQ(scaler.Font()->PixelSize(), 11);
    EXPECT_EQ(hand.Child(11)->GetFont().PixelSize(), 11);
    // The font saved by the second Apply is the original, not the first
    // application's.
    scaler.Restore();
    EXPECT_EQ(Q(hand.dialog.GetFont()), before);
    EXPECT_EQ(Q(hand.Child(11)->GetFont()), before);
}

TEST(DialogLayoutScaler, RestoreAfterTheDialogIsGoneIsHarmless) {
    CDialogLayoutScaler scaler;
    {
        HandDialog hand(CONTROLS);
        ASSERT_TRUE(hand.created);
        scaler.Apply(hand.dialog, MainLikeTemplate(9), 96.0);
        ASSERT_TRUE(scaler.IsApplied());
    }
    // A dialog made since must not be taken for the one that went.
    HandDialog other(CONTROLS);
    ASSERT_TRUE(other.created);
    const QFont otherFont = Q(other.dialog.GetFont());
    scaler.Restore();
    EXPECT_FALSE(scaler.IsApplied());
    EXPECT_EQ(Q(other.dialog.GetFont()), otherFont);
}

TEST(DialogLayoutScaler, DialogWithoutWindowIsLeftAlone) {
    DialogTemplate layout = MainLikeTemplate(9);
    window::Dialog dialog(&layout);  // never created
    CDialogLayoutScaler scaler;
    scaler.Apply(dialog, layout, 96.0);
    EXPECT_EQ(scaler.LaidOutCount(), 0);
    scaler.Restore();
    EXPECT_FALSE(scaler.IsApplied());
}

}  // namespace
}  // namespace skin
