#include "platform/window/win32/message_only_window.h"

namespace platform::window::win32 {

HWND CreateMessageOnlyWindow(const wchar_t* className, WNDPROC procedure, void* data) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    // Registered by the first window of the class; later ones find it there.
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return nullptr;
    HWND hwnd = CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (hwnd != nullptr) SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
    return hwnd;
}

}  // namespace platform::window::win32
