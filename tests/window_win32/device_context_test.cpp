// The painting vocabulary on the Win32 backend (GDI+, under Wine here): the
// checks every backend must pass (tests/window/painting_checks.h), where
// the primitives put their pixels exactly where the Qt backend does, and
// UTF-8 crossing to the wide API intact.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/device_context.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"
#include "tests/window/painting_checks.h"

namespace {

using namespace platform::window;
using painting_checks::Picture;

// The Win32 backend's white picture, painted through a device context.
Picture PaintOnGdiplus(int width, int height, int windowFontPixels,
                       const painting_checks::Paint& paint) {
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    {
        Gdiplus::Graphics graphics(bitmap.get());
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        Font font;
        font.SetPixelSize(windowFontPixels);
        win32::PaintWith(graphics, font, paint);
    }
    return Picture{width, height, [bitmap](int x, int y) {
                       Gdiplus::Color c;
                       bitmap->GetPixel(x, y, &c);
                       return Rgb(c.GetR(), c.GetG(), c.GetB());
                   }};
}

class Win32Painting : public testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(win32::StartGdiplus()); }
};

TEST_F(Win32Painting, EachPrimitiveCoversExactlyThePixelsOfTheQtBackend) {
    painting_checks::ExpectEachPrimitiveCoversExactlyItsPixels(PaintOnGdiplus);
}

TEST_F(Win32Painting, ShapesAreOutlinedWithThePenAndFilledWithTheBrush) {
    painting_checks::ExpectShapesOutlinedWithThePenAndFilledWithTheBrush(PaintOnGdiplus);
}

TEST_F(Win32Painting, ImagesAreDrawnCutTiledAndBlended) {
    Gdiplus::Bitmap source(2, 2, PixelFormat32bppARGB);
    source.SetPixel(0, 0, Gdiplus::Color(255, 10, 20, 30));
    source.SetPixel(1, 0, Gdiplus::Color(255, 40, 50, 60));
    source.SetPixel(0, 1, Gdiplus::Color(255, 70, 80, 90));
    source.SetPixel(1, 1, Gdiplus::Color(0, 0, 0, 0));
    const Image tile = win32::ImageFromBitmap(source);
    painting_checks::ExpectImagesDrawnCutTiledAndBlended(PaintOnGdiplus, tile);
    painting_checks::ExpectPaintOnImagePaintsACopy(PaintOnGdiplus, tile);
}

TEST_F(Win32Painting, TextIsPlacedByItsFormatBitsInItsColour) {
    painting_checks::ExpectTextPlacedByItsFormatBitsInItsColour(PaintOnGdiplus);
}

TEST_F(Win32Painting, TextHonoursThePrefixEllipsisAndWordBreakBits) {
    painting_checks::ExpectTextFormatBitsHonoured(PaintOnGdiplus);
}

TEST_F(Win32Painting, CreatedFontsHaveTheirHeightAndWeight) {
    painting_checks::ExpectCreatedFontsHaveTheirHeightAndWeight();
}

TEST_F(Win32Painting, TextWidthFollowsTheFontAndTheWindowFontStaysItsOwn) {
    painting_checks::ExpectTextWidthFollowsTheFontAndTheWindowFontStaysItsOwn(PaintOnGdiplus);
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
