#include "skin/hover_faces.h"

namespace skin {

HoverFace ChooseFace(bool pressed, bool pointerOver) {
    if (pressed) return HoverFace::Pressed;
    if (pointerOver) return HoverFace::PointerOver;
    return HoverFace::Normal;
}

platform::window::Size FaceSize(platform::window::Size stripSize) {
    if (stripSize.IsEmpty()) return {};
    return {stripSize.width / 3, stripSize.height};
}

platform::window::Rect FaceSourceRect(HoverFace face, platform::window::Size faceSize) {
    return platform::window::Rect::FromSize(static_cast<int>(face) * faceSize.width, 0,
                                            faceSize.width, faceSize.height);
}

}  // namespace skin
