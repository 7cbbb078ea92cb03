// The red check box: check-mark points and etched frame for a 15 x 15 box,
// the background tile, and one toggle per press.
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/window/images.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "resources/ids.h"
#include "skin/check_mark_geometry.h"
#include "skin/red_check_box.h"
#include "skin/skin_palette.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using platform::window::Point;
using platform::window::Rect;
using platform::window::qt::WidgetOf;

// A box of its own window, hidden, at `place`.
void Make(CRedCheckBox& box, const Rect& place = Rect::FromSize(0, 0, 15, 15),
          platform::window::Window* parent = nullptr) {
    ASSERT_TRUE(box.Create("", 0, place, parent));
}

// A 15 x 15 box without a background tile, so only the mark or frame is drawn.
class BareBox : public ::testing::Test {
  protected:
    void SetUp() override {
        Make(box);
        box.SetBackgroundTile(platform::window::Image());
    }
    QRgb Pixel(int x, int y) { return test::Render(box).pixel(x, y); }
    CRedCheckBox box;
};

TEST(CheckMarkGeometry, FifteenPixelBox) {
    const auto points = CheckMarkPoints(15, 15);
    EXPECT_EQ(points[0], (Point{2, 7}));
    EXPECT_EQ(points[1], (Point{5, 12}));
    EXPECT_EQ(points[2], (Point{5, 13}));
    EXPECT_EQ(points[3], (Point{12, 3}));
    // From (4, 4) to (11, 11), right and bottom exclusive.
    EXPECT_EQ(EtchedFrameRect(15, 15), (Rect{4, 4, 11, 11}));
}

TEST_F(BareBox, CheckedBoxDrawsTheMarkThroughItsFourPointsAndNoFrame) {
    box.SetChecked(true);
    const QImage image = test::Render(box);
    for (const Point point : CheckMarkPoints(15, 15))
        EXPECT_EQ(image.pixel(point.x, point.y), test::Pixel(SKIN_COLOR))
            << point.x << "," << point.y;
    // The mark is three pixels wide: one pixel beside a point is still red.
    EXPECT_EQ(image.pixel(3, 7), test::Pixel(SKIN_COLOR));
    // Frame corners and the far corner stay empty.
    EXPECT_EQ(qAlpha(image.pixel(10, 10)), 0);
    EXPECT_EQ(qAlpha(image.pixel(4, 4)), 0);
    EXPECT_EQ(qAlpha(image.pixel(14, 14)), 0);
}

TEST_F(BareBox, UncheckedBoxDrawsTheBumpFrameInsetByFour) {
    const QImage image = test::Render(box);
    // Outer ring: light top and left, dark shadow bottom and right.
    EXPECT_EQ(image.pixel(7, 4), test::Pixel(EDGE_LIGHT));
    EXPECT_EQ(image.pixel(4, 7), test::Pixel(EDGE_LIGHT));
    EXPECT_EQ(image.pixel(7, 10), test::Pixel(EDGE_DARK_SHADOW));
    EXPECT_EQ(image.pixel(10, 7), test::Pixel(EDGE_DARK_SHADOW));
    // Inner ring: dark shadow top and left, light bottom and right.
    EXPECT_EQ(image.pixel(7, 5), test::Pixel(EDGE_DARK_SHADOW));
    EXPECT_EQ(image.pixel(5, 7), test::Pixel(EDGE_DARK_SHADOW));
    EXPECT_EQ(image.pixel(7, 9), test::Pixel(EDGE_LIGHT));
    EXPECT_EQ(image.pixel(9, 7), test::Pixel(EDGE_LIGHT));
    // Nothing outside the frame, nothing in its middle, no mark.
    for (const QPoint empty : {QPoint(3, 3), QPoint(11, 11), QPoint(3, 7), QPoint(11, 7),
                               QPoint(7, 3), QPoint(7, 11), QPoint(7, 7), QPoint(2, 7)})
        EXPECT_EQ(qAlpha(image.pixel(empty)), 0) << empty.x() << "," << empty.y();
}

