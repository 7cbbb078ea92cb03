// The notification-area icon. Its mouse actions reach the owner window as a
// posted callback message whose lParam is the mouse message
// (WM_LBUTTONDBLCLK for a double click, WM_LBUTTONUP for a click,
// WM_RBUTTONUP for the context click), as Shell_NotifyIcon delivers them;
// a double-click callback can be given as well.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/window/geometry.h"
#include "platform/window/icon.h"
#include "platform/window/window_handle.h"

namespace platform::window {

class TrayIcon {
  public:
    // The window system's side: the icon itself and the stand-in balloon.
    struct Native;

    TrayIcon();
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon (NIM_ADD). `iconId` comes back as wParam.
    bool Add(WindowHandle owner, unsigned callbackMessage, const Icon& icon, std::string_view tip,
             unsigned iconId = 0);
    // Removes it (NIM_DELETE); also done on destruction.
    void Delete();
    bool IsAdded() const;

    void SetDoubleClickCallback(std::function<void()> callback) {
        m_onDoubleClick = std::move(callback);
    }

    const std::string& Tip() const { return m_tip; }

    // The operator acted on the icon: `mouseMessage` is WM_LBUTTONDBLCLK,
    // WM_LBUTTONUP, WM_RBUTTONUP or WM_MBUTTONUP, as the window system says.
    void Activated(unsigned mouseMessage);

    // A balloon from the icon (NIF_INFO): a title with an icon (TTI_INFO,
    // TTI_WARNING, TTI_ERROR) and text, gone after `timeoutMs`. Where the
    // desktop has no notification area it stands in the bottom-right corner
    // of the screen, where one would be, so the operator still sees it.
    // False when the icon is not added.
    bool ShowBalloon(std::string_view title, std::string_view text, int icon, int timeoutMs = 10000,
                     ColorRef textColor = Rgb(0, 0, 0));
    // The balloons shown since the icon was added, and the last one's text.
    int BalloonsShown() const { return m_balloonsShown; }
    const std::string& LastBalloonText() const { return m_lastBalloonText; }

    // For the backend and the tests that drive it.
    Native& GetNative() { return *m_native; }

  private:
    std::unique_ptr<Native> m_native;
    WindowHandle m_owner;
    unsigned m_message = 0;
    unsigned m_iconId = 0;
    std::string m_tip;
    std::function<void()> m_onDoubleClick;
    int m_balloonsShown = 0;
    std::string m_lastBalloonText;
};

}  // namespace platform::window
