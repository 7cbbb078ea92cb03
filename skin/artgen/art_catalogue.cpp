#include "skin/artgen/art_catalogue.h"

#include <stdexcept>

#include "platform/window/images.h"
#include "resources/ids.h"
#include "skin/artgen/button_art.h"
#include "skin/artgen/glyph_art.h"
#include "skin/artgen/icon_art.h"
#include "skin/artgen/window_backgrounds.h"

namespace skin::art {
namespace {

QString Bitmap(int id) {
    return QString::fromStdString(platform::window::BitmapFileName(id));
}
QString Icon(int id) {
    return QString::fromStdString(platform::window::IconFileName(id));
}
QString Icon(int id, int size) {
    return QString::fromStdString(platform::window::IconFileName(id, size));
}

std::vector<ArtItem> BuildCatalogue() {
    using G = ButtonGlyph;
    return {
        // Main console window.
        {Icon(res::IDI_CONSOLE, 32), {32, 32}, [] { return ApplicationIcon(32); }},
        {Icon(res::IDI_CONSOLE, 16), {16, 16}, [] { return ApplicationIcon(16); }},
        {Icon(res::IDI_TRAY), {32, 32}, [] { return TrayIcon(); }},
        {Icon(res::IDI_NO_DATA), {8, 8}, [] { return IndicatorIcon(QColor(0, 128, 0)); }},
        {Icon(res::IDI_INDICATOR_GREEN), {8, 8}, [] { return IndicatorIcon(QColor(0, 255, 0)); }},
        {Icon(res::IDI_INDICATOR_RED), {8, 8}, [] { return IndicatorIcon(QColor(255, 0, 0)); }},
        {Bitmap(res::IDB_MAIN_BACKGROUND), {407, 187}, [] { return MainWindowBackground(); }},
        {Bitmap(res::IDB_HIDE_TO_TRAY), {16, 20}, [] { return MinimiseToTrayGlyph(); }},
        {Bitmap(res::IDB_SHUT_DOWN), {30, 30}, [] { return ShutDownGlyph(); }},
        {Bitmap(res::IDB_DEVICE_LIST_DROP), {30, 30}, [] { return DropDownGlyph(); }},
        {Bitmap(res::IDB_STRIP_CONFIG_MENU),
         {322, 32},
         [] { return HoverStrip(QStringLiteral("Configure"), G::Sliders); }},
        {Bitmap(res::IDB_STRIP_FILE_OPERATIONS),
         {322, 32},
         [] { return HoverStrip(QStringLiteral("Files"), G::Document); }},
        {Bitmap(res::IDB_STRIP_STATUS_PANEL),
         {322, 32},
         [] { return HoverStrip(QStringLiteral("Status"), G::Pulse); }},
        // Status panel.
        {Bitmap(res::IDB_STATUS_BACKGROUND), {408, 184}, [] { return StatusPanelBackground(); }},
        {Bitmap(res::IDB_RED_LIGHT), {27, 27}, [] { return RedLamp(); }},
        {Bitmap(res::IDB_GREEN_LIGHT), {27, 27}, [] { return GreenLamp(); }},
        // Configuration menu.
        {Bitmap(res::IDB_MENU_BACKGROUND), {110, 185}, [] { return MenuBackgroundTile(); }},
        {Bitmap(res::IDB_MENU_CHANNEL),
         {123, 39},
         [] { return MenuButton(QStringLiteral("Channel"), G::SignalBars); }},
        {Bitmap(res::IDB_MENU_RESET),
         {123, 39},
         [] { return MenuButton(QStringLiteral("Reset"), G::Reset); }},
        {Bitmap(res::IDB_MENU_NETWORK),
         {123, 39},
         [] { return MenuButton(QStringLiteral("Network"), G::Network); }},
        {Bitmap(res::IDB_MENU_CONTENT),
         {123, 39},
         [] { return MenuButton(QStringLiteral("Content"), G::List); }},
        // Configuration dialogs.
        {Bitmap(res::IDB_DIALOG_BACKGROUND), {283, 185}, [] { return DialogBackground(); }},
        {Bitmap(res::IDB_CHECK_MARK), {23, 23}, [] { return OkGlyph(); }},
        {Bitmap(res::IDB_CROSS), {23, 23}, [] { return CancelGlyph(); }},
        {Bitmap(res::IDB_ADD_ARROW), {27, 19}, [] { return AddGlyph(); }},
        {Bitmap(res::IDB_REMOVE), {27, 20}, [] { return RemoveGlyph(); }},
        {Bitmap(res::IDB_CLEAR), {37, 27}, [] { return ClearGlyph(); }},
        {Bitmap(res::IDB_BROWSE), {100, 30}, [] { return BrowseButton(); }},
        {Bitmap(res::IDB_VIDEO_PID_BACKGROUND), {283, 125}, [] { return VideoPidBackground(); }},
    };
}

std::vector<ArtItem> BuildDesktopIcons() {
    std::vector<ArtItem> icons;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icons.push_back({QStringLiteral("r40-console-%1.png").arg(size), {size, size}, [size] {
                             return ApplicationIcon(size);
                         }});
    return icons;
}

}  // namespace

const std::vector<ArtItem>& SkinArtCatalogue() {
    static const std::vector<ArtItem> catalogue = BuildCatalogue();
    return catalogue;
}

const std::vector<ArtItem>& DesktopIconCatalogue() {
    static const std::vector<ArtItem> catalogue = BuildDesktopIcons();
    return catalogue;
}

QImage DrawArtItem(const ArtItem& item) {
    const QImage image = item.draw().convertToFormat(QImage::Format_ARGB32);
    if (image.size() != item.size)
        throw std::logic_error("picture drawn at the wrong size: " + item.fileName.toStdString());
    // Opaque pictures are stored without an alpha channel.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255) return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace skin::art
