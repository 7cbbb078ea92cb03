// The animated logo: the fade sequence, the font fitting for narrow and wide
// logos, and the constant-alpha blend over the captured background.
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"
#include "skin/ani_logo.h"
#include "skin/logo_fade.h"
#include "skin/skin_palette.h"
#include "skin_test_support.h"

namespace skin {
namespace {

namespace window = platform::window;
using window::qt::WidgetOf;

const QColor GROUND(30, 90, 160);

std::vector<int> FadeSequence(int ticks, int step, int low, int high) {
    std::vector<int> values;
    FadeState state;
    for (int i = 0; i < ticks; ++i) {
        state = NextFade(state, step, low, high);
        values.push_back(state.alpha);
    }
    return values;
}

// The frame the logo shows now, as 32-bit pixels.
QImage Frame(const CAniLogo& logo) {
    return window::ToQPixmap(logo.ComposeFrame()).toImage().convertToFormat(QImage::Format_RGB32);
}

// A logo on a parent painted in one colour, painted once so it has taken
// its background.
struct LogoOnGround {
    explicit LogoOnGround(QSize size) {
        parent.Create(0, window::Rect{0, 0, size.width() + 20, size.height() + 20});
        QWidget& widget = Parent();
        widget.setAutoFillBackground(true);
        QPalette palette = widget.palette();
        palette.setColor(QPalette::Window, GROUND);
        widget.setPalette(palette);
        logo.Create(window::WS_CHILD | window::WS_VISIBLE,
                    window::Rect::FromSize(10, 10, size.width(), size.height()), &parent);
        widget.show();
        test::Settle();
    }
    QWidget& Parent() { return *WidgetOf(parent); }
    window::Window parent;
    CAniLogo logo;
};

TEST(LogoFade, ConsoleSettingsRunFromHalfStrengthToNothingAndBack) {
    // Step 3 between 125 and 255, starting at 0 and rising.
    std::vector<int> expected{125};
    for (int a = 128; a <= 254; a += 3) expected.push_back(a);
    expected.push_back(255);
    for (int a = 252; a >= 126; a -= 3) expected.push_back(a);
    expected.push_back(125);
    expected.push_back(128);
    EXPECT_EQ(FadeSequence(static_cast<int>(expected.size()), 3, 125, 255), expected);
    // One cycle from 125 back to 125 takes 88 ticks: 4.4 s at 50 ms a tick.
    EXPECT_EQ(expected.size() - 2, 88u);
}

TEST(LogoFade, TextNeverGetsStrongerThanAboutHalf) {
    const std::vector<int> values = FadeSequence(1000, 3, 125, 255);
    EXPECT_EQ(*std::min_element(values.begin(), values.end()), 125);
    EXPECT_EQ(*std::max_element(values.begin(), values.end()), 255);
}

TEST(LogoFontFitting, WideLogoKeepsTheMediumFontAtEightTenthsOfItsHeight) {
    const LogoFont fitted = FitLogoFont("R40", window::Size{200, 42});
    EXPECT_EQ(fitted.weight, LOGO_WEIGHT_FITTING);
    EXPECT_EQ(fitted.pixelHeight, 33);  // 0.8 x 42, toward zero
    EXPECT_LE(fitted.textSize.width, 200);
}

TEST(LogoFontFitting, NarrowLogoShrinksToBoldAtTheFittedSize) {
    const window::Size client{46, 42};  // the console's logo: 26 x 24 dialog units
    QFont first(QStringLiteral("arial"));
    first.setPixelSize(33);
    first.setWeight(QFont::Weight(500));
    const int firstWidth = QFontMetrics(first).horizontalAdvance(QStringLiteral("R40"));
    ASSERT_GT(firstWidth, client.width);

    const LogoFont fitted = FitLogoFont("R40", client);
    EXPECT_EQ(fitted.weight, LOGO_WEIGHT_SHRUNK);
    EXPECT_EQ(fitted.pixelHeight, static_cast<int>(0.95 * (0.8 * 42 * 46 / firstWidth)));
    EXPECT_LE(fitted.textSize.width, client.width);
    EXPECT_LE(fitted.textSize.height, client.height);
}

TEST(LogoFontFitting, EndsForAnyTextAndSize) {
    EXPECT_EQ(FitLogoFont("R40", window::Size{0, 0}).pixelHeight, 1);
    EXPECT_GE(FitLogoFont("", window::Size{30, 30}).pixelHeight, 1);
    const LogoFont tiny = FitLogoFont("R40 Management Console", window::Size{5, 40});
    EXPECT_GE(tiny.pixelHeight, 1);
    const LogoFont flat = FitLogoFont("R40", window::Size{400, 4});
    EXPECT_LE(flat.pixelHeight, 4);
}

TEST(AniLogo, SettersAndTicksBeforeTheFirstPaint) {
    CAniLogo logo;
    EXPECT_EQ(logo.Text(), "R40");
    EXPECT_EQ(logo.SetStep(3), 2);
    EXPECT_EQ(logo.SetStep(3), 3);
    logo.SetAlphaRange(125, 255);
    logo.Animate();  // no background yet: only the opacity moves
    EXPECT_EQ(logo.Alpha(), 125);
    EXPECT_FALSE(logo.HasBackground());
    EXPECT_TRUE(logo.ComposeFrame().IsNull());
}

TEST(AniLogo, FirstPaintShowsTheTextFullyOverWhatLayBeneath) {
    LogoOnGround shown(QSize(46, 42));
    ASSERT_TRUE(shown.logo.HasBackground());
    const QImage frame = Frame(shown.logo);
    ASSERT_EQ(frame.size(), QSize(46, 42));
    int text = 0;
    int ground = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.pixel(x, y) == test::Pixel(SKIN_COLOR)) ++text;
            if (frame.pixel(x, y) == GROUND.rgb()) ++ground;
        }
    EXPECT_GT(text, 30);
    EXPECT_GT(ground, 500);
    // What the window shows is that frame.
    const QImage screen = test::ScreenContents(shown.Parent()).copy(10, 10, 46, 42);
    EXPECT_TRUE(screen.convertToFormat(QImage::Format_RGB32) == frame);
}

