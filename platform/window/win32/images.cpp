// The artwork is linked into the program as RCDATA resources named after
// their file names (resources/CMakeLists.txt), PNG files GDI+ decodes.
#include "platform/window/win32/win32_api.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "platform/window/images.h"
#include "platform/window/win32/painting.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

// bitmap_131.png is the resource BITMAP_131_PNG.
std::wstring ResourceName(const std::string& fileName) {
    std::wstring name = win32::Widen(fileName);
    std::transform(name.begin(), name.end(), name.begin(), [](wchar_t c) {
        return c == L'.' ? L'_' : static_cast<wchar_t>(std::towupper(c));
    });
    return name;
}

// The picture in the program's resource `name`; the null image when there
// is none or it is no picture GDI+ reads.
Image LoadArt(const std::wstring& name) {
    if (!win32::StartGdiplus()) return Image();
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, name.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (found == nullptr) return Image();
    HGLOBAL loaded = LoadResource(program, found);
    const DWORD size = SizeofResource(program, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return Image();
    // The stream copies the bytes; the bitmap reads it while it lives.
    IStream* stream = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
    if (stream == nullptr) return Image();
    Image image;
    {
        Gdiplus::Bitmap decoded(stream);
        if (decoded.GetLastStatus() == Gdiplus::Ok) image = win32::ImageFromBitmap(decoded);
    }
    stream->Release();
    return image;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(name);
    return TRUE;
}

std::vector<std::wstring> ArtNames() {
    std::vector<std::wstring> names;
    EnumResourceNamesW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(10), CollectName,
                       reinterpret_cast<LONG_PTR>(&names));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

Image LoadBitmap(int id) {
    return LoadArt(ResourceName(BitmapFileName(id)));
}

Size BitmapSize(int id) {
    return LoadBitmap(id).GetSize();
}

Icon LoadIcon(int id) {
    std::vector<Image> images;
    if (Image single = LoadArt(ResourceName(IconFileName(id))); !single.IsNull())
        images.push_back(single);
    // One resource per size: icon_<id>_<size>.png.
    const std::wstring sized = ResourceName(IconFileName(id, 0));
    const std::wstring prefix = sized.substr(0, sized.rfind(L'0'));
    const std::wstring extension = sized.substr(sized.rfind(L'_'));
    for (const std::wstring& name : ArtNames())
        if (name.starts_with(prefix) && name.ends_with(extension) &&
            name.size() > prefix.size() + extension.size())
            images.push_back(LoadArt(name));
    return Icon(std::move(images));
}

std::vector<Size> IconSizes(int id) {
    return LoadIcon(id).Sizes();
}

}  // namespace platform::window
