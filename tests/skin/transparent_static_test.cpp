// The transparent label: text format from the style bits, only letters
// painted in the skin colour, frames, and SetText leaving no trace.
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>

#include <gtest/gtest.h>

#include "platform/window/styles.h"
#include "skin/label_text_format.h"
#include "skin/skin_palette.h"
#include "skin/transparent_static.h"
#include "skin_test_support.h"

namespace skin {
namespace {

using namespace platform::window;  // the Win32 style names

const QColor GROUND(20, 60, 200);

// A window whose background is a picture child, as the skinned dialogs
// have, with a label above it.
struct PictureWindow {
    PictureWindow(const QString& text, std::uint32_t style) : picture(&window), label(&window) {
        window.resize(220, 60);
        QImage ground(220, 60, QImage::Format_RGB32);
        QPainter painter(&ground);
        QLinearGradient gradient(0, 0, 220, 60);
        gradient.setColorAt(0, QColor(250, 240, 200));
        gradient.setColorAt(1, QColor(90, 140, 220));
        painter.fillRect(ground.rect(), gradient);
        painter.end();
        picture.setPixmap(QPixmap::fromImage(ground));
        picture.setGeometry(0, 0, 220, 60);
        label.setGeometry(10, 10, 200, 40);
        label.SetStyle(style);
        label.SetText(text);
        label.setFont(QFont(QStringLiteral("Arial"), 14));
    }
    QWidget window;
    QLabel picture;
    CTransparentStatic label;
};

// The label drawn over a plain coloured parent.
QImage RenderOnGround(const QString& text, std::uint32_t style, QSize size,
                      std::uint32_t exStyle = 0) {
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, GROUND);
    // The owner's text colour must not matter.
    palette.setColor(QPalette::WindowText, Qt::green);
    parent.setPalette(palette);
    parent.resize(size);
    CTransparentStatic label(&parent);
    label.setGeometry(QRect(QPoint(0, 0), size));
    label.setFont(QFont(QStringLiteral("Arial"), 10));
    label.SetStyle(style, exStyle);
    label.SetText(text);
    return parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(LabelTextFormat, FollowsTheStyleBits) {
    const LabelTextFormat left = FormatForStyle(0);
    EXPECT_EQ(left.alignment, Qt::AlignLeft | Qt::AlignTop);
    EXPECT_TRUE(left.wordWrap);
    EXPECT_TRUE(left.showMnemonic);
    EXPECT_FALSE(left.singleLine);

    EXPECT_EQ(FormatForStyle(1).alignment, Qt::AlignHCenter | Qt::AlignTop);
    EXPECT_EQ(FormatForStyle(2).alignment, Qt::AlignRight | Qt::AlignTop);

    const LabelTextFormat image = FormatForStyle(SS_CENTERIMAGE | 1);
    EXPECT_TRUE(image.singleLine);
    EXPECT_FALSE(image.wordWrap);
    EXPECT_EQ(image.alignment, Qt::AlignHCenter | Qt::AlignVCenter);

    EXPECT_FALSE(FormatForStyle(SS_NOPREFIX).showMnemonic);
    EXPECT_FALSE(FormatForStyle(SS_LEFTNOWORDWRAP).wordWrap);

    const LabelTextFormat end = FormatForStyle(SS_ENDELLIPSIS);
    EXPECT_TRUE(end.ellipsis);
    EXPECT_FALSE(end.wordWrap);
    EXPECT_EQ(end.elideMode, Qt::ElideRight);
    EXPECT_EQ(FormatForStyle(SS_PATHELLIPSIS).elideMode, Qt::ElideMiddle);
    EXPECT_TRUE(FormatForStyle(SS_WORDELLIPSIS).ellipsis);
    // A sunken edge is no text format bit: such labels still wrap.
    EXPECT_TRUE(FormatForStyle(SS_SUNKEN | 1).wordWrap);
}

TEST(TransparentStatic, PaintsOnlyLettersInTheSkinColour) {
    const QImage image = RenderOnGround(QStringLiteral("Default Gateway"), 0, QSize(160, 30));
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
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette ground = parent.palette();
    ground.setColor(QPalette::Window, GROUND);
    parent.setPalette(ground);
    parent.resize(100, 30);
    CTransparentStatic label(&parent);
    label.setGeometry(0, 0, 100, 30);
    // As a dialog answers a control's request for colours.
    label.setAutoFillBackground(true);
    QPalette brush = label.palette();
    brush.setBrush(QPalette::Window, Qt::yellow);
    label.setPalette(brush);
    label.SetText(QStringLiteral("SNR"));
    const QImage image = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(90, 25), GROUND.rgb());
    EXPECT_EQ(image.pixel(0, 29), GROUND.rgb());
}

TEST(TransparentStatic, SetTextReportsWhetherThereIsAParent) {
    CTransparentStatic orphan;
    EXPECT_FALSE(orphan.SetText(QStringLiteral("x")));
    EXPECT_EQ(orphan.Text(), QStringLiteral("x"));
    QWidget parent;
    CTransparentStatic child(&parent);
    EXPECT_TRUE(child.SetText(QStringLiteral("y")));
}

TEST(TransparentStatic, ShorterTextLeavesNoTraceOfTheOldLetters) {
    PictureWindow shown(QStringLiteral("Failed To Configure WWWW"), 1);
    shown.window.show();
    test::Settle();
    const QImage before = test::ScreenContents(shown.window);

    shown.label.SetText(QStringLiteral("OK"));
    const QImage after = test::ScreenContents(shown.window);

    PictureWindow fresh(QStringLiteral("OK"), 1);
    fresh.window.show();
    const QImage expected = test::ScreenContents(fresh.window);

    ASSERT_EQ(after.size(), expected.size());
    EXPECT_FALSE(before == after);
    EXPECT_TRUE(after == expected) << "old letters remain on screen";
    test::SaveRender(after, QStringLiteral("label_after_set_text.png"));
}

TEST(TransparentStatic, CentreImageDrawsOneLineCentredVertically) {
    const QSize size(200, 60);
    const QImage image =
        RenderOnGround(QStringLiteral("first words\nsecond line"), SS_CENTERIMAGE, size);
    const auto ink = test::InkBounds(image, GROUND.rgb());
    ASSERT_TRUE(ink.has_value());
    const int above = ink->top();
    const int below = size.height() - 1 - ink->bottom();
    EXPECT_LE(std::abs(above - below), 4) << above << " above, " << below << " below";
    EXPECT_LT(ink->height(), QFontMetrics(QFont(QStringLiteral("Arial"), 10)).height() + 2);
}

TEST(TransparentStatic, PlainLeftLabelWrapsAtWordsAndNoWrapTypeDoesNot) {
    const QString text = QStringLiteral("Load a configuration file and apply all settings");
    const int line = QFontMetrics(QFont(QStringLiteral("Arial"), 10)).height();
    const auto wrapped = test::InkBounds(RenderOnGround(text, 0, QSize(120, 80)), GROUND.rgb());
    const auto single =
        test::InkBounds(RenderOnGround(text, SS_LEFTNOWORDWRAP, QSize(120, 80)), GROUND.rgb());
    ASSERT_TRUE(wrapped && single);
    EXPECT_GT(wrapped->height(), 2 * line);
    EXPECT_LT(single->height(), line + 2);
}

TEST(TransparentStatic, EllipsisShortensLongText) {
    const QString text =
        QStringLiteral("Create a Configuration File From The current Device Status");
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
    const auto withPrefix = test::InkBounds(
        RenderOnGround(QStringLiteral("&Apply"), SS_LEFTNOWORDWRAP, {100, 24}), GROUND.rgb());
    const auto noPrefix = test::InkBounds(
        RenderOnGround(QStringLiteral("&Apply"), SS_LEFTNOWORDWRAP | SS_NOPREFIX, {100, 24}),
        GROUND.rgb());
    ASSERT_TRUE(withPrefix && noPrefix);
    // The literal ampersand makes the text wider.
    EXPECT_GT(noPrefix->width(), withPrefix->width() + 4);
}

TEST(TransparentStatic, SunkenBorderedLabelDrawsItsEdgesAndKeepsTextInside) {
    // A border line and a one-pixel sunken edge: two pixels on every side.
    const QImage image = RenderOnGround(QStringLiteral("WWWWWWWWWWWWWWWW"),
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
