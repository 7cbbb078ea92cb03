// PNG files through GDI+'s codecs.
#include "platform/window/win32/win32_api.h"

#include <cstring>
#include <optional>
#include <vector>

#include "platform/window/image_files.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

// The class id of GDI+'s PNG encoder; none when it has none.
std::optional<CLSID> PngEncoder() {
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return std::nullopt;
    std::vector<unsigned char> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, encoders) != Gdiplus::Ok) return std::nullopt;
    for (UINT i = 0; i < count; ++i)
        if (encoders[i].MimeType != nullptr && std::wcscmp(encoders[i].MimeType, L"image/png") == 0)
            return encoders[i].Clsid;
    return std::nullopt;
}

}  // namespace

bool SaveImagePng(const Image& image, const std::string& pathUtf8) {
    if (image.IsNull() || !win32::StartGdiplus()) return false;
    static const std::optional<CLSID> png = PngEncoder();
    if (!png) return false;
    return image.Get()->bitmap->Save(win32::Widen(pathUtf8).c_str(), &*png, nullptr) == Gdiplus::Ok;
}

Image LoadImageFile(const std::string& pathUtf8) {
    if (!win32::StartGdiplus()) return Image();
    // The decoded bitmap keeps the file open while it lives; the image is a
    // copy of it.
    Gdiplus::Bitmap decoded(win32::Widen(pathUtf8).c_str());
    if (decoded.GetLastStatus() != Gdiplus::Ok) return Image();
    return win32::ImageFromBitmap(decoded);
}

}  // namespace platform::window
