// Pictures to and from files (GDI+'s image encoders and decoders): what a
// program that renders its windows for a look writes, and what a test reads
// back. Paths are UTF-8.
#pragma once

#include <string>

#include "platform/window/image.h"

namespace platform::window {

// Writes the image as a PNG file, with its alpha channel where it has one;
// false when the image is null or the file cannot be written.
bool SaveImagePng(const Image& image, const std::string& pathUtf8);

// Reads a PNG (or BMP) file; the null image when there is none or it is no
// picture.
Image LoadImageFile(const std::string& pathUtf8);

}  // namespace platform::window
