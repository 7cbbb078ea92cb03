// Balloon tooltips as a Win32 tooltip control with the always-tip and
// balloon styles: per-tool texts (a tool is a control, or the dialog itself
// for the places no control covers), a title with an icon, the text colour,
// and the initial, show (auto-pop) and reshow times. The owner relays its
// mouse moves, presses and releases with RelayEvent (from
// Dialog::PreTranslateMessage); a tip appears when the pointer has rested on
// a tool for the initial time, goes after the show time or on a click, and
// moving to another tool while a tip is up shows the next after the reshow
// time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/window/geometry.h"
#include "platform/window/input_message.h"
#include "platform/window/styles.h"
#include "platform/window/window.h"

namespace platform::window {

// Title icons.
inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

// Delay kinds of SetDelayTime.
inline constexpr int TTDT_AUTOMATIC = 0;
inline constexpr int TTDT_RESHOW = 1;
inline constexpr int TTDT_AUTOPOP = 2;
inline constexpr int TTDT_INITIAL = 3;

class BalloonToolTip {
  public:
    // The window system's side: timers, the tools' native windows, the
    // balloon. For the backend and the tests that drive it.
    struct Native;

    BalloonToolTip();
    ~BalloonToolTip();
    BalloonToolTip(const BalloonToolTip&) = delete;
    BalloonToolTip& operator=(const BalloonToolTip&) = delete;

    bool Create(Window* owner, std::uint32_t style = TTS_ALWAYSTIP | TTS_BALLOON);
    bool IsCreated() const;

    // Texts are UTF-8.
    void SetTitle(int icon, std::string_view title);
    std::string GetTitle() const;
    int GetTitleIcon() const;

    // A tool per window (a control, or the owner itself for the places no
    // control covers); adding a tool again replaces its text. A null tool
    // adds nothing.
    bool AddTool(Window* tool, std::string_view text);
    void DelTool(Window* tool);
    void UpdateTipText(std::string_view text, Window* tool);
    bool HasTool(Window* tool) const;
    std::string GetText(Window* tool) const;
    // Tools whose windows still exist.
    int GetToolCount() const;

    void SetTipTextColor(ColorRef color);
    ColorRef GetTipTextColor() const;

    // Milliseconds; a negative time restores the default of its kind.
    void SetDelayTime(int which, int milliseconds);
    int GetDelayTime(int which) const;

    // An inactive tooltip shows nothing until activated again.
    void Activate(bool active);

    // The owner's mouse messages, from its PreTranslateMessage.
    void RelayEvent(const InputMessage& message);

    // Hides the tip if one is shown.
    void Pop();

    bool IsTipShown() const;
    // The tool under the pointer; null when none.
    Window* CurrentTool() const;

    Native& GetNative() { return *m_native; }

  private:
    std::unique_ptr<Native> m_native;
};

}  // namespace platform::window
