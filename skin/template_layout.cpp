#include "skin/template_layout.h"

#include <QVariant>

namespace skin {

using platform::window::HorizontalPixels;
using platform::window::VerticalPixels;

QSize ClientSizePixels(const platform::window::DialogTemplate& dialog,
                       const platform::window::BaseUnits& base) {
    return QSize(HorizontalPixels(dialog.cx, base), VerticalPixels(dialog.cy, base));
}

QRect ControlRectPixels(const platform::window::ControlTemplate& control,
                        const platform::window::BaseUnits& base) {
    return QRect(HorizontalPixels(control.x, base), VerticalPixels(control.y, base),
                 HorizontalPixels(control.cx, base), VerticalPixels(control.cy, base));
}

std::vector<QWidget*> FindControlsInOrder(const QObject& dialog, std::span<const int> ids) {
    std::vector<QWidget*> found;
    const QObjectList& children = dialog.children();
    qsizetype next = 0;
    for (const int id : ids) {
        QWidget* match = nullptr;
        for (; next < children.size() && match == nullptr; ++next) {
            auto* widget = qobject_cast<QWidget*>(children[next]);
            if (widget == nullptr || widget->isWindow()) continue;
            // Children that are not template controls carry no id and match none.
            const QVariant value = widget->property(platform::window::CONTROL_ID_PROPERTY);
            bool ok = false;
            const int childId = value.toInt(&ok);
            if (value.isValid() && ok && childId == id) match = widget;
        }
        if (match == nullptr) break;
        found.push_back(match);
    }
    return found;
}

}  // namespace skin
