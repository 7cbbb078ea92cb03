#include "platform/window/image_files.h"

#include <QImage>
#include <QImageReader>

#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"

namespace platform::window {

bool SaveImagePng(const Image& image, const std::string& pathUtf8) {
    if (image.IsNull()) return false;
    return ToQPixmap(image).toImage().save(ToQString(pathUtf8), "PNG");
}

Image LoadImageFile(const std::string& pathUtf8) {
    QImageReader reader(ToQString(pathUtf8));
    const QImage image = reader.read();
    if (image.isNull()) return Image();
    return ImageFromPixmap(QPixmap::fromImage(image));
}

}  // namespace platform::window
