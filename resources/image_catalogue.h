// Every bitmap and icon the windows use, with the size their layout
// depends on. The artwork itself lives in resources/art/.
#pragma once

#include <span>
#include <string_view>

namespace res {

struct ImageSpec {
    int id = 0;
    bool icon = false;  // an icon (one entry per size) or a bitmap
    int width = 0;
    int height = 0;
    std::string_view use;
};

std::span<const ImageSpec> ImageCatalogue();

}  // namespace res
