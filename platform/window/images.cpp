#include "platform/window/images.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdlib>

namespace platform::window {

namespace {

const QString ART_FOLDER = QStringLiteral(":/art");

QString FirstExisting(std::initializer_list<QString> paths) {
    for (const QString& path : paths)
        if (QFile::exists(path)) return path;
    return QString();
}

}  // namespace

QPixmap LoadBitmap(int id) {
    const QString path = FirstExisting({QStringLiteral(":/art/bitmap_%1.png").arg(id),
                                        QStringLiteral(":/art/bitmap_%1.bmp").arg(id)});
    if (path.isEmpty()) return QPixmap();
    return QPixmap(path);
}

QSize BitmapSize(int id) {
    const QPixmap bitmap = LoadBitmap(id);
    return bitmap.isNull() ? QSize() : bitmap.size();
}

QIcon LoadIcon(int id) {
    QIcon icon;
    const QString single = FirstExisting({QStringLiteral(":/art/icon_%1.ico").arg(id),
                                          QStringLiteral(":/art/icon_%1.png").arg(id)});
    if (!single.isEmpty()) icon.addFile(single);
    const QStringList sized =
        QDir(ART_FOLDER)
            .entryList({QStringLiteral("icon_%1_*.png").arg(id)}, QDir::Files, QDir::Name);
    for (const QString& name : sized) icon.addFile(ART_FOLDER + QLatin1Char('/') + name);
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
