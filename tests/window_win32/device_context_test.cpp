// The painting vocabulary on the Win32 backend (GDI+, under Wine here):
// the primitives put their pixels where the Qt backend puts them, shapes
// take pen and brush, images are cut, tiled and blended, text follows its
// format bits and fonts, and UTF-8 crosses to the wide API intact.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"
#include "tests/window/primitive_cases.h"

namespace {

using namespace platform::window;
using painting_cases::INK;
using painting_cases::OTHER;
constexpr ColorRef WHITE = Rgb(255, 255, 255);

// A white picture of `size` painted through a device context.
class Picture {
  public:
    Picture(int width, int height, const std::function<void(DeviceContext&)>& paint,
            const Font& windowFont = Font())
        : m_bitmap(width, height, PixelFormat32bppARGB) {
        Gdiplus::Graphics graphics(&m_bitmap);
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        win32::PaintWith(graphics, windowFont, paint);
    }

    ColorRef At(int x, int y) {
        Gdiplus::Color c;
        m_bitmap.GetPixel(x, y, &c);
        return Rgb(c.GetR(), c.GetG(), c.GetB());
    }

    std::vector<std::pair<int, int>> Inked() {
        std::vector<std::pair<int, int>> inked;
        for (int y = 0; y < static_cast<int>(m_bitmap.GetHeight()); ++y)
            for (int x = 0; x < static_cast<int>(m_bitmap.GetWidth()); ++x)
                if (At(x, y) != WHITE) inked.push_back({x, y});
        return inked;
    }

    // The smallest rectangle around every pixel not left white.
    Rect InkBounds() {
        Rect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (const auto& [x, y] : Inked()) {
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x + 1);
            bounds.bottom = std::max(bounds.bottom, y + 1);
        }
        return bounds;
    }

  private:
    Gdiplus::Bitmap m_bitmap;
};

class Win32Painting : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(win32::StartGdiplus()); }
};

TEST_F(Win32Painting, EachPrimitiveCoversExactlyThePixelsOfTheQtBackend) {
    for (const auto& c : painting_cases::PrimitiveCases()) {
        Picture picture(20, 20, c.paint);
        EXPECT_EQ(picture.Inked(), c.pixels) << c.name;
        for (const auto& [x, y] : c.pixels) EXPECT_EQ(picture.At(x, y), INK) << c.name;
    }
}

TEST_F(Win32Painting, ShapesAreOutlinedWithThePenAndFilledWithTheBrush) {
    Picture picture(20, 20, [](DeviceContext& dc) {
        dc.SetPen(Pen{INK});
        dc.SetBrush(OTHER);
        dc.Rectangle(Rect{2, 2, 8, 8});
        dc.SetNullPen();
        const Point triangle[] = {{12, 2}, {18, 2}, {15, 8}};
        dc.Polygon(triangle);
    });
    EXPECT_EQ(picture.At(2, 5), INK);
    EXPECT_EQ(picture.At(8, 5), INK);
    EXPECT_EQ(picture.At(5, 5), OTHER);
    EXPECT_EQ(picture.At(15, 4), OTHER);
    EXPECT_EQ(picture.At(11, 4), WHITE);

    Picture pie(20, 20, painting_cases::PaintQuarterPie);
    for (const auto& [x, y, inked] : painting_cases::QUARTER_PIE_INK)
        EXPECT_EQ(pie.At(x, y) == INK, inked) << x << "," << y;
}

