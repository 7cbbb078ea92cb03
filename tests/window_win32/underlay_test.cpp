// What lies beneath a child window (GrabUnderneath): the parent's own
// painting or its class background, and the siblings below the child in
// the Z order where they overlap it, a transparent one only where it
// paints; never the siblings above.
#include <gtest/gtest.h>

#include "platform/window/win32/win32_api.h"

#include <functional>
#include <memory>

#include "platform/window/application.h"
#include "platform/window/underlay.h"
#include "platform/window/win32/native_window.h"
#include "platform/window/win32/painting.h"

namespace {

using namespace platform::window;

constexpr ColorRef PARENT_RED = Rgb(200, 30, 30);
constexpr ColorRef BELOW_GREEN = Rgb(30, 180, 40);
constexpr ColorRef ABOVE_BLUE = Rgb(20, 40, 220);
constexpr ColorRef MARK_YELLOW = Rgb(240, 220, 10);

// Fills `area` of itself (all of it when empty) in one colour; a
// transparent one leaves the rest to what lies beneath.
class Fill : public Window {
  public:
    Fill(ColorRef color, bool transparent = false, Rect area = {}) : m_color(color), m_area(area) {
        if (transparent)
            SetPaintsTransparent();
        else
            SetPaintsItself(true);
    }

  protected:
    void OnPaint(DeviceContext& dc) override {
        dc.FillRect(m_area.IsEmpty() ? GetClientRect() : m_area, m_color);
    }

  private:
    ColorRef m_color;
    Rect m_area;
};

// A window of the backend that paints nothing itself: its class erases it.
class Unpainted : public Window {};

ColorRef UnderlayPixel(const Image& image, int x, int y) {
    Gdiplus::Color color;
    if (image.IsNull() || image.Get()->bitmap->GetPixel(x, y, &color) != Gdiplus::Ok) return 1;
    return Rgb(color.GetR(), color.GetG(), color.GetB());
}

ColorRef ButtonFace() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    return Rgb(GetRValue(face), GetGValue(face), GetBValue(face));
}

void StackBelow(const Window& window, HWND above) {
    SetWindowPos(win32::HwndOf(window), above, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TEST(Win32Underlay, ParentAndSiblingsBelowTheChildClippedToIt) {
    struct Expected {
        int x, y;          // in the child
        ColorRef painted;  // PARENT_RED: whatever the parent shows
        const char* what;
    };
    // The child stands at (40, 20) in the parent, 40 x 30; the sibling below
    // covers its (0..19, 0..9), the one above its (20..39, 15..29), the
    // transparent one below its (2..11, 22..29) and paints (2..5, 22..25).
    const Expected pixels[] = {
        {0, 0, BELOW_GREEN, "the sibling below, at the child's corner"},
        {19, 9, BELOW_GREEN, "the sibling below, at its own corner"},
        {20, 9, PARENT_RED, "right of the sibling below"},
        {19, 10, PARENT_RED, "under the sibling below"},
        {39, 0, PARENT_RED, "the parent, top right"},
        {25, 20, PARENT_RED, "under the sibling above: not the sibling itself"},
        {39, 29, PARENT_RED, "the parent, bottom right"},
        {2, 22, MARK_YELLOW, "what the transparent sibling paints"},
        {5, 25, MARK_YELLOW, "what the transparent sibling paints, its far corner"},
        {9, 27, PARENT_RED, "where the transparent sibling paints nothing"},
    };
    struct Parent {
        const char* name;
        std::function<std::unique_ptr<Window>()> make;
        ColorRef shows;
    };
    const Parent parents[] = {
        {"a parent that paints itself", [] { return std::make_unique<Fill>(PARENT_RED); },
         PARENT_RED},
        {"a parent its class erases", [] { return std::make_unique<Unpainted>(); }, ButtonFace()},
    };
    for (const Parent& p : parents) {
        SCOPED_TRACE(p.name);
        std::unique_ptr<Window> parent = p.make();
        Fill child(Rgb(1, 2, 3));
        Fill below(BELOW_GREEN);
        Fill above(ABOVE_BLUE);
        Fill transparent(MARK_YELLOW, true, Rect{0, 0, 4, 4});
        Fill away(ABOVE_BLUE);
        ASSERT_TRUE(parent->Create(WS_VISIBLE, Rect::FromSize(30, 30, 120, 80)));
        ASSERT_TRUE(child.Create(WS_VISIBLE, Rect::FromSize(40, 20, 40, 30), parent.get(), 1));
        ASSERT_TRUE(below.Create(WS_VISIBLE, Rect::FromSize(20, 10, 40, 20), parent.get(), 2));
        ASSERT_TRUE(above.Create(WS_VISIBLE, Rect::FromSize(60, 35, 40, 40), parent.get(), 3));
        ASSERT_TRUE(transparent.Create(WS_VISIBLE, Rect::FromSize(42, 42, 10, 8), parent.get(), 4));
        ASSERT_TRUE(away.Create(WS_VISIBLE, Rect::FromSize(0, 60, 20, 20), parent.get(), 5));
        // Top to bottom: above, child, below, transparent, away.
        SetWindowPos(win32::HwndOf(above), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        StackBelow(child, win32::HwndOf(above));
        StackBelow(below, win32::HwndOf(child));
        StackBelow(transparent, win32::HwndOf(below));
        StackBelow(away, win32::HwndOf(transparent));

        const Image beneath = GrabUnderneath(child);
        ASSERT_EQ(beneath.GetSize(), (Size{40, 30}));
        for (const Expected& e : pixels) {
            SCOPED_TRACE(e.what);
            EXPECT_EQ(UnderlayPixel(beneath, e.x, e.y),
                      e.painted == PARENT_RED ? p.shows : e.painted);
        }
    }
}

TEST(Win32Underlay, WithoutParentOrWindow) {
    Unpainted alone;
    ASSERT_TRUE(alone.Create(0, Rect::FromSize(0, 0, 12, 7)));
    const Image filled = GrabUnderneath(alone);
    ASSERT_EQ(filled.GetSize(), (Size{12, 7}));
    EXPECT_EQ(UnderlayPixel(filled, 0, 0), ButtonFace()) << "the window's own background";
    EXPECT_EQ(UnderlayPixel(filled, 11, 6), ButtonFace());

    Unpainted never;
    EXPECT_TRUE(GrabUnderneath(never).IsNull());
    Unpainted empty;
    ASSERT_TRUE(empty.Create(WS_CHILD, Rect::FromSize(0, 0, 0, 5), &alone, 1));
    EXPECT_TRUE(GrabUnderneath(empty).IsNull());
}

}  // namespace
