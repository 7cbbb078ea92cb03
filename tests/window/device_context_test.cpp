// The painting vocabulary on the Qt backend: the checks every backend must
// pass (tests/window/painting_checks.h), and the conversions at the Qt
// backend's edge.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"
#include "tests/window/painting_checks.h"

namespace {

using namespace platform::window;
using painting_checks::Picture;

// The Qt backend's white picture, painted through a device context.
Picture PaintOnQt(int width, int height, int windowFontPixels,
                  const painting_checks::Paint& paint) {
    auto image = std::make_shared<QImage>(width, height, QImage::Format_RGB32);
    image->fill(Qt::white);
    QFont font;
    font.setPixelSize(windowFontPixels);
    QPainter painter(image.get());
    PaintWith(painter, font, paint);
    painter.end();
    return Picture{width, height, [image](int x, int y) {
                       return FromQColor(QColor::fromRgb(image->pixel(x, y)));
                   }};
}

TEST(Geometry, RectanglesCrossTheBackendsEdgeWithoutLosingAPixel) {
    const struct {
        Rect rect;
        QRect qt;
    } cases[] = {
        {Rect{0, 0, 1, 1}, QRect(0, 0, 1, 1)},
        {Rect{3, 5, 13, 9}, QRect(QPoint(3, 5), QPoint(12, 8))},
        {Rect::FromSize(-4, 2, 7, 3), QRect(-4, 2, 7, 3)},
        {Rect{6, 6, 6, 6}, QRect(6, 6, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToQRect(c.rect), c.qt) << c.rect.left << "," << c.rect.top;
        EXPECT_EQ(FromQRect(c.qt), c.rect) << c.rect.left << "," << c.rect.top;
    }
    EXPECT_EQ((Rect{2, 3, 10, 8}.Deflated(1, 2, 3, 4)), (Rect{3, 5, 7, 4}));
    EXPECT_TRUE((Rect{3, 5, 7, 4}).IsEmpty());
    EXPECT_EQ((Rect{2, 3, 10, 8}.Offset(-2, 1)), (Rect{0, 4, 8, 9}));
}

TEST(Geometry, ColoursKeepTheirComponentsBothWays) {
    const struct { int r, g, b; } cases[] = {{0, 0, 0}, {255, 255, 255}, {204, 45, 48}, {1, 2, 3}};
    for (const auto& [r, g, b] : cases) {
        const ColorRef c = Rgb(r, g, b);
        EXPECT_EQ(RedOf(c), r);
        EXPECT_EQ(GreenOf(c), g);
        EXPECT_EQ(BlueOf(c), b);
        EXPECT_EQ(ToQColor(c), QColor(r, g, b));
        EXPECT_EQ(FromQColor(QColor(r, g, b)), c);
    }
    EXPECT_EQ(Rgb(0x11, 0x22, 0x33), 0x332211u);  // Win32's 0x00BBGGRR
}

TEST(Text, CrossesTheBackendsEdgeAsUtf8) {
    const std::string text =
        "Kanal 5 \xC2\xB7 Gr\xC3\xBC\xC3\x9F"
        "e";
    EXPECT_EQ(ToQString(text), QStringLiteral(u"Kanal 5 · Grüße"));
    EXPECT_EQ(ToUtf8(ToQString(text)), text);
}

TEST(DeviceContext, EachPrimitiveCoversExactlyItsPixels) {
    painting_checks::ExpectEachPrimitiveCoversExactlyItsPixels(PaintOnQt);
}

TEST(DeviceContext, ShapesAreOutlinedWithThePenAndFilledWithTheBrush) {
    painting_checks::ExpectShapesOutlinedWithThePenAndFilledWithTheBrush(PaintOnQt);
}

TEST(DeviceContext, ImagesAreDrawnCutTiledAndBlended) {
    QImage source(2, 2, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgb(10, 20, 30));
    source.setPixel(1, 0, qRgb(40, 50, 60));
    source.setPixel(0, 1, qRgb(70, 80, 90));
    source.setPixel(1, 1, qRgba(0, 0, 0, 0));
    const Image tile = ImageFromPixmap(QPixmap::fromImage(source));
    painting_checks::ExpectImagesDrawnCutTiledAndBlended(PaintOnQt, tile);
    painting_checks::ExpectPaintOnImagePaintsACopy(PaintOnQt, tile);
}

TEST(DeviceContext, TextIsPlacedByItsFormatBitsInItsColour) {
    painting_checks::ExpectTextPlacedByItsFormatBitsInItsColour(PaintOnQt);
}

TEST(DeviceContext, TextHonoursThePrefixEllipsisAndWordBreakBits) {
    painting_checks::ExpectTextFormatBitsHonoured(PaintOnQt);
}

TEST(DeviceContext, CreatedFontsHaveTheirHeightAndWeight) {
    painting_checks::ExpectCreatedFontsHaveTheirHeightAndWeight();
}

TEST(DeviceContext, TextWidthFollowsTheFontAndTheWindowFontStaysItsOwn) {
    painting_checks::ExpectTextWidthFollowsTheFontAndTheWindowFontStaysItsOwn(PaintOnQt);
}

// A font measures without a device context as with one that has it
// selected (the combo box's drop-down width is sized that way).
TEST(DeviceContext, AFontMeasuresTextAsADeviceContextDoes) {
    PaintOnQt(10, 10, 10, [](DeviceContext& dc) {
        Font large = dc.WindowFont();
        large.SetPixelSize(20);
        large.SetBold(true);
        for (const Font& font : {dc.WindowFont(), large}) {
            dc.SetFont(font);
            for (const char* text : {"now", "R40 02-5C-C1-00-12-34", "0", ""})
                EXPECT_EQ(font.TextWidth(text), dc.TextWidth(text)) << text;
        }
        EXPECT_GT(large.TextWidth("now"), dc.WindowFont().TextWidth("now"));
    });
}

}  // namespace
