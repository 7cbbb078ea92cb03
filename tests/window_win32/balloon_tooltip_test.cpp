// Balloon tooltips on comctl32's tooltip control: tools added, replaced,
// updated and deleted with their texts as the control keeps them; the
// title, colour and delays reaching the control whenever they are set; a
// tip shown over the tool the pointer rests on after relayed moves; and the
// control's end with its object or with its owner's window.
#include <gtest/gtest.h>

#include "platform/window/win32/win32_api.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "platform/window/application.h"
#include "platform/window/balloon_tooltip.h"
#include "platform/window/win32/balloon_tooltip_native.h"
#include "platform/window/win32/hwnd_capture.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"
#include "tests/window/window_recorder.h"
#include "tests/window_win32/pump_until.h"

namespace {

using namespace platform::window;
using win32_test::PumpUntil;
using window_checks::Recorder;

// An owner window on screen with three child windows to be tools.
struct ToolWindows {
    ToolWindows() {
        EXPECT_TRUE(owner.Create(WS_VISIBLE, Rect::FromSize(60, 60, 300, 90)));
        int id = 101;
        int left = 10;
        for (Recorder& child : children) {
            EXPECT_TRUE(child.Create(WS_VISIBLE, Rect::FromSize(left, 20, 60, 50), &owner, id++));
            left += 90;
        }
    }
    // 0: the owner, 1 to 3: its children.
    Window* At(int index) {
        return index == 0 ? static_cast<Window*>(&owner) : &children[index - 1];
    }

    Recorder owner;
    std::array<Recorder, 3> children;
};

int ToolsInControl(BalloonToolTip& tips) {
    return static_cast<int>(SendMessageW(tips.GetNative().tooltip, TTM_GETTOOLCOUNT, 0, 0));
}

TEST(Win32BalloonToolTip, ToolsAddedReplacedAndDeletedKeepTheirTexts) {
    ToolWindows windows;
    BalloonToolTip tips;
    EXPECT_FALSE(tips.AddTool(windows.At(1), "before the control")) << "no control yet";
    ASSERT_TRUE(tips.Create(&windows.owner));
    EXPECT_FALSE(tips.AddTool(nullptr, "x"));

    struct Step {
        const char* name;
        std::function<void()> act;
        // Text of the owner and each child; empty: no tool.
        std::array<std::string, 4> texts;
        int count;      // what GetToolCount answers
        int inControl;  // tools the control holds, a gone one included
    };
    const Step steps[] = {
        {"a tool per window, UTF-8 and line feeds kept",
         [&] {
             EXPECT_TRUE(tips.AddTool(windows.At(1), "alpha"));
             EXPECT_TRUE(tips.AddTool(windows.At(2), "Empfänger \u2192 1\n zweite Zeile"));
             EXPECT_TRUE(tips.AddTool(windows.At(0), "the owner's own"));
         },
         {"the owner's own", "alpha", "Empfänger \u2192 1\n zweite Zeile", ""},
         3,
         3},
        {"adding again replaces the text",
         [&] { EXPECT_TRUE(tips.AddTool(windows.At(1), "alpha again")); },
         {"the owner's own", "alpha again", "Empfänger \u2192 1\n zweite Zeile", ""},
         3,
         3},
        {"updated texts; a window without tool gets none",
         [&] {
             tips.UpdateTipText("beta", windows.At(2));
             tips.UpdateTipText("nothing", windows.At(3));
         },
         {"the owner's own", "alpha again", "beta", ""},
         3,
         3},
        {"a deleted tool",
         [&] { tips.DelTool(windows.At(0)); },
         {"", "alpha again", "beta", ""},
         2,
         2},
        {"a tool whose window has gone counts no more",
         [&] {
             EXPECT_TRUE(tips.AddTool(windows.At(3), "gamma"));
             ::DestroyWindow(win32::HwndOf(*windows.At(3)));
         },
         {"", "alpha again", "beta", ""},
         2,
         3},
        {"and is deleted from the control when tools change",
         [&] { EXPECT_TRUE(tips.AddTool(windows.At(0), "back")); },
         {"back", "alpha again", "beta", ""},
         3,
         3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(tips.GetText(windows.At(i)), step.texts[i]);
            EXPECT_EQ(tips.HasTool(windows.At(i)), !step.texts[i].empty());
        }
        EXPECT_EQ(tips.GetToolCount(), step.count);
        EXPECT_EQ(ToolsInControl(tips), step.inControl);
    }
}

TEST(Win32BalloonToolTip, TitleColourAndDelaysReachTheControlWhenSetAndWhenMade) {
    const int base = static_cast<int>(GetDoubleClickTime());
    struct Delays {
        int which;
        int milliseconds;
        int initial, autoPop, reshow;  // afterwards
    };
    const Delays delays[] = {
        {TTDT_AUTOMATIC, 400, 400, 4000, 80},
        {TTDT_AUTOPOP, 8000, 400, 8000, 80},
        {TTDT_RESHOW, 0, 400, 8000, 0},
        {TTDT_INITIAL, 0, 0, 8000, 0},
        {TTDT_AUTOPOP, -1, 0, base * 10, 0},  // a negative time: the default
        {TTDT_INITIAL, -1, base, base * 10, 0},
        {TTDT_RESHOW, -1, base, base * 10, base / 5},
        {TTDT_AUTOMATIC, 250, 250, 2500, 50},
        {TTDT_AUTOMATIC, -1, base, base * 10, base / 5},
        {TTDT_INITIAL, 30, 30, base * 10, base / 5},
    };
    const auto expectDelays = [](const BalloonToolTip& tips, const Delays& d) {
        EXPECT_EQ(tips.GetDelayTime(TTDT_INITIAL), d.initial);
        EXPECT_EQ(tips.GetDelayTime(TTDT_AUTOPOP), d.autoPop);
        EXPECT_EQ(tips.GetDelayTime(TTDT_RESHOW), d.reshow);
    };
    for (const bool madeFirst : {true, false}) {
        SCOPED_TRACE(madeFirst ? "set on the control" : "set before the control is made");
        ToolWindows windows;
        BalloonToolTip tips;
        if (madeFirst) {
            ASSERT_TRUE(tips.Create(&windows.owner, TTS_ALWAYSTIP | TTS_BALLOON));
        }
        for (const Delays& d : delays) {
            SCOPED_TRACE(testing::Message() << "delay " << d.which << " " << d.milliseconds);
            tips.SetDelayTime(d.which, d.milliseconds);
            expectDelays(tips, d);
        }
        tips.SetTitle(TTI_WARNING, "Netzwerk \u2013 Einstellungen");
        tips.SetTipTextColor(Rgb(204, 48, 45));
        tips.Activate(false);
        if (!madeFirst) {
            ASSERT_TRUE(tips.Create(&windows.owner, TTS_ALWAYSTIP | TTS_BALLOON));
        }

        HWND tooltip = tips.GetNative().tooltip;
        expectDelays(tips, delays[std::size(delays) - 1]);
        EXPECT_EQ(GetWindowLongW(tooltip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_BALLOON),
                  static_cast<LONG>(TTS_ALWAYSTIP | TTS_BALLOON));
        EXPECT_EQ(GetWindow(tooltip, GW_OWNER), win32::HwndOf(windows.owner));
        // Windows breaks a tip's lines at its line feeds only once the control
        // has a maximum width (Wine does without): one as wide as the screen.
        EXPECT_EQ(SendMessageW(tooltip, TTM_GETMAXTIPWIDTH, 0, 0),
                  ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
        EXPECT_EQ(tips.GetTipTextColor(), Rgb(204, 48, 45));
        EXPECT_EQ(SendMessageW(tooltip, TTM_GETTIPTEXTCOLOR, 0, 0), Rgb(204, 48, 45));
        EXPECT_EQ(tips.GetTitle(), "Netzwerk \u2013 Einstellungen");
        EXPECT_EQ(tips.GetTitleIcon(), TTI_WARNING);
    }
}

constexpr ColorRef TIP_RED = Rgb(204, 48, 45);

// Whether the picture has pixels of TIP_RED, or of a blend of it with the
// light background where the text is smoothed.
bool ShowsRedText(const Image& picture) {
    const Size size = picture.GetSize();
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            Gdiplus::Color c;
            picture.Get()->bitmap->GetPixel(x, y, &c);
            if (c.GetR() > 150 && c.GetR() - c.GetG() > 60 && c.GetR() - c.GetB() > 60) return true;
        }
    }
    return false;
}

