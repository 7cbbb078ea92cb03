// The skin's pictures: every one the windows use is there at its size and
// colours, the committed files are the generator's output, and the tiles
// that controls fill from their own corner blend with the windows.
#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "platform/window/images.h"
#include "platform/window/qt/conversions.h"
#include "resources/ids.h"
#include "resources/image_catalogue.h"
#include "skin/artgen/art_catalogue.h"
#include "skin/artgen/art_layout.h"

namespace skin {
namespace {

QImage Committed(const QString& fileName) {
    return QImage(QDir(QStringLiteral(R40_ART_SOURCE_DIR)).filePath(fileName));
}

// Qt's raster engine picks its blending code by the processor (SSE2, AVX2),
// and those round a blended channel differently by one. The same generator
// therefore draws a pixel or two one step apart on another machine; anything
// more is a picture that was changed and not regenerated.
bool SameUpToRounding(const QImage& drawnImage, const QImage& committedImage) {
    const QImage drawn = drawnImage.convertToFormat(QImage::Format_ARGB32);
    const QImage committed = committedImage.convertToFormat(QImage::Format_ARGB32);
    if (drawn.size() != committed.size()) return false;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y);
            const QRgb b = committed.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > 1 || std::abs(qGreen(a) - qGreen(b)) > 1 ||
                std::abs(qBlue(a) - qBlue(b)) > 1 || std::abs(qAlpha(a) - qAlpha(b)) > 1)
                return false;
        }
    return true;
}

// The file each catalogued picture lives in: an icon that comes in several
// sizes has one file per size.
std::map<QString, QSize> CataloguedFiles() {
    std::map<int, int> iconSizes;
    for (const res::ImageSpec& image : res::ImageCatalogue())
        if (image.icon) ++iconSizes[image.id];
    std::map<QString, QSize> files;
    for (const res::ImageSpec& image : res::ImageCatalogue()) {
        std::string name = platform::window::BitmapFileName(image.id);
        if (image.icon)
            name = iconSizes[image.id] > 1 ? platform::window::IconFileName(image.id, image.width)
                                           : platform::window::IconFileName(image.id);
        files[QString::fromStdString(name)] = QSize(image.width, image.height);
    }
    return files;
}

TEST(Artwork, ProgramLoadsEveryCataloguedPictureAtItsSize) {
    for (const res::ImageSpec& image : res::ImageCatalogue()) {
        const QSize size(image.width, image.height);
        if (image.icon) {
            const std::vector<platform::window::Size> sizes = platform::window::IconSizes(image.id);
            EXPECT_TRUE(std::ranges::find(sizes, platform::window::FromQSize(size)) != sizes.end())
                << "icon " << image.id;
        } else {
            EXPECT_EQ(platform::window::LoadBitmap(image.id).GetSize(),
                      platform::window::FromQSize(size))
                << "bitmap " << image.id;
        }
    }
}

TEST(Artwork, GeneratorDrawsExactlyTheCataloguedPictures) {
    const std::map<QString, QSize> expected = CataloguedFiles();
    const auto& catalogue = art::SkinArtCatalogue();
    EXPECT_EQ(catalogue.size(), expected.size());
    for (const art::ArtItem& item : catalogue) {
        const auto file = expected.find(item.fileName);
        ASSERT_NE(file, expected.end()) << item.fileName.toStdString();
        EXPECT_EQ(item.size, file->second) << item.fileName.toStdString();
    }
}

TEST(Artwork, CommittedFilesAreTheGeneratorsOutput) {
    for (const art::ArtItem& item : art::SkinArtCatalogue()) {
        EXPECT_TRUE(SameUpToRounding(art::DrawArtItem(item), Committed(item.fileName)))
            << item.fileName.toStdString() << " differs: run skin_art_generator resources/art";
    }
}

// The desktop icons are committed beside the package files, and drawn from
// the same tile as the window's icon: at 32 pixels they are that icon.
TEST(Artwork, CommittedDesktopIconsAreTheGeneratorsOutput) {
    const QDir folder(QStringLiteral(R40_DESKTOP_ICON_DIR));
    for (const art::ArtItem& item : art::DesktopIconCatalogue()) {
        const QImage committed(folder.filePath(item.fileName));
        EXPECT_EQ(committed.size(), item.size) << item.fileName.toStdString();
        EXPECT_TRUE(SameUpToRounding(art::DrawArtItem(item), committed))
            << item.fileName.toStdString()
            << " differs: run skin_art_generator --desktop-icons "
               "packaging/icons";
    }
    EXPECT_TRUE(
        QImage(folder.filePath(QStringLiteral("r40-console-32.png")))
            .convertToFormat(QImage::Format_ARGB32) ==
        Committed(QStringLiteral("icon_128_32.png")).convertToFormat(QImage::Format_ARGB32));
}

