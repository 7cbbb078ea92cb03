// The transparent label: text format from the style bits, only letters
// painted in the skin colour, frames, and SetText leaving no trace.
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include "platform/window/device_context.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"
#include "platform/window/styles.h"
#include "skin/label_text_format.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using namespace platform::window;  // the Win32 style and format names

const QColor GROUND(20, 60, 200);

// A top-level window of the layer, painted in the parent's palette colour.
struct Ground {
    explicit Ground(QSize size) {
        parent.Create(0, Rect{0, 0, size.width(), size.height()});
        Widget().setAutoFillBackground(true);
        QPalette palette = Widget().palette();
        palette.setColor(QPalette::Window, GROUND);
        // The owner's text colour must not matter.
        palette.setColor(QPalette::WindowText, Qt::green);
        Widget().setPalette(palette);
    }
    QWidget& Widget() { return *qt::WidgetOf(parent); }
    Window parent;
};

// A label made on `parent` at `rect` in a 10 point Arial.
void Place(CTransparentStatic& label, Window& parent, const QRect& rect, int points = 10) {
    label.Create(WS_CHILD | WS_VISIBLE, FromQRect(rect), &parent);
    label.SetFont(FontFromQFont(QFont(QStringLiteral("Arial"), points)));
}

// A window whose background is a picture child, as the skinned dialogs
// have, with a label above it.
struct PictureWindow {
    PictureWindow(const std::string& text, std::uint32_t style) {
        window.Create(0, Rect{0, 0, 220, 60});
        picture = new QLabel(qt::WidgetOf(window));
        QImage ground(220, 60, QImage::Format_RGB32);
        QPainter painter(&ground);
        QLinearGradient gradient(0, 0, 220, 60);
        gradient.setColorAt(0, QColor(250, 240, 200));
        gradient.setColorAt(1, QColor(90, 140, 220));
        painter.fillRect(ground.rect(), gradient);
        painter.end();
        picture->setPixmap(QPixmap::fromImage(ground));
        picture->setGeometry(0, 0, 220, 60);
        Place(label, window, QRect(10, 10, 200, 40), 14);
        label.SetStyle(style);
        label.SetText(text);
    }
    QWidget& Shown() {
        QWidget& widget = *qt::WidgetOf(window);
        widget.show();
        return widget;
    }
    Window window;
    QLabel* picture = nullptr;  // the window's child
    CTransparentStatic label;
};

// The label drawn over a plain coloured parent.
QImage RenderOnGround(const std::string& text, std::uint32_t style, QSize size,
                      std::uint32_t exStyle = 0) {
    Ground ground(size);
    CTransparentStatic label;
    Place(label, ground.parent, QRect(QPoint(0, 0), size));
    label.SetStyle(style, exStyle);
    label.SetText(text);
    return ground.Widget().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(LabelTextFormat, FollowsTheStyleBits) {
    struct Case {
        std::uint32_t style;
        unsigned format;
    };
    const Case cases[] = {
        // Left, top, lines broken at words, '&' a prefix.
        {0, DT_LEFT | DT_TOP | DT_WORDBREAK},
        {1, DT_CENTER | DT_TOP | DT_WORDBREAK},
        {2, DT_RIGHT | DT_TOP | DT_WORDBREAK},
        // Centre-image: one line, centred vertically, never broken.
        {SS_CENTERIMAGE | 1, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {SS_NOPREFIX, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX},
        {SS_LEFTNOWORDWRAP, DT_LEFT | DT_TOP},
        // An ellipsis keeps each line whole, ended or shortened in the middle.
        {SS_ENDELLIPSIS, DT_LEFT | DT_TOP | DT_END_ELLIPSIS},
        {SS_PATHELLIPSIS, DT_LEFT | DT_TOP | DT_PATH_ELLIPSIS},
        {SS_WORDELLIPSIS, DT_LEFT | DT_TOP | DT_WORD_ELLIPSIS},
        // A sunken edge is no text format bit: such labels still wrap.
        {SS_SUNKEN | 1, DT_CENTER | DT_TOP | DT_WORDBREAK},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LabelTextFormat(c.style), c.format) << std::hex << "style 0x" << c.style;
}

TEST(TransparentStatic, PaintsOnlyLettersInTheSkinColour) {
    const QImage image = RenderOnGround("Default Gateway", 0, QSize(160, 30));
    int ink = 0;
    int fullRed = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (p == GROUND.rgb()) continue;
            ++ink;
            if (test::SameColour(p, test::Pixel(SKIN_COLOR), 2)) ++fullRed;
            // Every other pixel is an anti-aliased mix of ground and red: its
            // green lies between the two, never the owner's green.
            EXPECT_LE(qGreen(p), GROUND.green() + 2) << x << "," << y;
        }
    }
    EXPECT_GT(ink, 20);
    EXPECT_GT(fullRed, 5);
}

TEST(TransparentStatic, StaysTransparentWhenTheOwnerGivesABackground) {
    Ground ground(QSize(100, 30));
    CTransparentStatic label;
    Place(label, ground.parent, QRect(0, 0, 100, 30));
    // As a dialog answers a control's request for colours.
    QWidget& widget = *qt::WidgetOf(label);
    widget.setAutoFillBackground(true);
    QPalette brush = widget.palette();
    brush.setBrush(QPalette::Window, Qt::yellow);
    widget.setPalette(brush);
    label.SetText("SNR");
    const QImage image = ground.Widget().grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(90, 25), GROUND.rgb());
    EXPECT_EQ(image.pixel(0, 29), GROUND.rgb());
}

