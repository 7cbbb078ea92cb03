// dialogs_gallery: renders each configuration dialog, filled as an operator
// would see it, to a PNG, and all of them on one sheet, so their look can be
// reviewed side by side. Runs offscreen unless another platform is asked for.
//   dialogs_gallery [OUTPUT_DIR]     (default: ./dialog-renders)
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "dialogs/channel_select_dialog.h"
#include "dialogs/network_config_dialog.h"
#include "dialogs/reset_confirm_window.h"
#include "dialogs/video_pid_dialog.h"

namespace {

namespace window = platform::window;

struct Render {
    QString name;
    QImage image;
};

// Shows the dialog modeless, lets it paint, and takes its picture.
QImage Shoot(window::Dialog& dialog) {
    if (!dialog.HasWindow() && !dialog.Create()) return QImage();
    dialog.ShowWindow(window::SW_SHOW);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    QImage image = dialog.grab().toImage();
    dialog.DestroyWindow();
    return image;
}

QImage NetworkDialog() {
    dialogs::CNetCfgDlgSkined dialog;
    dialog.SetStartValues({192, 168, 10, 40}, {192, 168, 10, 1}, {255, 255, 255, 0},
                          {255, 255, 255, 255}, true);
    return Shoot(dialog);
}

QImage ChannelDialog() {
    dialogs::CChannelSelectDlg dialog;
    dialog.SetStartChannel(23);
    return Shoot(dialog);
}

QImage ResetWindow() {
    dialogs::CResetConfirmWindow dialog;
    return Shoot(dialog);
}

QImage VideoPidDialog() {
    dialogs::CConfVideoPIDDlg dialog;
    dialog.SetTarget(481, {239, 1, 1, 10}, 5000);
    return Shoot(dialog);
}

// The pictures side by side on the console's surface, in rows of three.
QImage Sheet(const std::vector<Render>& renders) {
    constexpr int GAP = 16;
    constexpr int PER_ROW = 3;
    int cellWidth = 0;
    int cellHeight = 0;
    for (const Render& r : renders) {
        cellWidth = std::max(cellWidth, r.image.width());
        cellHeight = std::max(cellHeight, r.image.height());
    }
    const int count = static_cast<int>(renders.size());
    const int rows = (count + PER_ROW - 1) / PER_ROW;
    QImage sheet(GAP + PER_ROW * (cellWidth + GAP), GAP + rows * (cellHeight + GAP),
                 QImage::Format_RGB32);
    sheet.fill(QColor(90, 94, 102));
    QPainter painter(&sheet);
    for (int i = 0; i < count; ++i)
        painter.drawImage(GAP + (i % PER_ROW) * (cellWidth + GAP),
                          GAP + (i / PER_ROW) * (cellHeight + GAP), renders[i].image);
    return sheet;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("R40 Management Console"));
    const QString outputDir =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("dialog-renders");
    if (!QDir().mkpath(outputDir)) {
        std::fprintf(stderr, "dialogs_gallery: cannot create %s\n", qPrintable(outputDir));
        return 1;
    }

    const std::vector<Render> renders = {
        {QStringLiteral("network_config_157.png"), NetworkDialog()},
        {QStringLiteral("channel_select_161.png"), ChannelDialog()},
        {QStringLiteral("reset_confirm_166.png"), ResetWindow()},
        {QStringLiteral("video_pid_180.png"), VideoPidDialog()},
    };
    int failures = 0;
    for (const Render& r : renders) {
        const QString path = QDir(outputDir).filePath(r.name);
        if (r.image.isNull() || !r.image.save(path)) {
            std::fprintf(stderr, "dialogs_gallery: could not render %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    const QString sheetPath = QDir(outputDir).filePath(QStringLiteral("all_dialogs.png"));
    if (!Sheet(renders).save(sheetPath)) ++failures;
    std::printf("%s\n", qPrintable(sheetPath));
    return failures == 0 ? 0 : 1;
}
