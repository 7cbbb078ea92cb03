// Every picture of the skin: its file name in resources/art, its size and how
// it is drawn.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

namespace skin::art {

struct ArtItem {
    QString fileName;  // bitmap_<id>.png, icon_<id>.png or icon_<id>_<size>.png
    QSize size;        // the size the windows' layouts rely on
    std::function<QImage()> draw;
};

const std::vector<ArtItem>& SkinArtCatalogue();

// The application icon for the desktop's icon theme (hicolor), one file per
// size: r40-console-<size>.png, committed in packaging/icons.
const std::vector<ArtItem>& DesktopIconCatalogue();

// Draws one picture and checks it has the catalogued size.
QImage DrawArtItem(const ArtItem& item);

}  // namespace skin::art
