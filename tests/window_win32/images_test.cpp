// The artwork linked into a Windows program: every catalogued bitmap and
// icon loads at the size its layout depends on, unknown ids give nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/window/images.h"
#include "platform/window/win32/painting.h"
#include "resources/ids.h"
#include "resources/image_catalogue.h"

namespace {

using namespace platform::window;

TEST(Win32Artwork, EveryCataloguedPictureLoadsAtItsSize) {
    int icons = 0;
    for (const res::ImageSpec& image : res::ImageCatalogue()) {
        const Size size{image.width, image.height};
        if (image.icon) {
            ++icons;
            const std::vector<Size> sizes = IconSizes(image.id);
            EXPECT_TRUE(std::ranges::find(sizes, size) != sizes.end()) << "icon " << image.id;
        } else {
            EXPECT_EQ(LoadBitmap(image.id).GetSize(), size) << "bitmap " << image.id;
        }
    }
    EXPECT_GT(icons, 0);
    // An icon of several sizes is one entry per size, and the nearest is drawn.
    const Icon console = LoadIcon(res::IDI_CONSOLE);
    ASSERT_EQ(console.Sizes(), (std::vector<Size>{{16, 16}, {32, 32}}));
    EXPECT_EQ(console.ImageNear({30, 30}).GetSize(), (Size{32, 32}));
    EXPECT_EQ(console.ImageNear({18, 18}).GetSize(), (Size{16, 16}));
}

TEST(Win32Artwork, UnknownIdsLoadNothing) {
    EXPECT_TRUE(LoadBitmap(1).IsNull());
    EXPECT_TRUE(LoadIcon(9999).IsNull());
    EXPECT_TRUE(BitmapSize(9999).IsEmpty());
}

}  // namespace
