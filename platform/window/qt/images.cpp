// The artwork lives in the Qt resource system under ":/art".
#include "platform/window/images.h"

#include <QDir>
#include <QFile>
#include <QImageReader>

#include "platform/window/qt/conversions.h"
#include "platform/window/qt/painting.h"

namespace platform::window {

namespace {

const QString ART_FOLDER = QStringLiteral(":/art");

QString FirstExisting(std::initializer_list<QString> paths) {
    for (const QString& path : paths)
        if (QFile::exists(path)) return path;
    return QString();
}

QString InArt(const std::string& name) {
    return ART_FOLDER + QLatin1Char('/') + ToQString(name);
}

// The same name with another extension (artwork brought in by hand).
QString WithExtension(QString name, QLatin1StringView extension) {
    return name.left(name.lastIndexOf(QLatin1Char('.'))) + extension;
}

// Every picture of a file: an .ico holds one per size.
void ReadAll(const QString& path, std::vector<Image>& into) {
    QImageReader reader(path);
    do {
        const QImage image = reader.read();
        if (!image.isNull()) into.push_back(ImageFromPixmap(QPixmap::fromImage(image)));
    } while (reader.jumpToNextImage());
}

}  // namespace

Image LoadBitmap(int id) {
    const QString png = InArt(BitmapFileName(id));
    const QString path = FirstExisting({png, WithExtension(png, QLatin1StringView(".bmp"))});
    if (path.isEmpty()) return Image();
    return ImageFromPixmap(QPixmap(path));
}

Size BitmapSize(int id) {
    return LoadBitmap(id).GetSize();
}

Icon LoadIcon(int id) {
    std::vector<Image> images;
    const QString png = InArt(IconFileName(id));
    const QString single = FirstExisting({WithExtension(png, QLatin1StringView(".ico")), png});
    if (!single.isEmpty()) ReadAll(single, images);
    // One file per size: the sized name with the size as a wildcard.
    const QString sizedPattern =
        ToQString(IconFileName(id, 0)).replace(QLatin1String("_0."), QLatin1String("_*."));
    const QStringList sized = QDir(ART_FOLDER).entryList({sizedPattern}, QDir::Files, QDir::Name);
    for (const QString& name : sized) ReadAll(ART_FOLDER + QLatin1Char('/') + name, images);
    return Icon(std::move(images));
}

std::vector<Size> IconSizes(int id) {
    return LoadIcon(id).Sizes();
}

}  // namespace platform::window