TEST(TransparentStatic, SetTextReportsWhetherThereIsAParent) {
    // Without a window, and as a top-level window.
    CTransparentStatic unmade;
    EXPECT_FALSE(unmade.SetText("x"));
    EXPECT_EQ(unmade.Text(), "x");
    CTransparentStatic orphan;
    orphan.Create(0, Rect{0, 0, 20, 20});
    EXPECT_FALSE(orphan.SetText("x"));
    EXPECT_EQ(orphan.Text(), "x");
    EXPECT_EQ(orphan.GetWindowText(), "x");
    Window parent;
    parent.Create(0, Rect{0, 0, 40, 40});
    CTransparentStatic child;
    child.Create(WS_CHILD, Rect{0, 0, 20, 20}, &parent);
    EXPECT_TRUE(child.SetText("y"));
    EXPECT_EQ(child.Text(), "y");
}

TEST(TransparentStatic, ShorterTextLeavesNoTraceOfTheOldLetters) {
    PictureWindow shown("Failed To Configure WWWW", 1);
    QWidget& window = shown.Shown();
    test::Settle();
    const QImage before = test::ScreenContents(window);

    shown.label.SetText("OK");
    const QImage after = test::ScreenContents(window);

    PictureWindow fresh("OK", 1);
    const QImage expected = test::ScreenContents(fresh.Shown());

    ASSERT_EQ(after.size(), expected.size());
    EXPECT_FALSE(before == after);
    EXPECT_TRUE(after == expected) << "old letters remain on screen";
    test::SaveRender(after, QStringLiteral("label_after_set_text.png"));
}

TEST(TransparentStatic, CentreImageDrawsOneLineCentredVertically) {
    const QSize size(200, 60);
    const QImage image = RenderOnGround("first words\nsecond line", SS_CENTERIMAGE, size);
    const auto ink = test::InkBounds(image, GROUND.rgb());
    ASSERT_TRUE(ink.has_value());
    const int above = ink->top();
    const int below = size.height() - 1 - ink->bottom();
    EXPECT_LE(std::abs(above - below), 4) << above << " above, " << below << " below";
    EXPECT_LT(ink->height(), QFontMetrics(QFont(QStringLiteral("Arial"), 10)).height() + 2);
}

TEST(TransparentStatic, PlainLeftLabelWrapsAtWordsAndNoWrapTypeDoesNot) {
    const std::string text = "Load a configuration file and apply all settings";
    const int line = QFontMetrics(QFont(QStringLiteral("Arial"), 10)).height();
    const auto wrapped = test::InkBounds(RenderOnGround(text, 0, QSize(120, 80)), GROUND.rgb());
    const auto single =
        test::InkBounds(RenderOnGround(text, SS_LEFTNOWORDWRAP, QSize(120, 80)), GROUND.rgb());
    ASSERT_TRUE(wrapped && single);
    EXPECT_GT(wrapped->height(), 2 * line);
    EXPECT_LT(single->height(), line + 2);
}

TEST(TransparentStatic, EllipsisShortensLongText) {
    const std::string text = "Create a Configuration File From The current Device Status";
    const QImage plain = RenderOnGround(text, SS_LEFTNOWORDWRAP, QSize(120, 20));
    const QImage elided = RenderOnGround(text, SS_ENDELLIPSIS, QSize(120, 20));
    // Without the ellipsis a letter is cut at the label's right edge; with it
    // the line ends in whole letters and the ellipsis inside the label.
    const auto plainInk = test::InkBounds(plain, GROUND.rgb());
    const auto elidedInk = test::InkBounds(elided, GROUND.rgb());
    ASSERT_TRUE(plainInk && elidedInk);
    EXPECT_EQ(plainInk->right(), 119);
    EXPECT_LT(elidedInk->right(), 119);
    EXPECT_FALSE(plain == elided);
}

TEST(TransparentStatic, AmpersandIsLiteralOnlyWithNoPrefix) {
    const auto withPrefix =
        test::InkBounds(RenderOnGround("&Apply", SS_LEFTNOWORDWRAP, {100, 24}), GROUND.rgb());
    const auto noPrefix = test::InkBounds(
        RenderOnGround("&Apply", SS_LEFTNOWORDWRAP | SS_NOPREFIX, {100, 24}), GROUND.rgb());
    ASSERT_TRUE(withPrefix && noPrefix);
    // The literal ampersand makes the text wider.
    EXPECT_GT(noPrefix->width(), withPrefix->width() + 4);
}

TEST(TransparentStatic, SunkenBorderedLabelDrawsItsEdgesAndKeepsTextInside) {
    // A border line and a one-pixel sunken edge: two pixels on every side.
    const QImage image = RenderOnGround("WWWWWWWWWWWWWWWW",
                                        SS_LEFTNOWORDWRAP | SS_SUNKEN | WS_BORDER, QSize(60, 24));
    for (const QPoint edge :
         {QPoint(0, 0), QPoint(59, 23), QPoint(1, 1), QPoint(58, 22), QPoint(30, 0), QPoint(0, 12)})
        EXPECT_NE(image.pixel(edge), GROUND.rgb()) << edge.x() << "," << edge.y();
    // The long text is cut inside the edges: the edge pixels at the right
    // keep the edge colours, not the text colour.
    EXPECT_NE(image.pixel(59, 12), test::Pixel(SKIN_COLOR));
    EXPECT_NE(image.pixel(58, 12), test::Pixel(SKIN_COLOR));
    int insideInk = 0;
    for (int x = 2; x < 58; ++x)
        if (image.pixel(x, 8) != GROUND.rgb()) ++insideInk;
    EXPECT_GT(insideInk, 0);
}

}  // namespace
}  // namespace skin
