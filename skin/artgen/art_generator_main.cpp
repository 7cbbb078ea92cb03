// Writes every picture of the skin into a folder:
//   skin_art_generator <folder>
// The pictures in resources/art are this program's output; after changing
// any drawing, run the build target skin_art_update and commit the result.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>

#include "skin/artgen/art_catalogue.h"

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_art_generator <output folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const skin::art::ArtItem& item : skin::art::SkinArtCatalogue()) {
        const QString path = folder.filePath(item.fileName);
        QImageWriter writer(path, "png");
        if (!writer.write(skin::art::DrawArtItem(item))) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path),
                         qPrintable(writer.errorString()));
            return 1;
        }
        std::printf("%s %dx%d\n", qPrintable(item.fileName), item.size.width(), item.size.height());
    }
    return 0;
}
