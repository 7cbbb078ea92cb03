// An icon: the same picture drawn at several sizes (16, 32, 48 pixels ...),
// as a Win32 icon resource holds one image per size. A value, as Image.
#pragma once

#include <vector>

#include "platform/window/geometry.h"
#include "platform/window/image.h"

namespace platform::window {

class Icon {
  public:
    // The null icon: no pictures, draws nothing.
    Icon() = default;
    // Null images are dropped; the rest are kept smallest first.
    explicit Icon(std::vector<Image> images);

    bool IsNull() const { return m_images.empty(); }
    const std::vector<Image>& Images() const { return m_images; }
    std::vector<Size> Sizes() const;  // smallest first
    // Whether both hold the same pictures (copies of one value).
    bool SharesPictures(const Icon& other) const;

    // The picture at its own size closest to `wanted`: an icon drawn at a
    // size it does not come in would be a scaled copy. Null for the null icon.
    Image ImageNear(Size wanted) const;

  private:
    std::vector<Image> m_images;
};

}  // namespace platform::window
