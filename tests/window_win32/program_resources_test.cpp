// The console program's own resources, linked into this test program as
// into r40console.exe: the version Windows shows, the icon in every size
// Explorer asks for, and the manifest, whose common controls version 6
// this very process runs with.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/window/win32/text_conversion.h"
#include "platform/window/win32/win32_api.h"
#include "resources/ids.h"

namespace {

using platform::window::win32::Narrow;

std::wstring ProgramPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::string VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) return "";
    return Narrow(std::wstring(static_cast<const wchar_t*>(value), length - 1));
}

TEST(ConsoleResources, TheVersionIsTheProjectsOwn) {
    const std::wstring path = ProgramPath();
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    EXPECT_EQ(VersionString(info, L"ProductVersion"), R40_VERSION);
    EXPECT_EQ(VersionString(info, L"FileVersion"), R40_VERSION);
    EXPECT_EQ(VersionString(info, L"ProductName"), "R40 Management Console");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), "r40console.exe");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwProductVersionMS, (R40_VERSION_MAJOR << 16) | R40_VERSION_MINOR);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ConsoleResources, TheIconComesInEverySizeExplorerAsksFor) {
    HMODULE program = GetModuleHandleW(nullptr);
    // The icon group lists one entry per size.
    HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(res::IDI_CONSOLE), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr) << "no icon " << res::IDI_CONSOLE;
    const auto* directory = static_cast<const WORD*>(LockResource(LoadResource(program, group)));
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(directory[2], 4) << "16, 32, 48 and 256 pixels";
    for (const int size : {16, 32, 48}) {
        HANDLE icon =
            LoadImageW(program, MAKEINTRESOURCEW(res::IDI_CONSOLE), IMAGE_ICON, size, size, 0);
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO parts{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &parts));
        BITMAP bitmap{};
        GetObjectW(parts.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        DestroyIcon(static_cast<HICON>(icon));
    }
}

TEST(ConsoleResources, TheManifestAsksForCommonControlsSixAndNoElevation) {
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr) << "no manifest";
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                               SizeofResource(program, found));
    for (const char* wanted : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"",
                               "level=\"asInvoker\"", "PerMonitorV2", "true/pm"})
        EXPECT_NE(manifest.find(wanted), std::string::npos) << wanted;

    // The loader took it: this process's common controls are version 6,
    // which comes from the side-by-side store (version 5 from System32).
    // Wine's version 6 still answers 5 to DllGetVersion, so the file says.
    HMODULE controls = LoadLibraryW(L"comctl32.dll");
    ASSERT_NE(controls, nullptr);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(controls, path, MAX_PATH);
    std::string loaded = Narrow(path);
    for (char& c : loaded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::string::npos)
        << loaded;
}

}  // namespace
