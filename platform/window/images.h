// Bitmaps and icons by resource id, read from the Qt resource system:
// ":/art/bitmap_<id>.png" (or .bmp) and ":/art/icon_<id>.ico", ".png" or
// one PNG per size, ":/art/icon_<id>_<size>.png". A missing image gives a
// null pixmap or icon; nothing ever fails harder than that.
#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

#include "platform/window/image.h"

namespace platform::window {

// The artwork's file names, the one place they are spelled: the art
// generator writes these files and the loaders below read them.
QString BitmapFileName(int id);          // bitmap_<id>.png
QString IconFileName(int id);            // icon_<id>.png
QString IconFileName(int id, int size);  // icon_<id>_<size>.png, one per size

QPixmap LoadBitmap(int id);
Image LoadBitmapImage(int id);  // the null image when there is none
QSize BitmapSize(int id);       // empty when there is no such bitmap

QIcon LoadIcon(int id);
QList<QSize> IconSizes(int id);  // the sizes the icon comes in, smallest first

// The icon's picture at its own size closest to `wanted` (an icon drawn at a
// size it does not come in would be a scaled copy). Null for a null icon.
QPixmap IconPixmap(const QIcon& icon, QSize wanted);

}  // namespace platform::window
