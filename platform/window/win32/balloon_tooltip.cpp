// Balloon tooltips on comctl32's tooltip control. Each tool is a window
// (TTF_IDISHWND, its HWND as the id), so the control finds the tool from
// the window a relayed message is for, and shows, pops and times the tip
// itself. The object owns the control; the control is an owned popup of
// the owner's window and goes with it when that window goes first.
#include "platform/window/win32/win32_api.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/window/win32/balloon_tooltip_native.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/text_conversion.h"

namespace platform::window {

namespace {

// Version 2 of the record (with lParam) is what every comctl32 since 4.70
// reads; the full size of newer headers is refused by the controls of
// programs without the common controls 6 manifest.
TTTOOLINFOW ToolInfo(HWND owner, HWND tool, wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    return info;
}

// Room for any text the control copies out: some versions copy a tool's
// text whole into whatever buffer the record names.
struct TextBuffer {
    explicit TextBuffer(std::size_t longest)
        : text(std::max<std::size_t>(INFOTIPSIZE, longest + 1), L'\0') {}
    wchar_t* Data() { return text.data(); }
    std::wstring text;
};

int DefaultDelay(int which) {
    const int base = static_cast<int>(GetDoubleClickTime());
    switch (which) {
        case TTDT_AUTOPOP:
            return base * 10;
        case TTDT_RESHOW:
            return base / 5;
        default:
            return base;
    }
}

HWND ToolHwnd(const Window* tool) {
    return tool != nullptr ? win32::HwndOf(*tool) : nullptr;
}

bool HoldsTool(const BalloonToolTip::Native& native, HWND tool) {
    if (tool == nullptr || native.tooltip == nullptr) return false;
    TextBuffer buffer(native.longestText);
    TTTOOLINFOW info = ToolInfo(native.owner, tool, buffer.Data());
    return SendMessageW(native.tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)) !=
           FALSE;
}

// The window of the layer the pointer is over, as the owner names it in
// the messages it relays: the window under the pointer, or the control it
// is a part of (an edit field of the IP address control, a combo box's
// edit).
HWND LayerWindowAt(HWND owner, HWND under) {
    for (HWND window = under; window != nullptr;
         window = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0 ? ::GetParent(window)
                                                                      : nullptr) {
        if (window == owner || win32::WindowOfHwnd(window) != nullptr) return window;
    }
    return under;
}

constexpr UINT_PTR WATCH_ID = 1;

// Sees the control's end, whoever ends it. Before a tip shows, the control
// asks which window the pointer is over, to find the tool there: the
// answer is the window the relayed messages named.
LRESULT CALLBACK WatchTooltip(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
    auto& native = *reinterpret_cast<BalloonToolTip::Native*>(data);
    if (message == TTM_WINDOWFROMPOINT) {
        const LRESULT under = DefSubclassProc(hwnd, message, wParam, lParam);
        return reinterpret_cast<LRESULT>(
            LayerWindowAt(native.owner, reinterpret_cast<HWND>(under)));
    }
    if (message == WM_NCDESTROY) {
        native.tooltip = nullptr;
        RemoveWindowSubclass(hwnd, &WatchTooltip, WATCH_ID);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The control keeps a tool whose window has gone until told: such tools
// are deleted before tools change, and neither counted nor shown.
void DeleteGoneTools(BalloonToolTip::Native& native) {
    TextBuffer buffer(native.longestText);
    for (UINT index = 0;;) {
        TTTOOLINFOW info = ToolInfo(native.owner, nullptr, buffer.Data());
        if (!SendMessageW(native.tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&info)))
            return;
        if (IsWindow(reinterpret_cast<HWND>(info.uId))) {
            ++index;
            continue;
        }
        SendMessageW(native.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace

BalloonToolTip::Native::~Native() {
    Destroy();
}

void BalloonToolTip::Native::Destroy() {
    if (tooltip == nullptr) return;
    HWND gone = tooltip;
    RemoveWindowSubclass(gone, &WatchTooltip, WATCH_ID);
    tooltip = nullptr;
    owner = nullptr;
    ::DestroyWindow(gone);
}

void BalloonToolTip::Native::SendTitle() {
    // No title is a null one: an empty title keeps its room above the text.
    SendMessageW(tooltip, TTM_SETTITLEW, icon,
                 reinterpret_cast<LPARAM>(title.empty() ? nullptr : title.c_str()));
}

BalloonToolTip::BalloonToolTip() : m_native(std::make_unique<Native>()) {
    m_native->initial = DefaultDelay(TTDT_INITIAL);
    m_native->autoPop = DefaultDelay(TTDT_AUTOPOP);
    m_native->reshow = DefaultDelay(TTDT_RESHOW);
}

BalloonToolTip::~BalloonToolTip() = default;

bool BalloonToolTip::Create(Window* owner, std::uint32_t style) {
    HWND ownerHwnd = ToolHwnd(owner);
    if (ownerHwnd == nullptr) return false;
    Native& native = *m_native;
    native.Destroy();
    // An owned popup, so Windows destroys it with its owner.
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                   ownerHwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tooltip == nullptr) return false;
    if (!SetWindowSubclass(tooltip, &WatchTooltip, WATCH_ID,
                           reinterpret_cast<DWORD_PTR>(&native))) {
        ::DestroyWindow(tooltip);
        return false;
    }
    native.tooltip = tooltip;
    native.owner = ownerHwnd;
    // Texts break only at their line feeds, as long as a screen is wide.
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    // What was set before the control existed.
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, native.initial);
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, native.autoPop);
    SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, native.reshow);
    SendMessageW(tooltip, TTM_SETTIPTEXTCOLOR, native.color, 0);
    if (!native.title.empty()) native.SendTitle();
    SendMessageW(tooltip, TTM_ACTIVATE, native.active, 0);
    return true;
}

bool BalloonToolTip::IsCreated() const {
    return m_native->tooltip != nullptr;
}

void BalloonToolTip::SetTitle(int icon, std::string_view title) {
    Native& native = *m_native;
    native.icon = icon;
    native.title = win32::Widen(title);
    if (native.tooltip != nullptr) native.SendTitle();
}

std::string BalloonToolTip::GetTitle() const {
    return win32::Narrow(m_native->title);
}

int BalloonToolTip::GetTitleIcon() const {
    return m_native->icon;
}

bool BalloonToolTip::AddTool(Window* tool, std::string_view text) {
    Native& native = *m_native;
    HWND toolHwnd = ToolHwnd(tool);
    if (toolHwnd == nullptr || native.tooltip == nullptr) return false;
    DeleteGoneTools(native);
    std::wstring wide = win32::Widen(text);
    native.longestText = std::max(native.longestText, wide.size());
    TTTOOLINFOW info = ToolInfo(native.owner, toolHwnd, wide.data());
    if (HasTool(tool)) {
        SendMessageW(native.tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        return true;
    }
    return SendMessageW(native.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
}

void BalloonToolTip::DelTool(Window* tool) {
    Native& native = *m_native;
    if (native.tooltip == nullptr) return;
    if (HWND toolHwnd = ToolHwnd(tool)) {
        TTTOOLINFOW info = ToolInfo(native.owner, toolHwnd, nullptr);
        SendMessageW(native.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    DeleteGoneTools(native);
}

void BalloonToolTip::UpdateTipText(std::string_view text, Window* tool) {
    if (HasTool(tool)) AddTool(tool, text);
}

bool BalloonToolTip::HasTool(Window* tool) const {
    return HoldsTool(*m_native, ToolHwnd(tool));
}

std::string BalloonToolTip::GetText(Window* tool) const {
    if (!HasTool(tool)) return std::string();
    const Native& native = *m_native;
    TextBuffer buffer(native.longestText);
    TTTOOLINFOW info = ToolInfo(native.owner, ToolHwnd(tool), buffer.Data());
    SendMessageW(native.tooltip, TTM_GETTEXTW, buffer.text.size(), reinterpret_cast<LPARAM>(&info));
    return win32::Narrow(buffer.text.c_str());
}

int BalloonToolTip::GetToolCount() const {
    const Native& native = *m_native;
    if (native.tooltip == nullptr) return 0;
    TextBuffer buffer(native.longestText);
    int count = 0;
    for (UINT index = 0;; ++index) {
        TTTOOLINFOW info = ToolInfo(native.owner, nullptr, buffer.Data());
        if (!SendMessageW(native.tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&info)))
            return count;
        if (IsWindow(reinterpret_cast<HWND>(info.uId))) ++count;
    }
}

void BalloonToolTip::SetTipTextColor(ColorRef color) {
    m_native->color = color;
    if (m_native->tooltip != nullptr)
        SendMessageW(m_native->tooltip, TTM_SETTIPTEXTCOLOR, color, 0);
}

ColorRef BalloonToolTip::GetTipTextColor() const {
    if (m_native->tooltip == nullptr) return m_native->color;
    return static_cast<ColorRef>(SendMessageW(m_native->tooltip, TTM_GETTIPTEXTCOLOR, 0, 0));
}

void BalloonToolTip::SetDelayTime(int which, int milliseconds) {
    Native& native = *m_native;
    const auto time = [&](int kind) {
        return milliseconds < 0 ? DefaultDelay(kind) : milliseconds;
    };
    switch (which) {
        case TTDT_AUTOMATIC: {
            const int base = time(TTDT_INITIAL);
            native.initial = base;
            native.autoPop = base * 10;
            native.reshow = base / 5;
            break;
        }
        case TTDT_INITIAL:
            native.initial = time(which);
            break;
        case TTDT_AUTOPOP:
            native.autoPop = time(which);
            break;
        case TTDT_RESHOW:
            native.reshow = time(which);
            break;
        default:
            return;
    }
    // All three as reckoned here, so the times read the same before and
    // after the control exists.
    if (native.tooltip == nullptr) return;
    for (const auto& [kind, value] :
         {std::pair{TTDT_INITIAL, native.initial}, std::pair{TTDT_AUTOPOP, native.autoPop},
          std::pair{TTDT_RESHOW, native.reshow}})
        SendMessageW(native.tooltip, TTM_SETDELAYTIME, kind, value);
}

int BalloonToolTip::GetDelayTime(int which) const {
    const Native& native = *m_native;
    if (native.tooltip != nullptr)
        return static_cast<int>(SendMessageW(native.tooltip, TTM_GETDELAYTIME,
                                             which == TTDT_AUTOMATIC ? TTDT_INITIAL : which, 0));
    switch (which) {
        case TTDT_AUTOPOP:
            return native.autoPop;
        case TTDT_RESHOW:
            return native.reshow;
        default:
            return native.initial;
    }
}

void BalloonToolTip::Activate(bool active) {
    m_native->active = active;
    if (m_native->tooltip != nullptr) SendMessageW(m_native->tooltip, TTM_ACTIVATE, active, 0);
}

void BalloonToolTip::RelayEvent(const InputMessage& message) {
    const Native& native = *m_native;
    HWND target = ToolHwnd(message.window);
    if (native.tooltip == nullptr || target == nullptr) return;
    // The control reads the window the message is for, the pointer in that
    // window's client coordinates, and the pointer on the screen.
    POINT client{message.point.x, message.point.y};
    ScreenToClient(target, &client);
    MSG relayed{};
    relayed.hwnd = target;
    relayed.message = message.message;
    relayed.wParam = message.wParam;
    relayed.lParam = MAKELPARAM(client.x, client.y);
    relayed.time = static_cast<DWORD>(GetMessageTime());
    relayed.pt = POINT{message.point.x, message.point.y};
    SendMessageW(native.tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void BalloonToolTip::Pop() {
    if (m_native->tooltip != nullptr) SendMessageW(m_native->tooltip, TTM_POP, 0, 0);
}

bool BalloonToolTip::IsTipShown() const {
    return m_native->tooltip != nullptr && IsWindowVisible(m_native->tooltip);
}

Window* BalloonToolTip::CurrentTool() const {
    const Native& native = *m_native;
    if (native.tooltip == nullptr) return nullptr;
    TextBuffer buffer(native.longestText);
    TTTOOLINFOW info = ToolInfo(native.owner, nullptr, buffer.Data());
    if (!SendMessageW(native.tooltip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
        return nullptr;
    return win32::WindowOfHwnd(reinterpret_cast<HWND>(info.uId));
}

}  // namespace platform::window
