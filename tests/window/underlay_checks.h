// What every backend's GrabUnderneath must give, checked the same way on
// each: beneath a child, the parent's own painting (or its plain
// background) and the siblings below the child where they overlap it, a
// transparent one only where it paints, never the siblings above; a window
// without parent in its background colour; nothing for a window without
// native window or area.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/window/image.h"
#include "platform/window/styles.h"
#include "platform/window/underlay.h"
#include "platform/window/window.h"

namespace underlay_checks {

using namespace platform::window;

// How a backend reads a pixel of one of its images, as a colour.
using ColorAt = std::function<ColorRef(const Image& image, int x, int y)>;

inline constexpr ColorRef PARENT_RED = Rgb(200, 30, 30);
inline constexpr ColorRef BELOW_GREEN = Rgb(30, 180, 40);
inline constexpr ColorRef ABOVE_BLUE = Rgb(20, 40, 220);
inline constexpr ColorRef MARK_YELLOW = Rgb(240, 220, 10);

// Fills `area` of itself (all of it when empty) in one colour; a
// transparent one leaves the rest to what lies beneath.
class Fill : public Window {
  public:
    explicit Fill(ColorRef color, bool transparent = false, Rect area = {})
        : m_color(color), m_area(area) {
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

// A window that paints nothing itself: the window system gives it its
// plain background.
class Unpainted : public Window {};

// `plain`: the colour the backend gives a window that paints nothing.
inline void ExpectParentAndSiblingsBelowTheChild(const ColorAt& colorAt, ColorRef plain) {
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
        {"a parent that paints nothing", [] { return std::make_unique<Unpainted>(); }, plain},
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
        for (Window* raised : {static_cast<Window*>(&away), static_cast<Window*>(&transparent),
                               static_cast<Window*>(&below), static_cast<Window*>(&child),
                               static_cast<Window*>(&above)})
            raised->BringWindowToTop();

        const Image beneath = GrabUnderneath(child);
        ASSERT_EQ(beneath.GetSize(), (Size{40, 30}));
        for (const Expected& e : pixels) {
            SCOPED_TRACE(e.what);
            EXPECT_EQ(colorAt(beneath, e.x, e.y), e.painted == PARENT_RED ? p.shows : e.painted);
        }
    }
}

inline void ExpectWithoutParentOrWindow(const ColorAt& colorAt, ColorRef plain) {
    Unpainted alone;
    ASSERT_TRUE(alone.Create(0, Rect::FromSize(0, 0, 12, 7)));
    const Image filled = GrabUnderneath(alone);
    ASSERT_EQ(filled.GetSize(), (Size{12, 7}));
    EXPECT_EQ(colorAt(filled, 0, 0), plain) << "the window's own background";
    EXPECT_EQ(colorAt(filled, 11, 6), plain);

    Unpainted never;
    EXPECT_TRUE(GrabUnderneath(never).IsNull());
    Unpainted empty;
    ASSERT_TRUE(empty.Create(WS_CHILD, Rect::FromSize(0, 0, 0, 5), &alone, 1));
    EXPECT_TRUE(GrabUnderneath(empty).IsNull());
}

}  // namespace underlay_checks
