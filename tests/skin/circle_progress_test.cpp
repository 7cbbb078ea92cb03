// The circular progress indicator: square, radius and wedge end point, the
// colour swap at each turn, and what is drawn.
#include <gtest/gtest.h>

#include "platform/window/qt/native.h"
#include "skin/circle_progress.h"
#include "skin/circle_progress_geometry.h"
#include "skin_test_support.h"

using platform::window::qt::WidgetOf;

namespace skin {
namespace {

using platform::window::Point;
using platform::window::Rect;

constexpr ColorRef WEDGE = platform::window::Rgb(204, 45, 48);
constexpr ColorRef DISC = platform::window::Rgb(255, 0, 0);

// The console's 66 x 50 example, painted once.
struct Indicator {
    Indicator() {
        progress.Create(0, platform::window::Rect{0, 0, 66, 50});
        progress.SetColor(WEDGE);
        progress.SetCircleColor(DISC);
    }
    QImage Draw() { return test::Render(*WidgetOf(progress)); }
    CMYCircleProgress progress;
};

TEST(CircleProgressGeometry, SixtySixByFiftyGivesRadius25From8To58) {
    const Rect square = CentredSquare(Rect{0, 0, 66, 50});
    EXPECT_EQ(square, (Rect{8, 0, 58, 50}));
    EXPECT_EQ(DiscRadius(square), 25);
    EXPECT_EQ(WedgeStart(square, 25), (Point{33, 0}));
}

TEST(CircleProgressGeometry, OddDifferenceLeavesTheSquareOnePixelLonger) {
    EXPECT_EQ(CentredSquare(Rect{0, 0, 67, 50}), Rect::FromSize(8, 0, 51, 50));
    EXPECT_EQ(DiscRadius(Rect::FromSize(8, 0, 51, 50)), 25);
    EXPECT_EQ(CentredSquare(Rect{0, 0, 50, 66}), Rect::FromSize(0, 8, 50, 50));
    EXPECT_EQ(CentredSquare(Rect{}), Rect{});
}

TEST(CircleProgressGeometry, WedgeEndRunsClockwiseFromTwelve) {
    const Rect square = Rect::FromSize(8, 0, 50, 50);
    EXPECT_EQ(WedgeEnd(square, 25, 0, 100), (Point{33, 0}));
    // 2 pi to nine decimals falls just short of a true quarter turn, so the
    // vertical offset 25 - 25 cos(theta) is a hair under 25 and rounds to 24.
    EXPECT_EQ(WedgeEnd(square, 25, 25, 100), (Point{58, 24}));
    EXPECT_EQ(WedgeEnd(square, 25, 50, 100), (Point{33, 50}));
    EXPECT_EQ(WedgeEnd(square, 25, 75, 100), (Point{8, 25}));
    EXPECT_EQ(WedgeEnd(square, 25, 100, 100), (Point{33, 0}));
    // One eighth: 25 sin 45 = 17.68 and 25 - 25 cos 45 = 7.32, toward zero.
    EXPECT_EQ(WedgeEnd(square, 25, 125, 1000), (Point{50, 7}));
    // Seven eighths: the negative offset also rounds toward zero.
    EXPECT_EQ(WedgeEnd(square, 25, 875, 1000), (Point{16, 7}));
}

TEST(CircleProgressGeometry, SweepIsAFullTurnWhenEndMeetsStart) {
    const Rect square = Rect::FromSize(8, 0, 50, 50);
    EXPECT_DOUBLE_EQ(WedgeSweepDegrees(square, 25, {33, 0}, {33, 0}), 360.0);
    EXPECT_NEAR(WedgeSweepDegrees(square, 25, {33, 0}, {58, 25}), 90.0, 1e-9);
    EXPECT_NEAR(WedgeSweepDegrees(square, 25, {33, 0}, {8, 25}), 270.0, 1e-9);
}

TEST(CircleProgressStepping, StepOf250OnRange100WrapsTwiceAndKeepsTheColours) {
    const StepResult result = AdvancePosition(0, 250, 100);
    EXPECT_EQ(result.pos, 50u);
    EXPECT_FALSE(result.swapColours);
}

TEST(CircleProgressStepping, PassingTheRangeSwapsOnce) {
    EXPECT_EQ(AdvancePosition(99, 1, 100).pos, 100u);
    EXPECT_FALSE(AdvancePosition(99, 1, 100).swapColours);
    EXPECT_EQ(AdvancePosition(100, 1, 100).pos, 1u);
    EXPECT_TRUE(AdvancePosition(100, 1, 100).swapColours);
    // Landing exactly on a multiple of the range stays at the full turn.
    EXPECT_EQ(AdvancePosition(0, 200, 100).pos, 100u);
    EXPECT_TRUE(AdvancePosition(0, 200, 100).swapColours);
}

TEST(CircleProgressStepping, HugeStepsAndEmptyRangesStayBounded) {
    const StepResult huge = AdvancePosition(100, 0xFFFFFFFFu, 100);
    EXPECT_GE(huge.pos, 1u);
    EXPECT_LE(huge.pos, 100u);
    EXPECT_EQ(huge.pos, static_cast<std::uint32_t>((100ull + 0xFFFFFFFFull - 1) % 100 + 1));
    EXPECT_EQ(AdvancePosition(1, 5, 0).pos, 1u);
}

TEST(CircleProgress, SettersReturnThePreviousValue) {
    CMYCircleProgress progress;
    EXPECT_EQ(progress.SetPos(150), 80u);
    EXPECT_EQ(progress.Pos(), 100u);  // held at the range
    EXPECT_EQ(progress.SetRange(200), 100u);
    EXPECT_EQ(progress.SetStep(2), 10u);
    EXPECT_EQ(progress.SetColor(WEDGE), platform::window::Rgb(255, 0, 0));
    EXPECT_EQ(progress.SetCircleColor(DISC), platform::window::Rgb(240, 30, 30));
    EXPECT_EQ(progress.SetRange(0), 200u);
    EXPECT_EQ(progress.Range(), 1u);
}

TEST(CircleProgress, PaintTakesTheSquareAndRadius) {
    Indicator indicator;
    indicator.Draw();
    EXPECT_EQ(indicator.progress.Square(), Rect::FromSize(8, 0, 50, 50));
    EXPECT_EQ(indicator.progress.Radius(), 25);
}

TEST(CircleProgress, PositionZeroShowsTheWholeDiscInTheWedgeColour) {
    Indicator indicator;
    indicator.progress.SetPos(0);
    const QImage image = indicator.Draw();
    for (const QPoint inside : {QPoint(33, 25), QPoint(20, 12), QPoint(46, 38), QPoint(20, 38)})
        EXPECT_EQ(image.pixel(inside), test::Pixel(WEDGE)) << inside.x() << "," << inside.y();
    // Outside the square nothing is drawn.
    EXPECT_EQ(qAlpha(image.pixel(3, 25)), 0);
    EXPECT_EQ(qAlpha(image.pixel(62, 25)), 0);
    // The square's corner lies outside the disc.
    EXPECT_EQ(qAlpha(image.pixel(9, 1)), 0);
}

TEST(CircleProgress, QuarterPositionFillsTheUpperRightQuadrant) {
    Indicator indicator;
    indicator.progress.SetPos(25);
    const QImage image = indicator.Draw();
    EXPECT_EQ(image.pixel(45, 12), test::Pixel(WEDGE));
    EXPECT_EQ(image.pixel(20, 12), test::Pixel(DISC));
    EXPECT_EQ(image.pixel(45, 38), test::Pixel(DISC));
    EXPECT_EQ(image.pixel(20, 38), test::Pixel(DISC));
    // The outline is in the wedge colour all round, also where the disc is
    // the other colour (anti-aliased, so within a few levels).
    const QRgb outline = image.pixel(8, 25);
    EXPECT_GT(qAlpha(outline), 240);
    EXPECT_TRUE(test::SameColour(outline | 0xFF000000u, test::Pixel(WEDGE), 10));
}

TEST(CircleProgress, TurnContinuesWithoutAJump) {
    Indicator indicator;
    indicator.progress.SetStep(1);
    indicator.progress.SetPos(100);
    EXPECT_EQ(indicator.Draw().pixel(20, 25),
              test::Pixel(WEDGE));  // whole disc in the wedge colour

    indicator.progress.StepIt();
    EXPECT_EQ(indicator.progress.Pos(), 1u);
    EXPECT_EQ(indicator.progress.Color(), DISC);
    EXPECT_EQ(indicator.progress.CircleColor(), WEDGE);
    // The disc keeps the colour it had, with a thin wedge of the other.
    const QImage image = indicator.Draw();
    EXPECT_EQ(image.pixel(20, 25), test::Pixel(WEDGE));
    EXPECT_EQ(image.pixel(45, 38), test::Pixel(WEDGE));
}

TEST(CircleProgress, StepLargerThanTheRangeSwapsTwiceInOneTick) {
    Indicator indicator;
    indicator.progress.SetPos(0);
    indicator.progress.SetStep(250);
    indicator.progress.StepIt();
    EXPECT_EQ(indicator.progress.Pos(), 50u);
    EXPECT_EQ(indicator.progress.Color(), WEDGE);
    EXPECT_EQ(indicator.progress.CircleColor(), DISC);
    const QImage image = indicator.Draw();
    EXPECT_EQ(image.pixel(45, 25), test::Pixel(WEDGE));  // right half
    EXPECT_EQ(image.pixel(20, 25), test::Pixel(DISC));   // left half
}

}  // namespace
}  // namespace skin