TEST(RedCheckBox, BackgroundTileStartsAtTheBoxsOwnCorner) {
    QImage tile(2, 2, QImage::Format_ARGB32);
    tile.setPixel(0, 0, qRgb(10, 20, 30));
    tile.setPixel(1, 0, qRgb(40, 50, 60));
    tile.setPixel(0, 1, qRgb(70, 80, 90));
    tile.setPixel(1, 1, qRgb(100, 110, 120));
    platform::window::Window dialog;
    ASSERT_TRUE(dialog.Create(0, Rect::FromSize(0, 0, 40, 40)));
    CRedCheckBox box;
    Make(box, Rect::FromSize(3, 5, 15, 15), &dialog);
    box.SetBackgroundTile(platform::window::ImageFromPixmap(QPixmap::fromImage(tile)));
    const QImage image = test::Render(box);
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(1, 0), qRgb(40, 50, 60));
    EXPECT_EQ(image.pixel(0, 1), qRgb(70, 80, 90));
    EXPECT_EQ(image.pixel(14, 0), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(13, 13), qRgb(100, 110, 120));
}

TEST(RedCheckBox, FillsWithTheDialogsBackgroundPictureByDefault) {
    CRedCheckBox box;
    Make(box, Rect::FromSize(0, 0, 18, 18));
    const QImage tile =
        platform::window::ToQPixmap(platform::window::LoadBitmap(res::IDB_DIALOG_BACKGROUND))
            .toImage()
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_FALSE(tile.isNull());
    const QImage image = test::Render(box);
    // A corner far from the frame shows the picture's own corner.
    EXPECT_EQ(image.pixel(0, 0), tile.pixel(0, 0));
    EXPECT_EQ(image.pixel(17, 0), tile.pixel(17, 0));
    EXPECT_EQ(image.pixel(0, 17), tile.pixel(0, 17));
}

TEST(RedCheckBox, SetCheckedReturnsThePreviousStateAndRepaints) {
    CRedCheckBox box;
    Make(box);
    box.SetBackgroundTile(platform::window::Image());
    EXPECT_FALSE(box.IsChecked());
    EXPECT_FALSE(box.SetChecked(true));
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(test::Render(box).pixel(2, 7), test::Pixel(SKIN_COLOR));
    EXPECT_TRUE(box.SetChecked(true));
    EXPECT_TRUE(box.IsChecked());
    EXPECT_TRUE(box.SetChecked(false));
    EXPECT_EQ(qAlpha(test::Render(box).pixel(2, 7)), 0);
}

TEST(RedCheckBox, EachClickTogglesOnce) {
    CRedCheckBox box;
    Make(box);
    QTest::mouseClick(WidgetOf(box), Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_TRUE(box.IsChecked());
    QTest::mouseClick(WidgetOf(box), Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_FALSE(box.IsChecked());
}

TEST(RedCheckBox, PressTogglesAtOnceAndRepaintsDoNotToggleAgain) {
    CRedCheckBox box;
    Make(box);
    box.SetBackgroundTile(platform::window::Image());
    QTest::mousePress(WidgetOf(box), Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_TRUE(box.IsChecked());
    // The pressed box may be painted any number of times.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(test::Render(box).pixel(2, 7), test::Pixel(SKIN_COLOR));
    EXPECT_TRUE(box.IsChecked());
    QTest::mouseRelease(WidgetOf(box), Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_TRUE(box.IsChecked());
}

TEST(RedCheckBox, DraggingOutAndBackInDuringOnePressTogglesOnce) {
    CRedCheckBox box;
    Make(box);
    QTest::mousePress(WidgetOf(box), Qt::LeftButton, {}, QPoint(7, 7));
    for (const QPoint at : {QPoint(40, 40), QPoint(7, 7), QPoint(40, 40), QPoint(8, 8)}) {
        QMouseEvent move(QEvent::MouseMove, at, WidgetOf(box)->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(WidgetOf(box), &move);
    }
    QTest::mouseRelease(WidgetOf(box), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(box.IsChecked());
}

TEST(RedCheckBox, SpaceKeyTogglesOncePerPress) {
    CRedCheckBox box;
    Make(box);
    QTest::keyPress(WidgetOf(box), Qt::Key_Space);
    EXPECT_TRUE(box.IsChecked());
    // Auto-repeat of a held key is not a new press.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
    QCoreApplication::sendEvent(WidgetOf(box), &repeat);
    EXPECT_TRUE(box.IsChecked());
    QTest::keyRelease(WidgetOf(box), Qt::Key_Space);
    QTest::keyClick(WidgetOf(box), Qt::Key_Space);
    EXPECT_FALSE(box.IsChecked());
}

}  // namespace
}  // namespace skin
