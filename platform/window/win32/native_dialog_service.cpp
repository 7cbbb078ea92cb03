#include "platform/window/win32/native_dialog_service.h"

#include <commdlg.h>

#include <vector>

#include "platform/window/dialog_service.h"
#include "platform/window/file_dialog.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace win32 {

HWND OwnerHwnd(WindowHandle owner) {
    NativeWindow* native = LookupWindow(owner);
    return native != nullptr ? native->Hwnd() : nullptr;
}

std::wstring FilterString(std::string_view filter) {
    std::wstring result;
    for (const FileFilter& entry : ParseFileFilter(filter)) {
        std::string patterns;
        for (const std::string& pattern : entry.patterns)
            patterns += (patterns.empty() ? "" : ";") + pattern;
        result += Widen(entry.name) + L'\0' + Widen(patterns) + L'\0';
    }
    return result + L'\0';
}

}  // namespace win32

namespace {

class Win32DialogService : public DialogService {
  public:
    int ShowMessageBox(const MessageBoxRequest& request) override {
        // The layer's MB_* bits and button ids are Windows' own values.
        return MessageBoxW(win32::OwnerHwnd(request.owner), win32::Widen(request.text).c_str(),
                           win32::Widen(request.caption).c_str(), request.type);
    }

    std::optional<std::string> ShowFileDialog(const FileDialogRequest& request) override {
        const std::wstring filter = win32::FilterString(request.filter);
        const std::wstring extension = win32::Widen(request.defaultExtension);
        // Room for any path Windows can open.
        std::vector<wchar_t> path(32768, L'\0');
        const std::wstring start = win32::Widen(request.fileName);
        start.copy(path.data(), std::min(start.size(), path.size() - 1));
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = win32::OwnerHwnd(request.owner);
        dialog.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
        dialog.lpstrFile = path.data();
        dialog.nMaxFile = static_cast<DWORD>(path.size());
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        dialog.Flags = request.flags | OFN_EXPLORER;
        const BOOL chosen = request.open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
        if (chosen == FALSE) return std::nullopt;
        return win32::Narrow(path.data());
    }
};

}  // namespace

DialogService& NativeDialogService() {
    static Win32DialogService real;
    return real;
}

}  // namespace platform::window
