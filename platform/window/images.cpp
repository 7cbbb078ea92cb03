#include "platform/window/images.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>

#include "platform/window/qt/painting.h"

namespace platform::window {

namespace {

const QString ART_FOLDER = QStringLiteral(":/art");

QString FirstExisting(std::initializer_list<QString> paths) {
    for (const QString& path : paths)
        if (QFile::exists(path)) return path;
    return QString();
}

QString InArt(const QString& name) {
    return ART_FOLDER + QLatin1Char('/') + name;
}

// The same name with another extension (artwork brought in by hand).
QString WithExtension(QString name, QLatin1StringView extension) {
    return name.left(name.lastIndexOf(QLatin1Char('.'))) + extension;
}

}  // namespace

QString BitmapFileName(int id) {
    return QStringLiteral("bitmap_%1.png").arg(id);
}

QString IconFileName(int id) {
    return QStringLiteral("icon_%1.png").arg(id);
}

QString IconFileName(int id, int size) {
    return QStringLiteral("icon_%1_%2.png").arg(id).arg(size);
}

QPixmap LoadBitmap(int id) {
    const QString png = InArt(BitmapFileName(id));
    const QString path = FirstExisting({png, WithExtension(png, QLatin1StringView(".bmp"))});
    if (path.isEmpty()) return QPixmap();
    return QPixmap(path);
}

Image LoadBitmapImage(int id) {
    return ImageFromPixmap(LoadBitmap(id));
}

QSize BitmapSize(int id) {
    const QPixmap bitmap = LoadBitmap(id);
    return bitmap.isNull() ? QSize() : bitmap.size();
}

QIcon LoadIcon(int id) {
    QIcon icon;
    const QString png = InArt(IconFileName(id));
    const QString single = FirstExisting({WithExtension(png, QLatin1StringView(".ico")), png});
    if (!single.isEmpty()) icon.addFile(single);
    // One file per size: the sized name with the size as a wildcard.
    const QString sizedPattern =
        IconFileName(id, 0).replace(QLatin1String("_0."), QLatin1String("_*."));
    const QStringList sized = QDir(ART_FOLDER).entryList({sizedPattern}, QDir::Files, QDir::Name);
    for (const QString& name : sized) icon.addFile(InArt(name));
    return icon;
}

QList<QSize> IconSizes(int id) {
    QList<QSize> sizes = LoadIcon(id).availableSizes();
    std::sort(sizes.begin(), sizes.end(),
              [](QSize a, QSize b) { return a.width() * a.height() < b.width() * b.height(); });
    return sizes;
}

QPixmap IconPixmap(const QIcon& icon, QSize wanted) {
    if (icon.isNull()) return QPixmap();
    const QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty()) return icon.pixmap(wanted);
    QSize best = sizes.front();
    for (const QSize& size : sizes) {
        const int distance =
            std::abs(size.width() - wanted.width()) + std::abs(size.height() - wanted.height());
        const int bestDistance =
            std::abs(best.width() - wanted.width()) + std::abs(best.height() - wanted.height());
        if (distance < bestDistance) best = size;
    }
    return icon.pixmap(best);
}

}  // namespace platform::window