TEST_F(Win32Painting, ImagesAreDrawnCutTiledAndBlended) {
    Gdiplus::Bitmap source(2, 2, PixelFormat32bppARGB);
    source.SetPixel(0, 0, Gdiplus::Color(255, 10, 20, 30));
    source.SetPixel(1, 0, Gdiplus::Color(255, 40, 50, 60));
    source.SetPixel(0, 1, Gdiplus::Color(255, 70, 80, 90));
    source.SetPixel(1, 1, Gdiplus::Color(0, 0, 0, 0));  // transparent: the ground shows
    const Image tile = win32::ImageFromBitmap(source);
    ASSERT_FALSE(tile.IsNull());
    EXPECT_EQ(tile.GetSize(), (Size{2, 2}));

    Picture picture(20, 20, [&](DeviceContext& dc) {
        dc.TileImage(Rect{3, 3, 8, 6}, tile);
        dc.DrawImage({10, 10}, tile, Rect{1, 0, 2, 2});  // the right column only
        dc.SetOpacity(0.5);
        dc.DrawImage({15, 15}, tile);
        dc.DrawImage({0, 0}, Image());  // the null image draws nothing
    });
    // Tiles start at the rectangle's corner and stop at its edge.
    EXPECT_EQ(picture.At(3, 3), Rgb(10, 20, 30));
    EXPECT_EQ(picture.At(5, 3), Rgb(10, 20, 30));
    EXPECT_EQ(picture.At(4, 4), WHITE);
    EXPECT_EQ(picture.At(7, 5), Rgb(10, 20, 30));
    EXPECT_EQ(picture.At(8, 3), WHITE);
    EXPECT_EQ(picture.At(3, 6), WHITE);
    // The cut: the source's right column at the destination's left.
    EXPECT_EQ(picture.At(10, 10), Rgb(40, 50, 60));
    EXPECT_EQ(picture.At(11, 10), WHITE);
    // Half opacity: half way to the white ground.
    EXPECT_NEAR(RedOf(picture.At(15, 15)), (10 + 255) / 2, 2);
    EXPECT_EQ(picture.At(0, 0), WHITE);
}

TEST_F(Win32Painting, TextIsPlacedByItsFormatBitsAndMeasuredInItsFont) {
    Font font;
    font.SetPixelSize(12);
    const auto inkBounds = [&](unsigned format) {
        return Picture(
                   120, 60,
                   [&](DeviceContext& dc) {
                       dc.SetFont(dc.WindowFont());
                       dc.SetTextColor(INK);
                       dc.DrawText(Rect{0, 0, 120, 60}, "Lock", format);
                   },
                   font)
            .InkBounds();
    };
    const Rect topLeft = inkBounds(DT_LEFT | DT_TOP);
    const Rect centred = inkBounds(DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const Rect bottomRight = inkBounds(DT_RIGHT | DT_BOTTOM);
    ASSERT_FALSE(topLeft.IsEmpty()) << "no ink: the text was not drawn";
    EXPECT_LT(topLeft.left, 5);
    EXPECT_LT(topLeft.top, 10);
    EXPECT_NEAR((centred.left + centred.right) / 2, 60, 3);
    EXPECT_NEAR((centred.top + centred.bottom) / 2, 30, 4);
    EXPECT_GT(bottomRight.right, 113);
    EXPECT_GT(bottomRight.bottom, 52);
    EXPECT_NEAR(centred.Width(), topLeft.Width(), 1) << "the same word, moved";

    Picture(10, 10, [](DeviceContext& dc) {
        Font small = dc.WindowFont();
        small.SetPixelSize(10);
        dc.SetFont(small);
        const int narrow = dc.TextWidth("now");
        EXPECT_GT(narrow, 0);
        Font large = small;
        large.SetPixelSize(20);
        large.SetBold(true);
        EXPECT_TRUE(large.Bold());
        EXPECT_EQ(large.PixelSize(), 20);
        dc.SetFont(large);
        EXPECT_GT(dc.TextWidth("now"), narrow + narrow / 2);
        EXPECT_EQ(dc.TextWidth(""), 0);
        EXPECT_FALSE(dc.WindowFont().Bold()) << "a copy changed, not the window's font";
    });
}

TEST_F(Win32Painting, Utf8CrossesToTheWideApiAndBack) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {"", L""},
        {"Lock", L"Lock"},
        {"Kanal 5 \xC2\xB7 Gr\xC3\xBC\xC3\x9F"
         "e",
         L"Kanal 5 \u00B7 Gr\u00FC\u00DF"
         L"e"},
        {"\xF0\x9F\x93\xA1", L"\U0001F4E1"},  // outside the BMP: a surrogate pair
    };
    for (const auto& c : cases) {
        EXPECT_EQ(win32::Widen(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(win32::Narrow(c.wide), c.utf8) << c.utf8;
    }
    // Broken UTF-8 is replaced, never dropped whole or read past its end.
    EXPECT_EQ(win32::Widen("a\xFF"
                           "b"),
              L"a\uFFFD"
              L"b");
}

}  // namespace
