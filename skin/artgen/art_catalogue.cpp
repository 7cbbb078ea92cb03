#include "skin/artgen/art_catalogue.h"

#include <stdexcept>

#include "skin/artgen/button_art.h"
#include "skin/artgen/glyph_art.h"
#include "skin/artgen/icon_art.h"
#include "skin/artgen/window_backgrounds.h"

namespace skin::art {
namespace {

QString Bitmap(int id) {
    return QStringLiteral("bitmap_%1.png").arg(id);
}
QString Icon(int id) {
    return QStringLiteral("icon_%1.png").arg(id);
}
QString Icon(int id, int size) {
    return QStringLiteral("icon_%1_%2.png").arg(id).arg(size);
}

std::vector<ArtItem> BuildCatalogue() {
    using G = ButtonGlyph;
    return {
        // Main console window.
        {Icon(128, 32), {32, 32}, [] { return ApplicationIcon(32); }},
        {Icon(128, 16), {16, 16}, [] { return ApplicationIcon(16); }},
        {Icon(170), {32, 32}, [] { return TrayIcon(); }},
        {Icon(146), {8, 8}, [] { return IndicatorIcon(QColor(0, 128, 0)); }},
        {Icon(147), {8, 8}, [] { return IndicatorIcon(QColor(0, 255, 0)); }},
        {Icon(148), {8, 8}, [] { return IndicatorIcon(QColor(255, 0, 0)); }},
        {Bitmap(131), {407, 187}, [] { return MainWindowBackground(); }},
        {Bitmap(132), {16, 20}, [] { return MinimiseToTrayGlyph(); }},
        {Bitmap(156), {30, 30}, [] { return ShutDownGlyph(); }},
        {Bitmap(167), {30, 30}, [] { return DropDownGlyph(); }},
        {Bitmap(133),
         {322, 32},
         [] { return HoverStrip(QStringLiteral("Configure"), G::Sliders); }},
        {Bitmap(134), {322, 32}, [] { return HoverStrip(QStringLiteral("Files"), G::Document); }},
        {Bitmap(137), {322, 32}, [] { return HoverStrip(QStringLiteral("Status"), G::Pulse); }},
        // Status panel.
        {Bitmap(145), {408, 184}, [] { return StatusPanelBackground(); }},
        {Bitmap(174), {27, 27}, [] { return RedLamp(); }},
        {Bitmap(175), {27, 27}, [] { return GreenLamp(); }},
        // Configuration menu.
        {Bitmap(150), {110, 185}, [] { return MenuBackgroundTile(); }},
        {Bitmap(151),
         {123, 39},
         [] { return MenuButton(QStringLiteral("Channel"), G::SignalBars); }},
        {Bitmap(152), {123, 39}, [] { return MenuButton(QStringLiteral("Reset"), G::Reset); }},
        {Bitmap(153), {123, 39}, [] { return MenuButton(QStringLiteral("Network"), G::Network); }},
        {Bitmap(154), {123, 39}, [] { return MenuButton(QStringLiteral("Content"), G::List); }},
        // Configuration dialogs.
        {Bitmap(158), {283, 185}, [] { return DialogBackground(); }},
        {Bitmap(159), {23, 23}, [] { return OkGlyph(); }},
        {Bitmap(160), {23, 23}, [] { return CancelGlyph(); }},
        {Bitmap(163), {27, 19}, [] { return AddGlyph(); }},
        {Bitmap(164), {27, 20}, [] { return RemoveGlyph(); }},
        {Bitmap(165), {37, 27}, [] { return ClearGlyph(); }},
        {Bitmap(179), {100, 30}, [] { return BrowseButton(); }},
        {Bitmap(182), {283, 125}, [] { return VideoPidBackground(); }},
    };
}

}  // namespace

const std::vector<ArtItem>& SkinArtCatalogue() {
    static const std::vector<ArtItem> catalogue = BuildCatalogue();
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
