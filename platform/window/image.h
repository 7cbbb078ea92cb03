// A picture in memory, with an alpha channel where its file had one: what
// bitmaps, icons and artwork are drawn from. A value: copies share the
// pixels until one is changed, as Win32 programs share a bitmap handle.
#pragma once

#include <memory>

#include "platform/window/geometry.h"

namespace platform::window {

class Image {
  public:
    struct Impl;

    // The null image: no pixels, draws nothing.
    Image();
    explicit Image(std::shared_ptr<const Impl> impl);
    ~Image();
    Image(const Image&);
    Image& operator=(const Image&);

    bool IsNull() const;
    Size GetSize() const;

    // Whether both are the same picture (copies of one value), cheaply:
    // what a control compares before it repaints.
    bool SharesPixels(const Image& other) const { return m_impl == other.m_impl; }

    // Null for the null image.
    const Impl* Get() const { return m_impl.get(); }

  private:
    std::shared_ptr<const Impl> m_impl;
};

// A picture of `size` in one opaque colour (a compatible bitmap filled with
// a brush): what a sheet of pictures is composed on with PaintOnImage. The
// null image for an empty size.
Image CreateImage(Size size, ColorRef fill);

}  // namespace platform::window
