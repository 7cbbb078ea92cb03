#include "platform/window/underlay.h"

#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "platform/window/qt/native.h"
#include "platform/window/qt/painting.h"

namespace platform::window {

Image GrabUnderneath(const Window& child) {
    const QWidget* control = qt::WidgetOf(child);
    if (control == nullptr) return Image();
    QPixmap picture(control->size());
    if (picture.isNull()) return Image();
    picture.fill(control->palette().color(QPalette::Window));
    QWidget* parent = control->parentWidget();
    if (parent == nullptr) return ImageFromPixmap(picture);

    const QRect area = control->geometry();
    // The parent's own background and painting, without any child.
    parent->render(&picture, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    // Then each visible sibling below the child, in stacking order.
    for (QObject* object : parent->children()) {
        if (object == control) break;
        auto* sibling = qobject_cast<QWidget*>(object);
        if (sibling == nullptr || sibling->isWindow() || !sibling->isVisible()) continue;
        const QRect overlap = sibling->geometry() & area;
        if (overlap.isEmpty()) continue;
        sibling->render(&picture, overlap.topLeft() - area.topLeft(),
                        QRegion(overlap.translated(-sibling->pos())),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return ImageFromPixmap(picture);
}

}  // namespace platform::window
