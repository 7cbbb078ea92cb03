// The painting vocabulary on the Qt backend: where each primitive puts its
// pixels in the layer's terms (rectangles right and bottom exclusive, lines
// with both ends), and the conversions at the backend's edge.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <string>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"
#include "tests/window/primitive_cases.h"

namespace {

using namespace platform::window;

using painting_cases::INK;
using painting_cases::OTHER;

// A 20 x 20 white picture painted through a device context.
QImage Paint(const std::function<void(DeviceContext&)>& paint) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintWith(painter, QFont(), paint);
    painter.end();
    return image;
}

bool Is(const QImage& image, int x, int y, ColorRef colour) {
    return image.pixel(x, y) == ToQColor(colour).rgb();
}

// Every pixel of the picture that is not white, as (x, y) pairs.
std::vector<std::pair<int, int>> Inked(const QImage& image) {
    std::vector<std::pair<int, int>> inked;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) inked.push_back({x, y});
    return inked;
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
    for (const auto& c : painting_cases::PrimitiveCases()) {
        const QImage image = Paint(c.paint);
        EXPECT_EQ(Inked(image), c.pixels) << c.name;
        for (const auto& [x, y] : c.pixels) EXPECT_TRUE(Is(image, x, y, INK)) << c.name;
    }
}

TEST(DeviceContext, ShapesAreOutlinedWithThePenAndFilledWithTheBrush) {
    const QImage image = Paint([](DeviceContext& dc) {
        dc.SetPen(Pen{INK});
        dc.SetBrush(OTHER);
        dc.Rectangle(Rect{2, 2, 8, 8});
        dc.SetNullPen();
        const Point triangle[] = {{12, 2}, {18, 2}, {15, 8}};
        dc.Polygon(triangle);
    });
    EXPECT_TRUE(Is(image, 2, 5, INK));
    EXPECT_TRUE(Is(image, 8, 5, INK));
    EXPECT_TRUE(Is(image, 5, 5, OTHER));
    EXPECT_TRUE(Is(image, 15, 4, OTHER));
    EXPECT_TRUE(Is(image, 11, 4, Rgb(255, 255, 255)));

    const QImage pie = Paint(painting_cases::PaintQuarterPie);
    for (const auto& [x, y, inked] : painting_cases::QUARTER_PIE_INK)
        EXPECT_EQ(Is(pie, x, y, INK), inked) << x << "," << y;
}

TEST(DeviceContext, ImagesAreDrawnCutTiledAndBlended) {
    QImage source(2, 2, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgb(10, 20, 30));
    source.setPixel(1, 0, qRgb(40, 50, 60));
    source.setPixel(0, 1, qRgb(70, 80, 90));
    source.setPixel(1, 1, qRgba(0, 0, 0, 0));  // transparent: the ground shows
    const Image tile = ImageFromPixmap(QPixmap::fromImage(source));
    ASSERT_FALSE(tile.IsNull());
    EXPECT_EQ(tile.GetSize(), (Size{2, 2}));

    const QImage image = Paint([&](DeviceContext& dc) {
        dc.TileImage(Rect{3, 3, 8, 6}, tile);
        dc.DrawImage({10, 10}, tile, Rect{1, 0, 2, 2});  // the right column only
        dc.SetOpacity(0.5);
        dc.DrawImage({15, 15}, tile);
        dc.DrawImage({0, 0}, Image());  // the null image draws nothing
    });
    // Tiles start at the rectangle's corner and stop at its edge.
    EXPECT_EQ(image.pixel(3, 3), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(5, 3), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(7, 5), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(8, 3), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 6), qRgb(255, 255, 255));
    // The cut: the source's right column at the destination's left.
    EXPECT_EQ(image.pixel(10, 10), qRgb(40, 50, 60));
    EXPECT_EQ(image.pixel(11, 10), qRgb(255, 255, 255));
    // Half opacity: half way to the white ground.
    EXPECT_NEAR(qRed(image.pixel(15, 15)), (10 + 255) / 2, 2);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
}

TEST(DeviceContext, TextIsPlacedByItsFormatBitsInItsColour) {
    // Where the ink of one word lands in a wide, tall rectangle.
    const auto inkBounds = [](unsigned format) {
        QImage image(120, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font;
        font.setPixelSize(12);
        PaintWith(painter, font, [&](DeviceContext& dc) {
            dc.SetFont(dc.WindowFont());
            dc.SetTextColor(INK);
            dc.DrawText(Rect{0, 0, 120, 60}, "Lock", format);
        });
        painter.end();
        QRect bounds;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const QRect topLeft = inkBounds(DT_LEFT | DT_TOP);
    const QRect centred = inkBounds(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const QRect bottomRight = inkBounds(DT_RIGHT | DT_BOTTOM);
    ASSERT_FALSE(topLeft.isEmpty());
    EXPECT_LT(topLeft.left(), 5);
    EXPECT_LT(topLeft.top(), 10);
    EXPECT_NEAR(centred.center().x(), 60, 3);
    EXPECT_NEAR(centred.center().y(), 30, 4);
    EXPECT_GT(bottomRight.right(), 113);
    EXPECT_GT(bottomRight.bottom(), 52);
    EXPECT_NEAR(centred.width(), topLeft.width(), 1) << "the same word, moved";
}

TEST(DeviceContext, TextWidthFollowsTheFontAndTheWindowFontStaysItsOwn) {
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter painter(&image);
    QFont font;
    font.setPixelSize(10);
    PaintWith(painter, font, [](DeviceContext& dc) {
        Font small = dc.WindowFont();
        EXPECT_EQ(small.PixelSize(), 10);
        dc.SetFont(small);
        const int narrow = dc.TextWidth("now");
        Font large = dc.WindowFont();
        large.SetPixelSize(20);
        large.SetBold(true);
        EXPECT_TRUE(large.Bold());
        dc.SetFont(large);
        EXPECT_GT(dc.TextWidth("now"), narrow + narrow / 2);
        EXPECT_EQ(dc.TextWidth(""), 0);
        // A font measures without a device context as with one.
        EXPECT_EQ(small.TextWidth("now"), narrow);
        EXPECT_EQ(large.TextWidth("now"), dc.TextWidth("now"));
        EXPECT_EQ(large.TextWidth(""), 0);
        // Changing a copy leaves the window's font as it was.
        EXPECT_EQ(dc.WindowFont().PixelSize(), 10);
        EXPECT_FALSE(dc.WindowFont().Bold());
    });
}

}  // namespace
