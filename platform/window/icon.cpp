#include "platform/window/icon.h"

#include <algorithm>
#include <cstdlib>

namespace platform::window {

namespace {

int Area(Size size) {
    return size.width * size.height;
}

}  // namespace

Icon::Icon(std::vector<Image> images) {
    for (Image& image : images)
        if (!image.IsNull()) m_images.push_back(std::move(image));
    std::stable_sort(m_images.begin(), m_images.end(), [](const Image& a, const Image& b) {
        return Area(a.GetSize()) < Area(b.GetSize());
    });
}

std::vector<Size> Icon::Sizes() const {
    std::vector<Size> sizes;
    for (const Image& image : m_images) sizes.push_back(image.GetSize());
    return sizes;
}

bool Icon::SharesPictures(const Icon& other) const {
    return std::equal(m_images.begin(), m_images.end(), other.m_images.begin(),
                      other.m_images.end(),
                      [](const Image& a, const Image& b) { return a.SharesPixels(b); });
}

Image Icon::ImageNear(Size wanted) const {
    const Image* best = nullptr;
    int bestDistance = 0;
    for (const Image& image : m_images) {
        const Size size = image.GetSize();
        const int distance =
            std::abs(size.width - wanted.width) + std::abs(size.height - wanted.height);
        if (best == nullptr || distance < bestDistance) {
            best = &image;
            bestDistance = distance;
        }
    }
    return best == nullptr ? Image() : *best;
}

}  // namespace platform::window
