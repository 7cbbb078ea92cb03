#include "skin/check_mark_geometry.h"

namespace skin {

std::array<QPoint, 4> CheckMarkPoints(int w, int h) {
    return {QPoint(2, h / 2), QPoint(w / 5 + 2, 4 * h / 5), QPoint(w / 5 + 2, 4 * h / 5 + 1),
            QPoint(4 * w / 5, 3)};
}

QRect EtchedFrameRect(int w, int h) {
    return QRect(0, 0, w, h).adjusted(4, 4, -4, -4);
}

}  // namespace skin
