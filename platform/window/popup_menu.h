// A shortcut menu (CreatePopupMenu, AppendMenu, CheckMenuItem,
// TrackPopupMenu): the item the operator chooses reaches the owner window as
// WM_COMMAND with the item's id in the low word of wParam (code 0), sent
// through its handle, so a window that went meanwhile gets nothing.
#pragma once

#include <memory>
#include <string_view>

#include "platform/window/geometry.h"
#include "platform/window/window_handle.h"

namespace platform::window {

class PopupMenu {
  public:
    // The window system's menu, for the backend and the tests that drive it.
    struct Native;

    PopupMenu();
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // `text` is UTF-8; ids are 1 to 0xFFFF.
    void AppendItem(int id, std::string_view text);
    void AppendSeparator();
    // Gives the item a check mark or takes it away (MF_CHECKED).
    void CheckItem(int id, bool checked);
    bool IsItemChecked(int id) const;

    // Opens the menu with its top-left corner at `at` (screen coordinates)
    // and returns at once; the choice arrives at `owner` later.
    void Track(Point at, WindowHandle owner);
    bool IsOpen() const;

    Native& GetNative() { return *m_native; }

  private:
    std::unique_ptr<Native> m_native;
};

}  // namespace platform::window
