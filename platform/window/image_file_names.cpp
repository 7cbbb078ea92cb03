// The artwork's file names, shared by the art generator and every backend.
#include <string>

#include "platform/window/images.h"

namespace platform::window {

std::string BitmapFileName(int id) {
    return "bitmap_" + std::to_string(id) + ".png";
}

std::string IconFileName(int id) {
    return "icon_" + std::to_string(id) + ".png";
}

std::string IconFileName(int id, int size) {
    return "icon_" + std::to_string(id) + "_" + std::to_string(size) + ".png";
}

}  // namespace platform::window