TEST(AniLogo, EachTickBlendsTheBackgroundOverTheTextWithConstantAlpha) {
    LogoOnGround shown(QSize(46, 42));
    const QImage full = Frame(shown.logo);
    QPoint letter(-1, -1);
    for (int y = 0; y < full.height() && letter.x() < 0; ++y)
        for (int x = 0; x < full.width(); ++x)
            if (full.pixel(x, y) == test::Pixel(SKIN_COLOR)) {
                letter = QPoint(x, y);
                break;
            }
    ASSERT_GE(letter.x(), 0);

    shown.logo.SetStep(3);
    shown.logo.SetAlphaRange(125, 255);
    for (int tick = 0; tick < 20; ++tick) {
        shown.logo.Animate();
        const int a = shown.logo.Alpha();
        const QRgb p = Frame(shown.logo).pixel(letter);
        const auto mix = [a](int ground, int text) {
            return (ground * a + text * (255 - a)) / 255;
        };
        EXPECT_NEAR(qRed(p), mix(GROUND.red(), platform::window::RedOf(SKIN_COLOR)), 2)
            << "alpha " << a;
        EXPECT_NEAR(qGreen(p), mix(GROUND.green(), platform::window::GreenOf(SKIN_COLOR)), 2)
            << "alpha " << a;
        EXPECT_NEAR(qBlue(p), mix(GROUND.blue(), platform::window::BlueOf(SKIN_COLOR)), 2)
            << "alpha " << a;
    }
    // At the top of the range the text has gone: the frame is the background.
    while (shown.logo.Alpha() != 255) shown.logo.Animate();
    EXPECT_EQ(Frame(shown.logo).pixel(letter), GROUND.rgb());
}

TEST(AniLogo, EachAlphaIsComposedOnceAndEveryTickReachesTheScreen) {
    LogoOnGround shown(QSize(46, 42));
    shown.logo.SetStep(3);
    shown.logo.SetAlphaRange(125, 255);
    std::set<int> alphas;
    // Two whole cycles: the second one composes nothing new.
    for (int tick = 0; tick < 2 * 2 * (255 - 125) / 3 + 4; ++tick) {
        shown.logo.Animate();
        alphas.insert(shown.logo.Alpha());
        // The tick repaints at once; the window shows this alpha's frame.
        const QImage screen = test::ScreenContents(shown.Parent()).copy(10, 10, 46, 42);
        ASSERT_TRUE(screen.convertToFormat(QImage::Format_RGB32) == Frame(shown.logo))
            << "tick " << tick << ", alpha " << shown.logo.Alpha();
    }
    EXPECT_EQ(shown.logo.ComposedFrames(), static_cast<int>(alphas.size()));
}

TEST(AniLogo, BackgroundIsTakenOnceFromThePictureBeneath) {
    window::Window window;
    window.Create(0, window::Rect{0, 0, 80, 60});
    QLabel& picture = *new QLabel(WidgetOf(window));
    QImage stripes(80, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            stripes.setPixel(x, y, (x / 4) % 2 ? qRgb(250, 250, 250) : qRgb(0, 0, 0));
    picture.setPixmap(QPixmap::fromImage(stripes));
    picture.setGeometry(0, 0, 80, 60);
    CAniLogo logo;
    logo.Create(window::WS_CHILD | window::WS_VISIBLE, window::Rect::FromSize(12, 8, 46, 42),
                &window);
    WidgetOf(window)->show();
    test::Settle();
    ASSERT_TRUE(logo.HasBackground());

    // Fade the text out entirely: what remains is the captured background.
    logo.SetStep(300);
    logo.Animate();
    ASSERT_EQ(logo.Alpha(), 255);
    const QImage frame = Frame(logo);
    EXPECT_TRUE(frame == stripes.copy(12, 8, 46, 42));

    // A later change beneath the logo is not noticed.
    picture.setPixmap(QPixmap());
    test::Settle();
    EXPECT_TRUE(Frame(logo) == frame);
}

}  // namespace
}  // namespace skin
