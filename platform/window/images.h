// Bitmaps and icons by resource id, from the program's artwork:
// "bitmap_<id>.png" (or .bmp) and "icon_<id>.ico", ".png" or one PNG per
// size, "icon_<id>_<size>.png". A missing image gives the null image or
// icon; nothing ever fails harder than that.
#pragma once

#include <string>
#include <vector>

#include "platform/window/geometry.h"
#include "platform/window/icon.h"
#include "platform/window/image.h"

namespace platform::window {

// The artwork's file names, the one place they are spelled: the art
// generator writes these files and the loaders below read them.
std::string BitmapFileName(int id);          // bitmap_<id>.png
std::string IconFileName(int id);            // icon_<id>.png
std::string IconFileName(int id, int size);  // icon_<id>_<size>.png, one per size

Image LoadBitmap(int id);  // the null image when there is none
Size BitmapSize(int id);   // empty when there is no such bitmap

Icon LoadIcon(int id);
std::vector<Size> IconSizes(int id);  // the sizes the icon comes in, smallest first

}  // namespace platform::window