TEST(Artwork, IndicatorLampsAreSolidColours) {
    const std::map<QString, QRgb> lamps{
        {QString::fromStdString(platform::window::IconFileName(res::IDI_NO_DATA)), qRgb(0, 128, 0)},
        {QString::fromStdString(platform::window::IconFileName(res::IDI_INDICATOR_GREEN)),
         qRgb(0, 255, 0)},
        {QString::fromStdString(platform::window::IconFileName(res::IDI_INDICATOR_RED)),
         qRgb(255, 0, 0)}};
    for (const auto& [name, colour] : lamps) {
        const QImage image = Committed(name).convertToFormat(QImage::Format_ARGB32);
        int solid = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if (image.pixel(x, y) == colour) ++solid;
        EXPECT_EQ(solid, 60) << name.toStdString();  // all but the four corners
    }
}

TEST(Artwork, UnknownIdLoadsNothing) {
    EXPECT_TRUE(platform::window::LoadBitmap(1).IsNull());
}

TEST(Artwork, MenuPictureTilesWithoutSeams) {
    const QImage tile = Committed(QString::fromStdString(
                                      platform::window::BitmapFileName(res::IDB_MENU_BACKGROUND)))
                            .convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
        ASSERT_EQ(tile.pixel(0, y), tile.pixel(tile.width() - 1, y)) << y;
    for (int x = 0; x < tile.width(); ++x)
        ASSERT_EQ(tile.pixel(x, 0), tile.pixel(x, tile.height() - 1)) << x;
}

// Check boxes and tinted labels fill from the top-left corner of their
// background picture, wherever they stand; that corner must match what the
// window shows beneath them.
void ExpectTileMatches(const QImage& tileSource, const QImage& window, const QRect& control,
                       const char* what) {
    for (int y = 0; y < control.height(); ++y)
        for (int x = 0; x < control.width(); ++x) {
            const QRgb fill = tileSource.pixel(x % tileSource.width(), y % tileSource.height());
            const QRgb under = window.pixel((control.x() + x) % window.width(),
                                            (control.y() + y) % window.height());
            ASSERT_EQ(fill, under) << what << " at " << x << "," << y;
        }
}

TEST(Artwork, CheckBoxTilesBlendWithEveryDialog) {
    const QImage dialog =
        Committed(
            QString::fromStdString(platform::window::BitmapFileName(res::IDB_DIALOG_BACKGROUND)))
            .convertToFormat(QImage::Format_RGB32);
    const QImage menu = Committed(QString::fromStdString(
                                      platform::window::BitmapFileName(res::IDB_MENU_BACKGROUND)))
                            .convertToFormat(QImage::Format_RGB32);
    const QImage videoPid =
        Committed(
            QString::fromStdString(platform::window::BitmapFileName(res::IDB_VIDEO_PID_BACKGROUND)))
            .convertToFormat(QImage::Format_RGB32);
    using art::DialogUnitsToPixels;
    // Network dialog: the IGMP box.
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(85, 82, 10, 10), "1056");
    // Content dialog: decimal, hexadecimal and video PID boxes, and the two
    // statics filled with the same picture.
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(8, 39, 10, 10), "1057");
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(8, 50, 10, 10), "1058");
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(140, 59, 10, 10), "1084");
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(99, 56, 56, 18), "1089");
    ExpectTileMatches(dialog, dialog, DialogUnitsToPixels(102, 57, 32, 16), "1083");
    // Load/save dialog: boxes over the tiled menu picture.
    for (const int y : {24, 41, 59, 75})
        ExpectTileMatches(dialog, menu, DialogUnitsToPixels(5, y, 12, 10), "load/save box");
    // Video PID dialog: its statics take their fill from its own picture.
    for (const int y : {4, 23, 42})
        ExpectTileMatches(videoPid, videoPid, DialogUnitsToPixels(2, y, 68, 10), "video PID label");
}

}  // namespace
}  // namespace skin
