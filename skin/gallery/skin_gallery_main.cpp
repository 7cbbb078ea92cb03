// skin_gallery: renders the skinned controls on their own, enlarged where
// they are small, to PNG files for a look: the progress indicator at several
// positions and the check box unchecked and checked. What they draw is
// checked by the skin tests; this program only makes pictures.
//   skin_gallery [OUTPUT_DIR]     (default: ./skin-renders)
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdio>

#include "platform/window/qt/native.h"
#include "skin/circle_progress.h"
#include "skin/red_check_box.h"

namespace {

const QColor SURFACE{238, 239, 241};  // the windows' surface behind the controls

// Only what the widget paints, on a transparent image.
QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QImage ProgressPositions() {
    skin::CMYCircleProgress progress;
    progress.Create(0, platform::window::Rect{0, 0, 66, 50});
    progress.SetColor(platform::window::Rgb(204, 45, 48));
    progress.SetCircleColor(platform::window::Rgb(255, 0, 0));
    QImage sheet(66 * 5, 50, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(SURFACE);
    QPainter painter(&sheet);
    int x = 0;
    for (const std::uint32_t pos : {0u, 12u, 25u, 60u, 99u}) {
        progress.SetPos(pos);
        painter.drawImage(x, 0, Render(*platform::window::qt::WidgetOf(progress)));
        x += 66;
    }
    return sheet;
}

// The 15 x 15 box eight times enlarged, unchecked then checked.
QImage CheckBoxes() {
    skin::CRedCheckBox box;
    box.Create("", 0, platform::window::Rect::FromSize(0, 0, 15, 15));
    QImage sheet(15 * 2 * 8, 15 * 8, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(SURFACE);
    QPainter painter(&sheet);
    painter.drawImage(QRect(0, 0, 120, 120), Render(*platform::window::qt::WidgetOf(box)));
    box.SetChecked(true);
    painter.drawImage(QRect(120, 0, 120, 120), Render(*platform::window::qt::WidgetOf(box)));
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("skin-renders"));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "skin_gallery: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    int failures = 0;
    const struct {
        const char* name;
        QImage image;
    } renders[] = {{"circle_progress_positions.png", ProgressPositions()},
                   {"red_check_box_15x15_x8.png", CheckBoxes()}};
    for (const auto& render : renders) {
        const QString path = folder.filePath(QString::fromLatin1(render.name));
        if (render.image.save(path, "PNG")) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "skin_gallery: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