// Puts the pointer on the middle of `tool` and relays the move, as the
// owner's PreTranslateMessage does.
void RestOn(BalloonToolTip& tips, Window& tool) {
    const Rect rect = tool.GetWindowRect();
    const Point middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    SetCursorPos(middle.x, middle.y);
    tips.RelayEvent(InputMessage{&tool, WM_MOUSEMOVE, 0, middle});
}

TEST(Win32BalloonToolTip, ATipShowsOverTheToolThePointerRestsOn) {
    ToolWindows windows;
    BalloonToolTip tips;
    // Wine's control does not answer TTM_GETTITLE: the title is seen by the
    // room it takes in the tip. Set before the control is made.
    tips.SetTitle(TTI_INFO, "Network Configuration Dialog");
    ASSERT_TRUE(tips.Create(&windows.owner, TTS_ALWAYSTIP | TTS_BALLOON));
    ASSERT_TRUE(tips.AddTool(windows.At(1), "one line"));
    ASSERT_TRUE(tips.AddTool(windows.At(2), "first line\nsecond line\nthird line"));
    tips.SetDelayTime(TTDT_INITIAL, 0);
    tips.SetDelayTime(TTDT_RESHOW, 0);
    tips.SetDelayTime(TTDT_AUTOPOP, 30000);
    tips.SetTipTextColor(TIP_RED);

    // The control shows a tip only where the pointer really is.
    SetCursorPos(5, 5);
    POINT at{};
    if (!GetCursorPos(&at) || at.x != 5 || at.y != 5)
        GTEST_SKIP() << "the X server here does not let Wine move the pointer";

    // The third window is covered by a window of another class, as a
    // control's parts cover it (the IP address control's fields).
    RECT third;
    ::GetClientRect(win32::HwndOf(*windows.At(3)), &third);
    ASSERT_NE(
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, third.right, third.bottom,
                        win32::HwndOf(*windows.At(3)), nullptr, GetModuleHandleW(nullptr), nullptr),
        nullptr);

    HWND tooltip = tips.GetNative().tooltip;
    struct Case {
        const char* name;
        std::function<void()> act;
        Window* shownFor;  // null: no tip
        // The tip's height against the first one's (the title and a line).
        enum { First, Taller, Lower, Any } height = Any;
    };
    int firstHeight = 0;
    const Case cases[] = {
        {"resting on a tool", [&] { RestOn(tips, *windows.At(1)); }, windows.At(1), Case::First},
        {"a click puts the tip away",
         [&] {
             const Rect r = windows.At(1)->GetWindowRect();
             tips.RelayEvent(
                 InputMessage{windows.At(1), WM_LBUTTONDOWN, 0, {r.left + 3, r.top + 3}});
         },
         nullptr},
        {"another tool, its lines broken at the line feeds", [&] { RestOn(tips, *windows.At(2)); },
         windows.At(2), Case::Taller},
        {"a window without tool", [&] { RestOn(tips, *windows.At(3)); }, nullptr},
        {"back on a tool, the title taken away",
         [&] {
             tips.SetTitle(TTI_NONE, "");
             RestOn(tips, *windows.At(1));
         },
         windows.At(1), Case::Lower},
        {"over a part of a tool's window, a native child of it",
         [&] {
             ASSERT_TRUE(tips.AddTool(windows.At(3), "three"));
             RestOn(tips, *windows.At(3));
         },
         windows.At(3)},
        {"popped", [&] { tips.Pop(); }, nullptr},
        {"inactive",
         [&] {
             tips.Activate(false);
             RestOn(tips, *windows.At(3));
             RestOn(tips, *windows.At(2));
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        if (c.shownFor != nullptr) {
            ASSERT_TRUE(PumpUntil([&] { return tips.IsTipShown(); }));
            EXPECT_EQ(tips.CurrentTool(), c.shownFor);
            RECT tip;
            ::GetWindowRect(tooltip, &tip);
            const int height = tip.bottom - tip.top;
            EXPECT_TRUE(ShowsRedText(win32::CaptureHwnd(tooltip, CaptureMode::AsShown)))
                << "the text in the tip's colour";
            if (c.height == Case::First) firstHeight = height;
            if (c.height == Case::Taller) {
                EXPECT_GT(height, firstHeight + 10) << "three lines";
            } else if (c.height == Case::Lower) {
                EXPECT_LT(height, firstHeight - 5) << "no title";
            }
        } else {
            // The initial time is 0: a tip due would be up after these.
            PumpMessages(100);
            PumpMessages(100);
            EXPECT_FALSE(tips.IsTipShown());
            EXPECT_EQ(tips.CurrentTool(), nullptr);
        }
    }
}

TEST(Win32BalloonToolTip, TheControlEndsWithItsObjectOrWithItsOwnersWindow) {
    struct Case {
        const char* name;
        // Ends one of them; the tooltip object may be gone after.
        std::function<void(std::unique_ptr<BalloonToolTip>&, std::unique_ptr<Recorder>&)> end;
    };
    const Case cases[] = {
        {"the tooltip object goes first",
         [](std::unique_ptr<BalloonToolTip>& tips, std::unique_ptr<Recorder>&) { tips.reset(); }},
        {"the owner's window goes first",
         [](std::unique_ptr<BalloonToolTip>&, std::unique_ptr<Recorder>& owner) {
             ::DestroyWindow(win32::HwndOf(*owner));
         }},
        {"the owner object goes first",
         [](std::unique_ptr<BalloonToolTip>&, std::unique_ptr<Recorder>& owner) { owner.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto owner = std::make_unique<Recorder>();
        Recorder tool;
        ASSERT_TRUE(owner->Create(WS_VISIBLE, Rect::FromSize(10, 10, 100, 60)));
        ASSERT_TRUE(tool.Create(WS_VISIBLE, Rect::FromSize(100, 100, 30, 30)));
        auto tips = std::make_unique<BalloonToolTip>();
        ASSERT_TRUE(tips->Create(owner.get()));
        ASSERT_TRUE(tips->AddTool(&tool, "tool"));
        HWND tooltip = tips->GetNative().tooltip;
        ASSERT_TRUE(IsWindow(tooltip));

        c.end(tips, owner);
        EXPECT_FALSE(IsWindow(tooltip));
        if (tips) {
            // What is left answers as a tooltip that was never made.
            EXPECT_FALSE(tips->IsCreated());
            EXPECT_FALSE(tips->AddTool(&tool, "again"));
            EXPECT_EQ(tips->GetToolCount(), 0);
            EXPECT_EQ(tips->GetText(&tool), "");
            tips->RelayEvent(InputMessage{&tool, WM_MOUSEMOVE, 0, {110, 110}});
            tips->Pop();
            EXPECT_FALSE(tips->IsTipShown());
        }
    }
}

}  // namespace
