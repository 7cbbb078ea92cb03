#include "skin/hover_faces.h"

namespace skin {

HoverFace ChooseFace(bool pressed, bool pointerOver) {
    if (pressed) return HoverFace::Pressed;
    if (pointerOver) return HoverFace::PointerOver;
    return HoverFace::Normal;
}

QSize FaceSize(QSize stripSize) {
    if (stripSize.width() <= 0 || stripSize.height() <= 0) return QSize(0, 0);
    return QSize(stripSize.width() / 3, stripSize.height());
}

QRect FaceSourceRect(HoverFace face, QSize faceSize) {
    return QRect(static_cast<int>(face) * faceSize.width(), 0, faceSize.width(), faceSize.height());
}

}  // namespace skin
