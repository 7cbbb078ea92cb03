#include "platform/window/window_capture.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"

namespace platform::window {

Image CaptureWindow(const Window& window, CaptureMode mode) {
    QWidget* widget = qt::WidgetOf(window);
    if (widget == nullptr || widget->size().isEmpty()) return Image();
    if (mode == CaptureMode::AsShown) return ImageFromPixmap(widget->grab());
    QImage painted(widget->size(), QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    widget->render(&painted, QPoint(), QRegion(), QWidget::DrawChildren);
    return ImageFromPixmap(QPixmap::fromImage(painted));
}

}  // namespace platform::window
