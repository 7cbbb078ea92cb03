#include "skin_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cstdlib>

#include "platform/window/qt/conversions.h"
#include "platform/window/qt/native.h"

namespace skin::test {

QRgb Pixel(platform::window::ColorRef colour) {
    return platform::window::ToQColor(colour).rgb();
}

QImage Render(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // No window background: only what the widget itself paints.
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QImage Render(platform::window::Window& window) {
    return Render(*platform::window::qt::WidgetOf(window));
}

QImage ScreenContents(QWidget& window) {
    Settle();
    QScreen* screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    // The offscreen platform reads its screen grab back from the window's
    // backing store.
    return screen->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_ARGB32);
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

bool SameColour(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance &&
           std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

std::optional<QRect> InkBounds(const QImage& image, QRgb background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) bounds = bounds.united(QRect(x, y, 1, 1));
    if (bounds.isNull()) return std::nullopt;
    return bounds;
}

QString SaveRender(const QImage& image, const QString& name) {
    const QDir folder(QStringLiteral(R40_SKIN_RENDER_DIR));
    if (!QDir().mkpath(folder.path())) return {};
    const QString path = folder.filePath(name);
    return image.save(path, "PNG") ? path : QString();
}

}  // namespace skin::test
