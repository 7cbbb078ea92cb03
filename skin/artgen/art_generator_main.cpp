// Writes every picture of the skin into a folder, or the desktop icons:
//   skin_art_generator <folder>
//   skin_art_generator --desktop-icons <folder>
// The pictures in resources/art and packaging/icons are this program's
// output; after changing any drawing, run the build target skin_art_update
// and commit the result.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>
#include <cstring>

#include "skin/artgen/art_catalogue.h"

int main(int argc, char** argv) {
    // Drawing needs fonts but no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool desktopIcons = argc == 3 && std::strcmp(argv[1], "--desktop-icons") == 0;
    if (argc != 2 && !desktopIcons) {
        std::fprintf(stderr,
                     "usage: skin_art_generator <output folder>\n"
                     "       skin_art_generator --desktop-icons <output folder>\n");
        return 2;
    }
    const char* folderName = argv[argc - 1];
    const QDir folder(QString::fromLocal8Bit(folderName));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", folderName);
        return 1;
    }
    const auto& catalogue =
        desktopIcons ? skin::art::DesktopIconCatalogue() : skin::art::SkinArtCatalogue();
    for (const skin::art::ArtItem& item : catalogue) {
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
