// Bitmaps and icons by resource id, read from the Qt resource system:
// ":/art/bitmap_<id>.png" (or .bmp) and ":/art/icon_<id>.ico", ".png" or
// one PNG per size, ":/art/icon_<id>_<size>.png". A missing image gives a
// null pixmap or icon; nothing ever fails harder than that.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>

namespace platform::window {

QPixmap LoadBitmap(int id);
QSize BitmapSize(int id);  // empty when there is no such bitmap

QIcon LoadIcon(int id);
QList<QSize> IconSizes(int id);  // the sizes the icon comes in, smallest first

// The icon's picture at its own size closest to `wanted` (an icon drawn at a
// size it does not come in would be a scaled copy). Null for a null icon.
QPixmap IconPixmap(const QIcon& icon, QSize wanted);

}  // namespace platform::window
