#include "skin/underlay.h"

#include <QPainter>

namespace skin {

QPixmap GrabUnderneath(const QWidget& control) {
    QPixmap picture(control.size());
    picture.fill(control.palette().color(QPalette::Window));
    QWidget* parent = control.parentWidget();
    if (parent == nullptr || picture.isNull()) return picture;

    const QRect area = control.geometry();
    // The parent's own background and painting, without any child.
    parent->render(&picture, QPoint(0, 0), QRegion(area), QWidget::DrawWindowBackground);
    // Then each visible sibling below the control, in stacking order.
    for (QObject* child : parent->children()) {
        if (child == &control) break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (sibling == nullptr || sibling->isWindow() || !sibling->isVisible()) continue;
        const QRect overlap = sibling->geometry() & area;
        if (overlap.isEmpty()) continue;
        sibling->render(&picture, overlap.topLeft() - area.topLeft(),
                        QRegion(overlap.translated(-sibling->pos())),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    return picture;
}

}  // namespace skin
